// The real program's screenshots on a screen scaled to 200 %: pages of twice the pixels that are
// drawn at that density, not the ordinary pages enlarged.
#include <QImage>
#include <QRegion>
#include <QTemporaryDir>
#include <QTest>

#include "E2eTools.h"
#include "PictureMeasures.h"

namespace {

using namespace e2e;
using orv::testing::MeanDifference;

struct Page {
    const char* screenshot;
    const char* description;  // besides the main page's, which holds the header
};
const Page kPages[] = {
    {"main.png", nullptr}, {"advanced.png", "skin_advance_en.ini"}, {"color.png", "skin_color_en.ini"}};

double Luminance(QRgb pixel) { return 0.299 * qRed(pixel) + 0.587 * qGreen(pixel) + 0.114 * qBlue(pixel); }

// The detail finer than two pixels, where the page shows only the skin's pictures: how far, on
// average, the four pixels of each 2 x 2 block stand apart in brightness (their variance). Every
// edge and line drawn at twice the pixels has some; a page of half the pixels enlarged has none
// (each block is one pixel doubled) or, when smoothed, little, as smoothing only spreads the
// steps. The mean step between neighbours would not tell them apart: an enlarged edge takes the
// same step, only in coarser places. Blocks in textual areas (layout pixels) are left out, as the
// texts are drawn sharp at any density and would hide enlarged pictures.
double FineDetail(const QImage& image, const QRegion& textual) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    int blocks = 0;
    for (int y = 0; y + 1 < rgb.height(); y += 2) {
        const auto* top = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        const auto* bottom = reinterpret_cast<const QRgb*>(rgb.constScanLine(y + 1));
        for (int x = 0; x + 1 < rgb.width(); x += 2) {
            if (textual.contains(QPoint(x / 2, y / 2)))
                continue;
            const double block[] = {Luminance(top[x]), Luminance(top[x + 1]), Luminance(bottom[x]),
                                    Luminance(bottom[x + 1])};
            const double mean = (block[0] + block[1] + block[2] + block[3]) / 4;
            for (double v : block)
                sum += (v - mean) * (v - mean) / 4;
            ++blocks;
        }
    }
    return blocks == 0 ? 0 : sum / blocks;
}

// Every rectangle of a description file (regions, edit boxes, lists): where texts may be drawn.
QRegion Rectangles(const QString& descriptionFile) {
    QFile file(descriptionFile);
    QRegion all;
    if (!file.open(QIODevice::ReadOnly))
        return all;
    const QRegularExpression entry(QStringLiteral("(?m)^\\d+=(-?\\d+),(-?\\d+),(\\d+),(\\d+),"));
    for (auto it = entry.globalMatch(QString::fromUtf8(file.readAll())); it.hasNext();) {
        const auto m = it.next();
        all += QRect(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
    }
    return all;
}

}  // namespace

class E2eScreenshotsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void pagesAtTwiceTheDensityAreSharp();

private:
    // Saves the three pages with the screen scaled by scaleFactor into a new folder; its path.
    QString Screenshots(const char* scaleFactor);

    QTemporaryDir data_;
    QTemporaryDir runtime_;
    QTemporaryDir shots_;
};

void E2eScreenshotsTest::initTestCase() {
    QVERIFY(qEnvironmentVariableIsSet("DISPLAY"));
    for (const char* item : {"config.ini", "Macro_CN.dat", "Macro_EN.dat", "constMacro.dat"}) {
        const QString copy = data_.filePath(QLatin1String(item));
        QVERIFY(QFile::copy(QStringLiteral(ORV_DATA_DIR "/") + QLatin1String(item), copy));
        QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    CopyFolder(QStringLiteral(ORV_DATA_DIR "/skins"), data_.filePath(QStringLiteral("skins")));
    QFile::setPermissions(runtime_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
}

QString E2eScreenshotsTest::Screenshots(const char* scaleFactor) {
    const QString dir = shots_.filePath(QLatin1String(scaleFactor));
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QLatin1String(scaleFactor));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(ORV_GMOUSE_EXE), {QStringLiteral("--simulate"), QStringLiteral("--dir"), data_.path(),
                                                   QStringLiteral("--screenshots"), dir});
    if (!program.waitForFinished(kLongWaitMs) || program.exitCode() != 0) {
        qWarning() << program.readAllStandardError();
        return {};
    }
    return dir;
}

// Brought down to the layout's size, a dense page shows what the ordinary one shows; its edges
// are steeper than those of the ordinary page enlarged to the same size.
void E2eScreenshotsTest::pagesAtTwiceTheDensityAreSharp() {
    const QString single = Screenshots("1");
    const QString dense = Screenshots("2");
    QVERIFY(!single.isEmpty() && !dense.isEmpty());
    const QString descriptions = data_.filePath(QStringLiteral("skins/INI_EN/"));
    for (const Page& page : kPages) {
        const QString name = QLatin1String(page.screenshot);
        const QImage one(single + QLatin1Char('/') + name);
        const QImage two(dense + QLatin1Char('/') + name);
        QCOMPARE(one.size(), QSize(800, 600));
        QCOMPARE(two.size(), QSize(1600, 1200));
        QRegion textual = Rectangles(descriptions + QStringLiteral("skin_main_en.ini"));
        if (page.description != nullptr)
            textual += Rectangles(descriptions + QLatin1String(page.description));
        // The whole page, and, against the pictures enlarged pixel for pixel, only where it shows
        // the skin's pictures: sharp texts alone must not make a page of enlarged pictures pass.
        const struct {
            const char* what;
            QRegion leftOut;
            Qt::TransformationMode enlarging;
            double factor;
        } checks[] = {{"page, enlarged pixel for pixel", {}, Qt::FastTransformation, 2.5},
                      {"page, enlarged smoothly", {}, Qt::SmoothTransformation, 2.5},
                      {"pictures, enlarged pixel for pixel", textual, Qt::FastTransformation, 2.5}};
        for (const auto& check : checks) {
            const double sharp = FineDetail(two, check.leftOut);
            const double enlarged =
                FineDetail(one.scaled(two.size(), Qt::IgnoreAspectRatio, check.enlarging), check.leftOut);
            QVERIFY2(sharp > check.factor * enlarged, qPrintable(QStringLiteral("%1 %2: fine detail %3 at 2x, %4")
                                                                     .arg(name, QLatin1String(check.what))
                                                                     .arg(sharp)
                                                                     .arg(enlarged)));
        }
        const double difference =
            MeanDifference(two.scaled(one.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation), one);
        QVERIFY2(difference < 4.0, qPrintable(QStringLiteral("%1: %2 apart at 1x").arg(name).arg(difference)));
    }
}

QTEST_GUILESS_MAIN(E2eScreenshotsTest)
#include "tst_e2e_screenshots.moc"
