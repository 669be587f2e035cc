#pragma once
#include <filesystem>
#include <map>

#include <QDateTime>
#include <QImage>

namespace orv {

// Decoded skin pictures, kept between paints. A file is decoded again as soon as it changes
// on disk (time, size or a replacing rename), so an edited skin shows from the next paint on.
class PictureCache {
public:
    // The picture, or a null image when the file is missing or not a picture.
    const QImage& Get(const std::filesystem::path& file);
    // Forgets every decoded picture; the next Get decodes its file again. References that Get
    // returned are no longer valid.
    void Clear() { entries_.clear(); }
    // Pictures decoded and held now.
    size_t Held() const;

private:
    struct Entry {
        QImage image;
        QDateTime modified;
        QDateTime changed;
        qint64 size = -1;
        bool exists = false;
    };
    std::map<std::filesystem::path, Entry> entries_;
};

}  // namespace orv
