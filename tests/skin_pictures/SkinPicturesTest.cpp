#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <cstdlib>
#include <vector>

#include "DataWriter.h"
#include "IconWriter.h"
#include "PictureMeasures.h"
#include "common/Utf.h"
#include "fakes/RecordingMessages.h"
#include "skin/Regions.h"
#include "skin/SkinLayout.h"

namespace orv {
namespace {

using namespace region;

const QString kData = QStringLiteral(ORV_SOURCE_DIR "/data");
const QString kIcons = QStringLiteral(ORV_SOURCE_DIR "/packaging/icons");
const QString kSkins = kData + QStringLiteral("/skins");

QImage Picture(const QString& name) {
    QImage image(kSkins + "/" + name);
    EXPECT_FALSE(image.isNull()) << qPrintable(name);
    return image.convertToFormat(QImage::Format_RGB32);
}

bool Light(QRgb px) { return qRed(px) > 100 && qGreen(px) > 100 && qBlue(px) > 100; }

SkinLayout Layout() {
    SkinLayout layout;
    test::RecordingMessages messages;
    EXPECT_TRUE(LoadSkin(PathFromUtf8(kSkins.toStdString()), Language::English(), layout, messages, "ORV_GMouse"));
    for (const auto& [caption, text] : messages.shown) {
        ADD_FAILURE() << text;
    }
    return layout;
}

QRect Rect(const SkinRegion& r) { return QRect(r.x, r.y, r.width, r.height); }

// Share of the region's pixels where the two pictures differ by more than a JPG's noise.
double Changed(const QImage& a, const QImage& b, const QRect& r) {
    int changed = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            const int d = std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
            changed += d > 60 ? 1 : 0;
        }
    }
    return static_cast<double>(changed) / (r.width() * r.height());
}

TEST(SkinPictures, GeneratorOutputEqualsTheShippedFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QString error;
    ASSERT_TRUE(skin::WriteDataFiles(PathFromUtf8(dir.path().toStdString()), error)) << qPrintable(error);
    for (const QString& name : skin::TextFileNames()) {
        QFile shipped(kData + "/" + name);
        QFile fresh(dir.path() + "/" + name);
        ASSERT_TRUE(shipped.open(QIODevice::ReadOnly)) << qPrintable(name);
        ASSERT_TRUE(fresh.open(QIODevice::ReadOnly)) << qPrintable(name);
        EXPECT_TRUE(shipped.readAll() == fresh.readAll()) << qPrintable(name) << " differs: run orv-skingen data";
    }
    for (int scale : {1, 2}) {
        for (const QString& name : skin::PictureNames(scale)) {
            const QImage shipped = Picture(name);
            const QImage fresh = QImage(dir.path() + "/skins/" + name).convertToFormat(QImage::Format_RGB32);
            ASSERT_EQ(shipped.size(), fresh.size()) << qPrintable(name);
            // Another JPG library may round differently; a moved or restyled region cannot hide.
            EXPECT_LT(Changed(shipped, fresh, shipped.rect()), 0.0005)
                << qPrintable(name) << " differs: run orv-skingen data";
        }
    }
}

// The dense screens' pictures are the same skin at twice the pixels: brought down to the layout's
// size they show what the ordinary ones show, colour for colour and edge for edge.
TEST(SkinPictures, DensePicturesShowTheSameSkinAtTwiceThePixels) {
    const QStringList names = skin::PictureNames(1);
    const QStringList dense = skin::PictureNames(2);
    ASSERT_EQ(names.size(), dense.size());
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QImage picture = Picture(names[i]);
        const QImage twice = Picture(dense[i]);
        ASSERT_EQ(twice.size(), picture.size() * 2) << qPrintable(dense[i]);
        const QImage down = twice.scaled(picture.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_LT(testing::MeanDifference(down, picture), 4.0) << qPrintable(dense[i]);
    }
}

