#include "ui/PictureCache.h"

#include <QFileInfo>
#include <QString>

#include "common/Utf.h"

namespace orv {

const QImage& PictureCache::Get(const std::filesystem::path& file) {
    QFileInfo info(QString::fromStdString(PathToUtf8(file)));
    Entry& entry = entries_[file];
    const bool exists = info.exists();
    const QDateTime modified = exists ? info.lastModified() : QDateTime();
    // The status-change time moves on every replace, even one that keeps the old mtime.
    const QDateTime changed = exists ? info.metadataChangeTime() : QDateTime();
    const qint64 size = exists ? info.size() : -1;
    if (entry.exists != exists || entry.modified != modified || entry.changed != changed || entry.size != size ||
        (exists && entry.image.isNull())) {
        entry.image = exists ? QImage(info.filePath()) : QImage();
        entry.exists = exists;
        entry.modified = modified;
        entry.changed = changed;
        entry.size = size;
    }
    return entry.image;
}

size_t PictureCache::Held() const {
    size_t held = 0;
    for (const auto& [file, entry] : entries_)
        held += entry.image.isNull() ? 0 : 1;
    return held;
}

}  // namespace orv
