#include "IconWriter.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QSvgGenerator>

#include "SkinPainter.h"
#include "common/Utf.h"
#include "skin/PictureDensity.h"

namespace orv::skin {

namespace {

// Windows picks the size it needs from these; 256 is the largest an icon resource holds.
const int kWindowsSizes[] = {16, 20, 24, 32, 40, 48, 64, 256};
constexpr int kSvgSize = 256;

QString FilePath(const std::filesystem::path& dir, const QString& name);
bool Save(const QString& path, const QByteArray& bytes, QString& error);
QByteArray PngBytes(const QImage& image);
QByteArray Svg();
QByteArray Ico();

}  // namespace

bool WriteIconFiles(const std::filesystem::path& iconDir, QString& error) {
    std::error_code code;
    std::filesystem::create_directories(iconDir, code);
    const QList<int> sizes = IconSizes();
    const QStringList names = IconPictureNames(1);
    const QStringList denseNames = IconPictureNames(kHighDensityScale);
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        if (!Save(FilePath(iconDir, names[i]), PngBytes(PaintIcon(sizes[i], 1)), error) ||
            !Save(FilePath(iconDir, denseNames[i]), PngBytes(PaintIcon(sizes[i], kHighDensityScale)), error)) {
            return false;
        }
    }
    return Save(FilePath(iconDir, QString::fromLatin1(kScalableIconName)), Svg(), error) &&
           Save(FilePath(iconDir, QString::fromLatin1(kWindowsIconName)), Ico(), error);
}

QList<int> IconSizes() { return {16, 22, 24, 32, 48, 64, 128, 256}; }

QStringList IconPictureNames(int scale) {
    QStringList names;
    for (int size : IconSizes()) {
        names << (scale == 1 ? QStringLiteral("orv-gmouse-%1.png").arg(size)
                             : QStringLiteral("orv-gmouse-%1@%2x.png").arg(size).arg(scale));
    }
    return names;
}

QImage PaintIcon(int size, int scale) {
    QImage image(size * scale, size * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter p(&image);
    PaintProgramIcon(p, size);
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

namespace {

QString FilePath(const std::filesystem::path& dir, const QString& name) {
    return QString::fromStdString(PathToUtf8(dir / PathFromUtf8(name.toStdString())));
}

bool Save(const QString& path, const QByteArray& bytes, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    return true;
}

QByteArray PngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// The same painting, recorded as vector drawing for the scalable theme folder.
QByteArray Svg() {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(kSvgSize, kSvgSize));
    generator.setViewBox(QRect(0, 0, kSvgSize, kSvgSize));
    generator.setTitle(QStringLiteral("ORV_GMouse"));
    QPainter p(&generator);
    PaintProgramIcon(p, kSvgSize);
    p.end();
    return bytes;
}

void PutLittleEndian(QByteArray& bytes, uint32_t value, int width) {
    for (int i = 0; i < width; ++i) {
        bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

// An icon file: a directory of entries, each image stored as PNG, which every Windows since
// Vista reads and resource compilers copy as they are.
QByteArray Ico() {
    QList<QByteArray> images;
    for (int size : kWindowsSizes) {
        images << PngBytes(PaintIcon(size, 1));
    }
    QByteArray file;
    PutLittleEndian(file, 0, 2);  // reserved
    PutLittleEndian(file, 1, 2);  // type: icon
    PutLittleEndian(file, static_cast<uint32_t>(images.size()), 2);
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        const int size = kWindowsSizes[i];
        file.append(static_cast<char>(size >= 256 ? 0 : size));  // 0 stands for 256
        file.append(static_cast<char>(size >= 256 ? 0 : size));
        PutLittleEndian(file, 0, 1);   // no palette
        PutLittleEndian(file, 0, 1);   // reserved
        PutLittleEndian(file, 1, 2);   // colour planes
        PutLittleEndian(file, 32, 2);  // bits per pixel
        PutLittleEndian(file, static_cast<uint32_t>(images[i].size()), 4);
        PutLittleEndian(file, offset, 4);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const QByteArray& image : images) {
        file.append(image);
    }
    return file;
}

}  // namespace

}  // namespace orv::skin
