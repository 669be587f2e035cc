#include "skin/PictureDensity.h"

namespace orv {

std::filesystem::path HighDensityPicture(const std::filesystem::path& picture) {
    std::filesystem::path dense = picture;
    dense.replace_filename(picture.stem().native() + std::filesystem::path("@2x").native() +
                           picture.extension().native());
    return dense;
}

}  // namespace orv
