#pragma once
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <filesystem>

namespace orv::skin {

// Writes the program's icon files into iconDir, replacing what is there: the scalable picture
// orv-gmouse.svg, orv-gmouse-N.png and orv-gmouse-N@2x.png for each size of IconSizes() and
// orv-gmouse.ico for the Windows executables. Returns false with a reason when a file cannot be
// written.
bool WriteIconFiles(const std::filesystem::path& iconDir, QString& error);

// The pixel sizes drawn as PNG: the hicolor theme's usual sizes, 16 to 256.
QList<int> IconSizes();
// "orv-gmouse-16.png" and so on, in the order of IconSizes(); scale 2: "orv-gmouse-16@2x.png".
QStringList IconPictureNames(int scale);
inline constexpr const char* kScalableIconName = "orv-gmouse.svg";
inline constexpr const char* kWindowsIconName = "orv-gmouse.ico";

// The icon of size layout pixels, drawn with scale device pixels to each, as its PNG file holds it.
QImage PaintIcon(int size, int scale);

}  // namespace orv::skin
