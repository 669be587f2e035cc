#include "SyntheticSkin.h"

#include <cstdlib>

#include <QDir>
#include <QString>

namespace orv::testing {

SyntheticSkin::SyntheticSkin(QSize size) : size_(size)
{
    QDir(dir_.path()).mkpath("skins");
}

std::filesystem::path SyntheticSkin::AppDirectory() const
{
    return std::filesystem::path(dir_.path().toStdString());
}

std::filesystem::path SyntheticSkin::SkinDirectory() const
{
    return AppDirectory() / "skins";
}

void SyntheticSkin::WritePicture(const std::string& name, const QImage& picture) const
{
    const auto path = SkinDirectory() / name;
    picture.save(QString::fromStdString(path.string()), "JPG", 100);
}

void SyntheticSkin::WriteFlatPicture(const std::string& name, QColor colour) const
{
    QImage picture(size_, QImage::Format_RGB32);
    picture.fill(colour);
    WritePicture(name, picture);
}

void SyntheticSkin::WriteAllPictures() const
{
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

bool NearColour(QColor actual, QColor expected, int tolerance)
{
    return std::abs(actual.red() - expected.red()) <= tolerance &&
           std::abs(actual.green() - expected.green()) <= tolerance &&
           std::abs(actual.blue() - expected.blue()) <= tolerance;
}

}  // namespace orv::testing
