#include "ui/PictureCache.h"

#include <cmath>

#include <QFileInfo>
#include <QString>

#include "common/Utf.h"
#include "skin/PictureDensity.h"

namespace orv {

namespace {

QFileInfo Info(const std::filesystem::path& file) { return QFileInfo(QString::fromStdString(PathToUtf8(file))); }

// A dense picture at another ratio than its own is resampled once here, where Qt's smooth
// scaling averages the pixels, rather than at every paint, where it would only interpolate.
QImage AtRatio(QImage dense, qreal devicePixelRatio) {
    if (dense.isNull())
        return dense;
    if (devicePixelRatio != kHighDensityScale) {
        const QSize size(static_cast<int>(std::lround(dense.width() * devicePixelRatio / kHighDensityScale)),
                         static_cast<int>(std::lround(dense.height() * devicePixelRatio / kHighDensityScale)));
        dense = dense.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    dense.setDevicePixelRatio(devicePixelRatio);
    return dense;
}

}  // namespace

const QImage& PictureCache::Get(const std::filesystem::path& file, qreal devicePixelRatio) {
    if (!(devicePixelRatio > 1.0))
        devicePixelRatio = 1.0;
    Entry& entry = entries_[file];
    std::filesystem::path source = file;
    QFileInfo info;
    if (devicePixelRatio > 1.0) {
        source = HighDensityPicture(file);
        info = Info(source);
        if (!info.exists())
            source = file;
    }
    if (source == file)
        info = Info(file);
    const bool exists = info.exists();
    const QDateTime modified = exists ? info.lastModified() : QDateTime();
    // The status-change time moves on every replace, even one that keeps the old mtime.
    const QDateTime changed = exists ? info.metadataChangeTime() : QDateTime();
    const qint64 size = exists ? info.size() : -1;
    if (entry.source != source || entry.devicePixelRatio != devicePixelRatio || entry.exists != exists ||
        entry.modified != modified || entry.changed != changed || entry.size != size ||
        (exists && entry.image.isNull())) {
        QImage image = exists ? QImage(info.filePath()) : QImage();
        if (source != file)
            image = AtRatio(std::move(image), devicePixelRatio);
        // A dense picture that cannot be read leaves the ordinary one, as a skin without it does.
        if (image.isNull() && source != file)
            image = QImage(Info(file).filePath());
        entry.image = std::move(image);
        entry.source = source;
        entry.devicePixelRatio = devicePixelRatio;
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
