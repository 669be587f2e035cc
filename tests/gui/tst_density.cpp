// The window on a screen scaled to 200 %, on a synthetic skin whose NAME@2x pictures have
// colours of their own: frames, hover looks, menus and the warning take the dense pictures,
// pixel for pixel, and a skin without them is enlarged as before.
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>

#include "PagesFixture.h"
#include "skin/PictureDensity.h"
#include "ui/ComposeFrame.h"
#include "ui/FunctionMenus.h"
#include "ui/WarningDlg.h"

namespace {

using orv::testing::NearColour;
using orv::testing::PagesFixture;
using orv::testing::SyntheticSkin;

constexpr int kRow = 30;
// A main-page region that shows only the hover and pressed looks.
constexpr int kPlainRegion = 60;
const QColor kDenseNormal(90, 40, 140);
const QColor kDenseDown(240, 140, 0);

std::string Dense(const std::string& name) { return orv::HighDensityPicture(name).string(); }

QImage Flat(QSize size, QColor colour) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

// Red grows with x across the picture, so a region copied from the wrong place shows.
QImage Ramp(QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    for (int x = 0; x < size.width(); ++x) {
        for (int y = 0; y < size.height(); ++y)
            picture.setPixelColor(x, y, QColor(x * 255 / (size.width() - 1), 200, 0));
    }
    return picture;
}

QColor RampAt(int x, int width) { return {x * 255 / (width - 1), 200, 0}; }

// The pages' pictures for twice the pixels: normal and down flat in their own colours, over a
// ramp; the colour page and the mask have none, as a hand-made skin may leave some out.
void WriteDensePages(const SyntheticSkin& skin) {
    const QSize size = skin.Size() * 2;
    for (const char* page : {"main", "advanced"}) {
        skin.WritePicture(Dense(std::string(page) + "_normal.jpg"), Flat(size, kDenseNormal));
        skin.WritePicture(Dense(std::string(page) + "_over.jpg"), Ramp(size));
        skin.WritePicture(Dense(std::string(page) + "_down.jpg"), Flat(size, kDenseDown));
    }
}

void SendMouse(QWidget& widget, QEvent::Type type, QPoint point) {
    QMouseEvent event(type, point, widget.mapToGlobal(point), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

}  // namespace

class DensityTest : public QObject {
    Q_OBJECT

public:
    static void initMain() { qputenv("QT_SCALE_FACTOR", "2"); }

private Q_SLOTS:
    void framesAtEachDensity();
    void hoverCopiesTheDenseRegionPixelForPixel();
    void menuAndWarningDrawTheirDensePictures();
};

// One cache through every density in turn, as a window moved between screens uses it.
void DensityTest::framesAtEachDensity() {
    PagesFixture f;
    WriteDensePages(f.skin);
    orv::PictureCache pictures;
    const QSize size = f.skin.Size();
    const struct {
        qreal ratio;
        bool denseSkin;
        QSize pixels;  // of the frame and of the picture the cache hands out
        QSize picture;
        QColor colour;
    } rows[] = {
        {1.0, true, size, size, SyntheticSkin::Normal()},      {2.0, true, size * 2, size * 2, kDenseNormal},
        {1.5, true, size * 3 / 2, size * 3 / 2, kDenseNormal}, {1.0, true, size, size, SyntheticSkin::Normal()},
        {2.0, false, size * 2, size, SyntheticSkin::Normal()},
    };
    for (const auto& row : rows) {
        if (!row.denseSkin)
            std::filesystem::remove(f.skin.SkinDirectory() / Dense("main_normal.jpg"));
        const QImage frame =
            orv::ComposeFrame(f.model, f.state, pictures, f.pages.Fonts(), size, orv::FrameHooks{}, row.ratio);
        const QString at = QString::number(row.ratio);
        QVERIFY2(frame.size() == row.pixels, qPrintable(at));
        QCOMPARE(frame.devicePixelRatio(), row.ratio);
        QVERIFY2(NearColour(frame.pixelColor(frame.width() - 1, frame.height() - 1), row.colour), qPrintable(at));
        const QImage& normal = pictures.Get(f.skin.SkinDirectory() / "main_normal.jpg", row.ratio);
        QVERIFY2(normal.size() == row.picture, qPrintable(at));
        QCOMPARE(normal.deviceIndependentSize(), QSizeF(size));
    }
}

void DensityTest::hoverCopiesTheDenseRegionPixelForPixel() {
    PagesFixture f;
    WriteDensePages(f.skin);
    QCOMPARE(f.window.devicePixelRatioF(), 2.0);
    const orv::SkinRegion& r = f.layout.MainRegions[kPlainRegion];
    f.pages.OnMouseMove(f.MainCentre(kPlainRegion));
    const QImage frame = f.pages.ComposeFrame();
    QCOMPARE(frame.size(), f.skin.Size() * 2);
    const int width = frame.width();
    const int left = 2 * r.x;
    const int right = 2 * (r.x + r.width) - 1;
    const int y = 2 * r.y + r.height;
    QVERIFY(NearColour(frame.pixelColor(left, y), RampAt(left, width)));
    QVERIFY(NearColour(frame.pixelColor(right, y), RampAt(right, width)));
    QVERIFY(NearColour(frame.pixelColor(left - 1, y), kDenseNormal));
    QVERIFY(NearColour(frame.pixelColor(right + 1, y), kDenseNormal));
    QVERIFY(NearColour(frame.pixelColor(left, 2 * r.y - 1), kDenseNormal));
    QVERIFY(NearColour(frame.pixelColor(left, 2 * (r.y + r.height)), kDenseNormal));
}

// Hit-testing stays in layout pixels while both popups draw from their dense pictures.
void DensityTest::menuAndWarningDrawTheirDensePictures() {
    PagesFixture f;
    const QSize menu(160, 10 * kRow + 1);
    f.skin.WritePicture("menu_mask.jpg", Flat(menu, Qt::black));
    for (const char* state : {"normal", "over", "down"})
        f.skin.WritePicture(std::string("menu_") + state + ".jpg", Flat(menu, SyntheticSkin::Normal()));
    f.skin.WritePicture(Dense("menu_normal.jpg"), Flat(menu * 2, kDenseNormal));
    f.skin.WritePicture(Dense("menu_over.jpg"), Ramp(menu * 2));
    orv::FunctionMenus menus{f.Context()};
    QVERIFY(menus.OpenFunctionMenu(2, QRect(10, 10, 60, 20)));
    const auto opened = f.window.findChildren<orv::CMenuDlg*>();
    QCOMPARE(opened.size(), 1);
    orv::CMenuDlg& open = *opened.front();
    QCOMPARE(open.size(), menu);
    SendMouse(open, QEvent::MouseMove, QPoint(150, 2 * kRow + 5));
    QCOMPARE(open.Hover(), 3);
    QImage picture = open.grab().toImage();
    QCOMPARE(picture.size(), menu * 2);
    QVERIFY(NearColour(picture.pixelColor(310, 4 * kRow + 2), RampAt(310, picture.width())));
    QVERIFY(NearColour(picture.pixelColor(310, 4 * kRow - 1), kDenseNormal));
    QVERIFY(NearColour(picture.pixelColor(310, 6 * kRow), kDenseNormal));

    f.layout.WarningRegions = {orv::SkinRegion{10, 50, 60, 20, ""}, orv::SkinRegion{120, 50, 60, 20, ""},
                               orv::SkinRegion{10, 10, 180, 30, ""}};
    f.skin.WritePicture("warning_mask.jpg", Flat({200, 80}, Qt::black));
    f.skin.WritePicture("warning_normal.jpg", Flat({200, 80}, SyntheticSkin::Normal()));
    f.skin.WritePicture(Dense("warning_normal.jpg"), Flat({400, 160}, kDenseNormal));
    f.skin.WritePicture(Dense("warning_over.jpg"), Ramp({400, 160}));
    orv::PictureCache pictures;
    orv::WarningDlg warning(orv::FunctionMenuContext{f.model, f.pages.Fonts(), pictures}, QRect(10, 10, 60, 20),
                            &f.window);
    QCOMPARE(warning.size(), QSize(200, 80));
    SendMouse(warning, QEvent::MouseMove, QPoint(130, 60));
    QCOMPARE(warning.WarningHover(), 2);
    picture = warning.grab().toImage();
    QCOMPARE(picture.size(), QSize(400, 160));
    QVERIFY(NearColour(picture.pixelColor(241, 101), RampAt(241, 400)));
    QVERIFY(NearColour(picture.pixelColor(239, 101), kDenseNormal));
}

QTEST_MAIN(DensityTest)
#include "tst_density.moc"