// What a renderer shows of an SVG file, for comparing drawings rather than the text.
QImage Rendered(const QString& svgFile) {
    QSvgRenderer renderer(svgFile);
    EXPECT_TRUE(renderer.isValid()) << qPrintable(svgFile);
    QImage image(128, 128, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    renderer.render(&p);
    return image;
}

// The images of an icon file that stores each one as PNG.
std::vector<QImage> IcoImages(const QByteArray& ico) {
    auto number = [&](qsizetype at, int width) {
        uint32_t value = 0;
        for (int i = width - 1; i >= 0; --i) {
            value = (value << 8) | static_cast<uint8_t>(ico[at + i]);
        }
        return value;
    };
    std::vector<QImage> images;
    if (ico.size() < 6 || number(0, 2) != 0 || number(2, 2) != 1) {
        return images;
    }
    for (uint32_t i = 0; i < number(4, 2); ++i) {
        const qsizetype entry = 6 + 16 * static_cast<qsizetype>(i);
        images.push_back(QImage::fromData(ico.mid(number(entry + 12, 4), number(entry + 8, 4)), "PNG"));
    }
    return images;
}

double ChangedArgb(const QImage& a, const QImage& b) {
    return Changed(a.convertToFormat(QImage::Format_ARGB32), b.convertToFormat(QImage::Format_ARGB32), a.rect());
}

TEST(SkinPictures, GeneratorOutputEqualsTheCommittedIcons) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QString error;
    ASSERT_TRUE(skin::WriteIconFiles(PathFromUtf8(dir.path().toStdString()), error)) << qPrintable(error);
    const QList<int> sizes = skin::IconSizes();
    for (int scale : {1, 2}) {
        const QStringList names = skin::IconPictureNames(scale);
        for (qsizetype i = 0; i < names.size(); ++i) {
            const QImage shipped(kIcons + "/" + names[i]);
            const QImage fresh(dir.path() + "/" + names[i]);
            ASSERT_EQ(shipped.size(), QSize(sizes[i], sizes[i]) * scale) << qPrintable(names[i]);
            ASSERT_TRUE(shipped.hasAlphaChannel()) << qPrintable(names[i]);
            EXPECT_LT(ChangedArgb(shipped, fresh), 0.002) << qPrintable(names[i]) << " differs: run orv-skingen";
        }
    }
    const QString svg = QString::fromLatin1(skin::kScalableIconName);
    EXPECT_LT(ChangedArgb(Rendered(kIcons + "/" + svg), Rendered(dir.path() + "/" + svg)), 0.002)
        << "the scalable icon differs: run orv-skingen";

    QFile shippedIco(kIcons + "/" + QString::fromLatin1(skin::kWindowsIconName));
    QFile freshIco(dir.path() + "/" + QString::fromLatin1(skin::kWindowsIconName));
    ASSERT_TRUE(shippedIco.open(QIODevice::ReadOnly) && freshIco.open(QIODevice::ReadOnly));
    const std::vector<QImage> shippedImages = IcoImages(shippedIco.readAll());
    const std::vector<QImage> freshImages = IcoImages(freshIco.readAll());
    ASSERT_EQ(shippedImages.size(), freshImages.size());
    ASSERT_FALSE(shippedImages.empty());
    EXPECT_EQ(shippedImages.back().size(), QSize(256, 256));
    for (size_t i = 0; i < shippedImages.size(); ++i) {
        ASSERT_FALSE(shippedImages[i].isNull()) << i;
        ASSERT_EQ(shippedImages[i].size(), freshImages[i].size()) << i;
        EXPECT_LT(ChangedArgb(shippedImages[i], freshImages[i]), 0.002) << "icon image " << i << " differs";
    }
}

