#pragma once
#include <filesystem>

namespace orv {

// Device pixels per layout pixel of a skin's second set of pictures: NAME@2x.EXT beside each
// NAME.EXT, drawn for dense screens from the same description, in the same layout coordinates.
inline constexpr int kHighDensityScale = 2;

// The dense screens' version of a picture: "main_normal.jpg" -> "main_normal@2x.jpg", in the same
// folder.
std::filesystem::path HighDensityPicture(const std::filesystem::path& picture);

}  // namespace orv
