#include "SyntheticSkin.h"

#include <algorithm>
#include <cstdlib>

#include <QDir>
#include <QString>

#include "common/IniFile.h"

namespace orv::testing {

SyntheticSkin::SyntheticSkin(QSize size) : size_(size) { QDir(dir_.path()).mkpath("skins"); }

std::filesystem::path SyntheticSkin::AppDirectory() const { return std::filesystem::path(dir_.path().toStdString()); }

std::filesystem::path SyntheticSkin::SkinDirectory() const { return AppDirectory() / "skins"; }

void SyntheticSkin::WritePicture(const std::string& name, const QImage& picture) const {
    const auto path = SkinDirectory() / name;
    picture.save(QString::fromStdString(path.string()), "JPG", 100);
}

void SyntheticSkin::WriteFlatPicture(const std::string& name, QColor colour) const {
    QImage picture(size_, QImage::Format_RGB32);
    picture.fill(colour);
    WritePicture(name, picture);
}

void SyntheticSkin::WriteAllPictures() const {
    for (const char* page : {"main", "advanced"}) {
        WriteFlatPicture(std::string(page) + "_normal.jpg", Normal());
        WriteFlatPicture(std::string(page) + "_over.jpg", Over());
        WriteFlatPicture(std::string(page) + "_down.jpg", Down());
    }
    WriteFlatPicture("color_normal_pink.jpg", Normal());
    WriteFlatPicture("color_over_red.jpg", Over());
    WriteFlatPicture("color_down_purple.jpg", Down());
    WriteFlatPicture("color_normal_gray.jpg", Gray());
    WriteFlatPicture("color_over_blue.jpg", Blue());
    WriteFlatPicture("main_mask.jpg", QColor(0, 0, 0));
}

namespace {

std::string RegionValue(const SkinRegion& r) {
    return std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.width) + "," +
           std::to_string(r.height) + "," + r.label + ",";
}

std::string RectValue(const SkinRect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right - r.left) + "," +
           std::to_string(r.bottom - r.top) + ",";
}

template <typename Table>
void WriteRegions(const std::filesystem::path& file, const Table& regions) {
    for (size_t i = 0; i < regions.size(); ++i)
        ini::Write(file, "BUTTONPOS", std::to_string(i), RegionValue(regions[i]));
}

}  // namespace

void SyntheticSkin::WriteDescriptionFiles(const SkinLayout& layout, Language language) const {
    const auto dir = SkinDirectory();
    std::filesystem::create_directories(dir / (language.IsEnglish() ? "INI_EN" : "INI_CN"));
    const auto main = SkinFilePath(dir, SkinFile::Main, language);
    WriteRegions(main, layout.MainRegions);
    for (size_t code = 1; code < layout.FunctionNames.size(); ++code)
        ini::Write(main, "FUN_STRING", std::to_string(code), layout.FunctionNames[code] + ",");
    WriteRegions(SkinFilePath(dir, SkinFile::Color, language), layout.ColorRegions);
    const auto advanced = SkinFilePath(dir, SkinFile::Advanced, language);
    WriteRegions(advanced, layout.AdvancedRegions);
    ini::Write(advanced, "EDIT", "3", RectValue(layout.ControlRects[kRepeatCountEditRect]));
    ini::Write(advanced, "EDIT", "4", RectValue(layout.ControlRects[kMacroNameEditRect]));
    ini::Write(advanced, "MACRODISPLAY", "1", RectValue(layout.ControlRects[kMacroListRect]));
    ini::Write(advanced, "MACRODISPLAY", "2", RectValue(layout.ControlRects[kEventListRect]));
    WriteRegions(SkinFilePath(dir, SkinFile::Warning, language), layout.WarningRegions);
}

bool NearColour(QColor actual, QColor expected, int tolerance) {
    return std::abs(actual.red() - expected.red()) <= tolerance &&
           std::abs(actual.green() - expected.green()) <= tolerance &&
           std::abs(actual.blue() - expected.blue()) <= tolerance;
}

QString PictureDifference(const QImage& actual, const QImage& expected) {
    if (actual.size() != expected.size())
        return QStringLiteral("sizes differ");
    const QImage a = actual.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage e = expected.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = e.pixel(x, y);
            const int apart = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                        std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
            if (apart > 1)
                return QStringLiteral("at %1,%2: %3, expected %4")
                    .arg(x)
                    .arg(y)
                    .arg(p, 8, 16, QLatin1Char('0'))
                    .arg(q, 8, 16, QLatin1Char('0'));
        }
    }
    return {};
}

}  // namespace orv::testing