// The icon must read at the notification area's size and match the skin: transparent where the
// plate's corners are cut, opaque inside, and the cyan emblem in the middle.
TEST(SkinPictures, IconKeepsTheSkinsShapeAndColoursAtEverySize) {
    for (int size : skin::IconSizes()) {
        const QImage icon = skin::PaintIcon(size, 1);
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << size << ": the top-left corner is cut";
        EXPECT_EQ(qAlpha(icon.pixel(size - 1, size - 1)), 0) << size << ": the bottom-right corner is cut";
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 8)), 255) << size;
        int emblem = 0;
        for (int y = size / 4; y < size * 3 / 4; ++y) {
            for (int x = size / 4; x < size * 3 / 4; ++x) {
                const QColor c = QColor::fromRgba(icon.pixel(x, y));
                emblem += c.blue() > 200 && c.green() > 150 && c.red() < 180 ? 1 : 0;
            }
        }
        EXPECT_GT(emblem, (size / 2) * (size / 2) / 8) << size << ": the emblem is too faint";
    }
}

TEST(SkinPictures, EveryPictureHasTheSizeOfItsMask) {
    const QSize window = Picture("main_mask.jpg").size();
    EXPECT_EQ(window, QSize(800, 600));
    for (const char* name : {"main_normal.jpg", "main_over.jpg", "main_down.jpg", "advanced_normal.jpg",
                             "advanced_over.jpg", "advanced_down.jpg", "color_normal_pink.jpg", "color_over_red.jpg",
                             "color_down_purple.jpg", "color_normal_gray.jpg", "color_over_blue.jpg"}) {
        EXPECT_EQ(Picture(name).size(), window) << name;
    }
    const QSize menu = Picture("menu_mask.jpg").size();
    const QSize subMenu = Picture("advanced menu_mask.jpg").size();
    for (const char* state : {"normal", "over", "down"}) {
        EXPECT_EQ(Picture(QStringLiteral("menu_%1.jpg").arg(state)).size(), menu) << state;
        EXPECT_EQ(Picture(QStringLiteral("advanced menu_%1.jpg").arg(state)).size(), subMenu) << state;
    }
    // Rows tall enough for a line of text, and the same in both menus so that a sub-menu's
    // last row lines up with the row that opened it.
    EXPECT_GE(menu.height() / 10, 20);
    EXPECT_EQ(menu.height() / 10, subMenu.height() / 12);
    EXPECT_EQ(menu.width(), subMenu.width());
    const QSize warning = Picture("warning_mask.jpg").size();
    EXPECT_EQ(Picture("warning_normal.jpg").size(), warning);
    EXPECT_EQ(Picture("warning_over.jpg").size(), warning);
}

TEST(SkinPictures, MasksCutTheCornersAndKeepEveryRegion) {
    const SkinLayout s = Layout();
    const QImage mask = Picture("main_mask.jpg");
    EXPECT_TRUE(Light(mask.pixel(0, 0)));
    EXPECT_TRUE(Light(mask.pixel(799, 599)));
    EXPECT_FALSE(Light(mask.pixel(400, 300)));
    auto kept = [](const QImage& m, const QRect& r, const std::string& what) {
        ASSERT_TRUE(m.rect().contains(r)) << what;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                ASSERT_FALSE(Light(m.pixel(x, y))) << what << " is cut away at " << x << "," << y;
            }
        }
    };
    auto all = [&](const auto& regions, const char* table) {
        for (size_t i = 0; i < regions.size(); ++i) {
            if (regions[i].width > 0) {
                kept(mask, Rect(regions[i]), std::string(table) + " " + std::to_string(i));
            }
        }
    };
    all(s.MainRegions, "main");
    all(s.AdvancedRegions, "advanced");
    all(s.ColorRegions, "colour");
    for (const SkinRect& r : s.ControlRects) {
        kept(mask, QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)), "control");
    }
    const QImage warning = Picture("warning_mask.jpg");
    EXPECT_TRUE(Light(warning.pixel(0, 0)));
    for (size_t i = 0; i < s.WarningRegions.size(); ++i) {
        kept(warning, Rect(s.WarningRegions[i]), "warning " + std::to_string(i));
    }
}

