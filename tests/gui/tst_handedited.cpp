// The whole window started over files edited by hand with every number out of range: the
// profile, the macros and the skin's own description files. Drawing each page and moving the
// pointer over all of it must read nothing outside a table (the sanitizer stage runs this).
#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "app/CORV_GMouseDlg.h"
#include "app/PostToEventLoop.h"
#include "app/TrayIcon.h"
#include "common/HandEditedFiles.h"
#include "common/Trace.h"
#include "fakes/RecordingMessages.h"
#include "session/Session.h"
#include "ui/MainWindowPages.h"

using namespace orv;

namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

// Every number of a region or control line ("N=x,y,w,h,label,") becomes one that no window
// has: negative, at the ends of 32 bits, beyond them, or not a number. The labels stay.
void SpoilNumbers(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    std::string out;
    const std::regex entry(R"(^(\d+)=([^,]*),([^,]*),([^,]*),([^,]*),(.*)$)");
    const char* numbers[] = {"-2147483648", "2147483647", "99999999999", "-1", "0", "abc", "65536", "-40000"};
    size_t turn = 0;
    while (std::getline(in, line)) {
        std::smatch m;
        if (std::regex_match(line, m, entry)) {
            line = m[1].str() + "=";
            for (int i = 0; i < 4; ++i) {
                line += std::string(numbers[turn++ % std::size(numbers)]) + ",";
            }
            line += m[6].str();
        }
        out += line + "\n";
    }
    in.close();
    WriteFile(file, out);
}

}  // namespace

class HandEditedTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyPageDrawsAndFollowsThePointer_data();
    void everyPageDrawsAndFollowsThePointer();
};

void HandEditedTest::everyPageDrawsAndFollowsThePointer_data() {
    QTest::addColumn<bool>("spoiledSkin");
    QTest::newRow("shipped skin") << false;
    QTest::newRow("skin numbers out of range") << true;
}

void HandEditedTest::everyPageDrawsAndFollowsThePointer() {
    QFETCH(bool, spoiledSkin);
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    const fs::path dir = temp.path().toStdString();
    fs::copy(fs::path(ORV_DATA_DIR) / "skins", dir / "skins", fs::copy_options::recursive);
    if (spoiledSkin) {
        for (const auto& entry : fs::recursive_directory_iterator(dir / "skins")) {
            if (entry.path().extension() == ".ini") {
                SpoilNumbers(entry.path());
            }
        }
    }
    WriteFile(dir / "config.ini", test::OutOfRangeConfig());
    for (const char* file : {"Macro_CN.dat", "Macro_EN.dat", "constMacro.dat"}) {
        WriteFile(dir / file, test::OutOfRangeMacroFile());
    }

    Trace trace(stdout, false, false);
    test::RecordingMessages messages;
    Session session({dir, dir / "config.ini", dir / "skins"}, true, trace, messages, PostToEventLoop);
    CORV_GMouseDlg dialog(session, messages);
    dialog.Tray().SetHostCheck([] { return true; });
    QVERIFY(dialog.StartUp());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    MainWindowPages& pages = dialog.Pages();
    for (int page = 0; page < 3; ++page) {
        page == 0 ? pages.ShowMainPage() : page == 1 ? pages.ShowAdvancedPage() : pages.ShowColorPage();
        QVERIFY(!dialog.grab().isNull());
        for (int y = -4; y < dialog.height() + 4; y += 6) {
            for (int x = -4; x < dialog.width() + 4; x += 6) {
                QMouseEvent move(QEvent::MouseMove, QPointF(x, y), dialog.mapToGlobal(QPointF(x, y)), Qt::NoButton,
                                 Qt::NoButton, Qt::NoModifier);
                QApplication::sendEvent(&dialog, &move);
            }
        }
        QVERIFY(!dialog.grab().isNull());
    }
    dialog.ExitDriver();
}

QTEST_MAIN(HandEditedTest)
#include "tst_handedited.moc"
