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
    // The picture for drawing at devicePixelRatio device pixels per layout pixel, or a null image
    // when the file is missing or not a picture. Above 1 the skin's NAME@2x picture is taken where
    // it has one, brought to the ratio's pixels when that is not 2 and marked with the ratio, so
    // that it draws pixel for pixel at the layout's size; a skin without it gives the picture
    // itself, which painters scale up as before. The @2x files are only read above 1.
    const QImage& Get(const std::filesystem::path& file, qreal devicePixelRatio = 1.0);
    // Forgets every decoded picture; the next Get decodes its file again. References that Get
    // returned are no longer valid.
    void Clear() { entries_.clear(); }
    // Pictures decoded and held now.
    size_t Held() const;

private:
    struct Entry {
        QImage image;
        std::filesystem::path source;  // the file decoded: the picture or its @2x version
        qreal devicePixelRatio = 1.0;
        QDateTime modified;
        QDateTime changed;
        qint64 size = -1;
        bool exists = false;
    };
    std::map<std::filesystem::path, Entry> entries_;
};

}  // namespace orv