// The user must see where the mouse is and what is pressed: every region a mouse move or a
// click can reach looks different under the mouse and while held.
TEST(SkinPictures, EveryHitTestedRegionHasVisibleOverAndDownLooks) {
    const SkinLayout s = Layout();
    struct Page {
        const char* stem;
        const char* normal;
        const char* over;
        const char* down;
        std::vector<const SkinRegion*> regions;
    };
    Page pages[] = {{"main", "main_normal.jpg", "main_over.jpg", "main_down.jpg", {}},
                    {"advanced", "advanced_normal.jpg", "advanced_over.jpg", "advanced_down.jpg", {}},
                    {"color", "color_normal_pink.jpg", "color_over_red.jpg", "color_down_purple.jpg", {}}};
    for (int i = 0; i <= main::kLastOnMainPage; ++i)
        pages[0].regions.push_back(&s.MainRegions[i]);
    for (int i = 0; i <= main::kLastHeader; ++i)
        pages[1].regions.push_back(&s.MainRegions[i]);
    for (int i = 0; i <= advanced::kLastHitTested; ++i)
        pages[1].regions.push_back(&s.AdvancedRegions[i]);
    for (int i = 0; i <= main::kLastHeader; ++i)
        pages[2].regions.push_back(&s.MainRegions[i]);
    for (int i = 0; i <= color::kLastHitTested; ++i)
        pages[2].regions.push_back(&s.ColorRegions[i]);
    for (const Page& page : pages) {
        const QImage normal = Picture(page.normal);
        const QImage over = Picture(page.over);
        const QImage down = Picture(page.down);
        for (const SkinRegion* r : page.regions) {
            EXPECT_GT(Changed(normal, over, Rect(*r)), 0.03) << page.stem << " over: " << r->x << "," << r->y;
            EXPECT_GT(Changed(normal, down, Rect(*r)), 0.03) << page.stem << " down: " << r->x << "," << r->y;
        }
    }
    // The drawing's button parts light up while their box is under the mouse.
    const QImage normal = Picture("main_normal.jpg");
    const QImage over = Picture("main_over.jpg");
    for (int part = main::kFirstMousePart; part <= main::kLastMousePart; ++part) {
        EXPECT_GT(Changed(normal, over, Rect(s.MainRegions[part])), 0.2) << part;
    }
    const QImage warningNormal = Picture("warning_normal.jpg");
    const QImage warningOver = Picture("warning_over.jpg");
    for (int i : {warning::kConfirm, warning::kCancel}) {
        EXPECT_GT(Changed(warningNormal, warningOver, Rect(s.WarningRegions[i])), 0.03) << i;
    }
}

// The average colour of the lit pixels of the preview: the light the user sees.
QColor LightOf(const QImage& image, const QRect& r) {
    double red = 0, green = 0, blue = 0;
    int count = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor c(image.pixel(x, y));
            if (c.hsvSaturation() > 120 && c.value() > 120) {
                red += c.red();
                green += c.green();
                blue += c.blue();
                ++count;
            }
        }
    }
    if (count < 200) {
        return QColor(0, 0, 0);
    }
    return QColor(static_cast<int>(red / count), static_cast<int>(green / count), static_cast<int>(blue / count));
}

TEST(SkinPictures, PreviewShowsTheLightOfEachPicture) {
    const QRect preview = Rect(Layout().ColorRegions[color::kPreview]);
    const struct {
        const char* picture;
        int hueLow;
        int hueHigh;
    } lights[] = {
        {"color_normal_pink.jpg", 290, 335},
        {"color_over_red.jpg", -15, 15},
        {"color_down_purple.jpg", 255, 285},
        {"color_over_blue.jpg", 205, 240},
    };
    for (const auto& l : lights) {
        const QColor c = LightOf(Picture(l.picture), preview);
        ASSERT_NE(c, QColor(0, 0, 0)) << l.picture << " shows no light";
        int hue = c.hsvHue();
        if (hue > 300 && l.hueLow < 0)
            hue -= 360;
        EXPECT_TRUE(hue >= l.hueLow && hue <= l.hueHigh) << l.picture << " hue " << hue;
    }
    EXPECT_EQ(LightOf(Picture("color_normal_gray.jpg"), preview), QColor(0, 0, 0));
}

}  // namespace
}  // namespace orv

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
