#pragma once
#include <filesystem>
#include <string>

#include <QColor>
#include <QImage>
#include <QSize>
#include <QTemporaryDir>

#include "skin/SkinLayout.h"

namespace orv::testing {

// A skin folder in a temporary directory, with pictures drawn by the test. Every picture of a
// page is one flat colour, so a pixel shows which picture it was copied from.
class SyntheticSkin {
public:
    explicit SyntheticSkin(QSize size = {240, 160});

    std::filesystem::path AppDirectory() const;
    std::filesystem::path SkinDirectory() const;
    QSize Size() const { return size_; }

    // Writes name (for example "main_over.jpg") below the skin folder as a JPG.
    void WritePicture(const std::string& name, const QImage& picture) const;
    void WriteFlatPicture(const std::string& name, QColor colour) const;
    // All pages' normal, over and down pictures in the colours below, and an all-dark mask.
    void WriteAllPictures() const;

    // The four description files of the language, holding the layout's regions, function
    // names and control rectangles.
    void WriteDescriptionFiles(const SkinLayout& layout, Language language) const;

    static QColor Normal() { return {40, 40, 40}; }
    static QColor Over() { return {0, 200, 0}; }
    static QColor Down() { return {230, 230, 40}; }
    static QColor Gray() { return {120, 120, 120}; }
    static QColor Blue() { return {0, 120, 240}; }

private:
    QTemporaryDir dir_;
    QSize size_;
};

// JPG pictures are not exact: colours within a small distance count as equal.
bool NearColour(QColor actual, QColor expected, int tolerance = 12);

// Empty when two pictures with transparency show the same: of one size, and compared as they
// are drawn (premultiplied), each channel at most one step apart. Qt converts between its
// formats along a path chosen for the processor, and the paths round differently. Otherwise
// where they differ first, for the failure message.
QString PictureDifference(const QImage& actual, const QImage& expected);

}  // namespace orv::testing
