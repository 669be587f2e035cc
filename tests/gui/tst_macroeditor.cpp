// The macro editor in the window: its four controls mirror the editor, the event list's menu and
// in-place edit, the macro file dialogs, and recording.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "OtherSystem.h"
#include "FakeDialogs.h"
#include "PagesFixture.h"
#include "app/KeyFilter.h"
#include "common/IniFile.h"
#include "common/Texts.h"
#include "common/Utf.h"
#include "fakes/RecordingMessages.h"
#include "macro/MacroFile.h"
#include "platform/FakeKeyboardCapture.h"
#include "ui/MacroEditorFeature.h"
#include "ui/UiText.h"
#include "ui/WindowKeyboardGrab.h"

using namespace orv;
using orv::testing::PagesFixture;
namespace advanced = orv::region::advanced;

namespace {

using Lines = QStringList;

struct Event {
    uint8_t key;
    uint8_t action;
    uint16_t delay;
};

class SetTime : public TimeOfDay {
public:
    int32_t Milliseconds() override { return now; }
    int32_t now = 0;
};

// The pages of the synthetic skin with the real macro editor behind the advanced page; the
// controls are laid out large enough to hold a few lines. Macro "Alpha" (A down, A up, B down,
// B up) is selected; "Beta" has no events.
struct EditorFixture : PagesFixture {
    // Recording captures the keyboard through a fake the test types into, or through the
    // window's own grab while it has the focus.
    enum class Keyboard { Fake, WindowGrab };

    explicit EditorFixture(Keyboard keyboard = Keyboard::Fake) {
        if (keyboard == Keyboard::WindowGrab) {
            grab = std::make_unique<WindowKeyboardGrab>(window, WindowKeyboardGrab::Reach::WhileFocused);
            capture = grab.get();
        }
        layout.ControlRects = {SkinRect{0, 142, 60, 158}, SkinRect{65, 142, 145, 158}, SkinRect{100, 20, 160, 78},
                               SkinRect{165, 20, 235, 78}};
        // Made before the macros are there: the editor starts on line 0.
        feature = std::make_unique<MacroEditorFeature>(Context(), capture, &clock);
        macros.userMacroFile = skin.AppDirectory() / "Macro_EN.dat";
        SetMacro(0, u"Alpha", {{0x04, 1, 100}, {0x04, 2, 101}, {0x05, 1, 102}, {0x05, 2, 103}});
        SetMacro(1, u"Beta", {});
        macros.macroCount = 2;
        macros.selectedMacro = 0;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        OnPage(kAdvancedPage);
    }

    void SetMacro(int slot, const std::u16string& name, const std::vector<Event>& events) {
        MacroSlot& macro = macros.User(slot);
        macro.SetName(name);
        for (size_t k = 0; k < events.size(); ++k)
            macro.SetEvent(k, events[k].key, events[k].action, events[k].delay);
        macro.SetEventCount(static_cast<uint8_t>(events.size()));
    }

    static Lines Texts(const QListWidget* list) {
        Lines lines;
        for (int i = 0; list && i < list->count(); ++i)
            lines << list->item(i)->text();
        return lines;
    }
    QListWidget* MacroList() const { return Find<QListWidget>("MacroList"); }
    CEditableListBox* EventList() const { return Find<CEditableListBox>("EventList"); }
    QLineEdit* MacroNameEdit() const { return Find<QLineEdit>("MacroNameEdit"); }
    QLineEdit* RepeatCountEdit() const { return Find<QLineEdit>("RepeatCountEdit"); }
    Lines MacroLines() const { return Texts(MacroList()); }
    Lines EventLines() const { return Texts(EventList()); }
    // A text of the advanced page as drawn.
    QString Label(int region) const { return pages.Drawing().labels[kAdvancedTable].at(region)(); }

    // Where line `line` of the event list shows, in the list's viewport.
    QPoint LinePoint(int line) const {
        const QListWidget& list = *EventList();
        const int h = list.sizeHintForRow(0);
        return {10, (line - list.verticalScrollBar()->value()) * h + h / 2};
    }
    // Clicks a line of a list as the user does.
    static void ClickLine(QListWidget* list, int line) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(line)).center());
    }

    test::FakeKeyboardCapture fakeCapture;
    std::unique_ptr<WindowKeyboardGrab> grab;
    KeyboardCapture* capture = &fakeCapture;
    SetTime clock;
    std::unique_ptr<MacroEditorFeature> feature;
};

// Waits for the next context menu and chooses the item at the end of path (captions, one per
// level); an empty path closes the menu. Gives the captions of the menu's first level.
class MenuAnswer {
public:
    explicit MenuAnswer(QStringList path) : path_(std::move(path)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(); });
        timer_.start(5);
    }
    bool Answered() const { return answered_; }
    QStringList TopLevel() const { return topLevel_; }

private:
    void Answer() {
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (popup == nullptr)
            return;
        timer_.stop();
        for (const QAction* action : popup->actions())
            topLevel_ << action->text();
        QMenu* level = popup;
        for (qsizetype i = 0; i < path_.size(); ++i) {
            QAction* found = nullptr;
            for (QAction* action : level->actions())
                found = action->text() == path_[i] ? action : found;
            if (found == nullptr)
                break;
            if (i + 1 == path_.size())
                found->trigger();
            else
                level = QMenu::menuInAction(found);
            if (level == nullptr)
                break;
        }
        popup->close();
        answered_ = true;
    }

    QStringList path_;
    QTimer timer_;
    QStringList topLevel_;
    bool answered_ = false;
};

const std::string kMacroFilter = "All Files(*.dat)|*.dat||";

}  // namespace

class MacroEditorWidgetsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void controlsLiveWithThePage();
    void controlsMirrorTheEditor();
    void contextCommandsComeFromTheMenuOfEitherLanguage_data();
    void contextCommandsComeFromTheMenuOfEitherLanguage();
    void rightClickLineFollowsScrollingAndEmptyLists();
    void inPlaceEdit_data();
    void inPlaceEdit();
    void fileDialogs();
    void recordingGrowsTheListLive();
    void recordingStopsWheneverTheKeyboardMustBeGivenBack();
    void windowGrabRecordsKeysInsteadOfTypingThem();
    void escapeWhileRecordingIsRecordedAndClosesNothing();
};

// The four controls are children of the window, over the skin's rectangles, while the advanced
// page is shown; leaving ends a recording and destroys them, and coming back (here after a
// language switch moved one and changed the font) makes them anew.
void MacroEditorWidgetsTest::controlsLiveWithThePage() {
    EditorFixture f;
    struct Expected {
        QWidget* control;
        int id;
        QRect rect;
    };
    const Expected expected[] = {
        {f.RepeatCountEdit(), kRepeatCountEditId, QRect(0, 142, 60, 16)},
        {f.MacroNameEdit(), kMacroNameEditId, QRect(65, 142, 80, 16)},
        {f.MacroList(), kMacroListId, QRect(100, 20, 60, 58)},
        {f.EventList(), kEventListId, QRect(165, 20, 70, 58)},
    };
    for (const Expected& e : expected) {
        QVERIFY(e.control);
        QCOMPARE(e.control->parentWidget(), &f.window);
        QCOMPARE(e.control->property("controlId").toInt(), e.id);
        QCOMPARE(e.control->geometry(), e.rect);
        QVERIFY(e.control->isVisible());
        QCOMPARE(e.control->palette().color(QPalette::Base), QColor(Qt::black));
        QCOMPARE(e.control->palette().color(QPalette::Active, QPalette::Text), QColor(Qt::white));
        QCOMPARE(e.control->font(), f.pages.Fonts().EnglishFont);
    }
    QCOMPARE(f.window.findChildren<QLineEdit*>().size(), 2);
    QCOMPARE(f.window.findChildren<QListWidget*>().size(), 2);

    f.Click(f.AdvancedCentre(advanced::kRecord));
    QVERIFY(f.fakeCapture.Active());
    f.Click(f.MainCentre(orv::region::main::kColorTab));
    QVERIFY(!f.fakeCapture.Active());
    QCOMPARE(f.window.findChildren<QWidget*>().size(), 0);
    f.layout.ControlRects[kMacroListRect] = SkinRect{10, 20, 30, 40};
    f.language = Language::Chinese();
    f.Click(f.MainCentre(orv::region::main::kAdvancedTab));
    QCOMPARE(f.MacroList()->geometry(), QRect(10, 20, 20, 20));
    QCOMPARE(f.MacroList()->font(), f.pages.Fonts().ChineseFont);
    QCOMPARE(f.MacroLines(), (Lines{"Alpha", "Beta"}));
    f.Click(f.MainCentre(orv::region::main::kMainTab));
    QCOMPARE(f.window.findChildren<QWidget*>().size(), 0);
}

void MacroEditorWidgetsTest::controlsMirrorTheEditor() {
    EditorFixture f;
    QCOMPARE(f.MacroLines(), (Lines{"Alpha", "Beta"}));
    QCOMPARE(f.MacroList()->currentRow(), 0);
    QCOMPARE(f.EventLines(), (Lines{"[↓]A", "    100ms", "[↑]A", "    101ms", "[↓]B", "    102ms", "[↑]B"}));
    QCOMPARE(f.EventList()->currentRow(), 0);  // ClickedLine
    QCOMPARE(f.MacroNameEdit()->text(), QStringLiteral("Alpha"));
    QCOMPARE(f.RepeatCountEdit()->text(), QStringLiteral("1"));
    QVERIFY(!f.RepeatCountEdit()->isEnabled());
    QCOMPARE(f.MacroNameEdit()->alignment(), Qt::AlignCenter);

    // Selecting in the list shows that macro.
    EditorFixture::ClickLine(f.MacroList(), 1);
    QCOMPARE(f.macros.selectedMacro.load(), 1);
    QCOMPARE(f.MacroNameEdit()->text(), QStringLiteral("Beta"));
    QVERIFY(f.EventLines().isEmpty());

    // A name typed and added becomes the selected last line.
    f.MacroNameEdit()->clear();
    QTest::keyClicks(f.MacroNameEdit(), QStringLiteral("Gamma"));
    f.Click(f.AdvancedCentre(advanced::kAddMacro));
    QCOMPARE(f.MacroLines(), (Lines{"Alpha", "Beta", "Gamma"}));
    QCOMPARE(f.MacroList()->currentRow(), 2);
    QCOMPARE(int(f.macros.macroCount), 3);

    // Repeat on shows the count and lets it be typed; storing corrects it and writes the file.
    f.Click(f.AdvancedCentre(advanced::kRepeat));
    QVERIFY(f.RepeatCountEdit()->isEnabled());
    f.RepeatCountEdit()->clear();
    QTest::keyClicks(f.RepeatCountEdit(), QStringLiteral("70000"));
    f.Click(f.AdvancedCentre(advanced::kStoreRepeatCount));
    QCOMPARE(f.RepeatCountEdit()->text(), QStringLiteral("65535"));
    QCOMPARE(int(f.macros.User(2).repeatCount()), 65535);
    QCOMPARE(ini::Read(f.macros.userMacroFile, "Macros", "macroNum", 10), std::string("3"));

    // Deleting the first macro moves the others down and shows the one before the deleted.
    EditorFixture::ClickLine(f.MacroList(), 0);
    f.Click(f.AdvancedCentre(advanced::kDeleteMacro));
    QCOMPARE(f.MacroLines(), (Lines{"Beta", "Gamma"}));
    QCOMPARE(f.MacroList()->currentRow(), 0);
    QCOMPARE(f.MacroNameEdit()->text(), QStringLiteral("Beta"));
    QVERIFY(f.messages.shown.empty());

    // A user macro file that cannot be written is told.
    f.macros.userMacroFile = f.skin.AppDirectory() / "no-such-folder" / "Macro_EN.dat";
    f.Click(f.AdvancedCentre(advanced::kStoreRepeatCount));
    QCOMPARE(f.messages.shown.size(), size_t(1));
    QVERIFY(f.messages.shown[0].second.find("Macro_EN.dat") != std::string::npos);
}

void MacroEditorWidgetsTest::contextCommandsComeFromTheMenuOfEitherLanguage_data() {
    QTest::addColumn<bool>("english");
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<int>("line");  // right-clicked
    QTest::addColumn<QStringList>("keysAfter");
    // Key line 2 is event 1, its delay line 3 too.
    QTest::newRow("forward, english") << true << QStringList{"Add Forward", "Left Button", "Down "} << 2
                                      << QStringList{"[↓]A", "[↓]L-KEY", "[↑]A", "[↓]B", "[↑]B"};
    QTest::newRow("backward, english") << true << QStringList{"Add Backward", "Mid Button", "Up"} << 3
                                       << QStringList{"[↓]A", "[↑]A", "[↑]M-KEY", "[↓]B", "[↑]B"};
    QTest::newRow("forward, chinese") << false << QStringList{"项前插入    ", "右键", "向下    "} << 1
                                      << QStringList{"[↓]R-KEY", "[↓]A", "[↑]A", "[↓]B", "[↑]B"};
    QTest::newRow("delete, chinese") << false << QStringList{"删除"} << 0 << QStringList{"[↑]A", "[↓]B", "[↑]B"};
    QTest::newRow("closed") << true << QStringList{} << 0 << QStringList{"[↓]A", "[↑]A", "[↓]B", "[↑]B"};
}

void MacroEditorWidgetsTest::contextCommandsComeFromTheMenuOfEitherLanguage() {
    QFETCH(bool, english);
    QFETCH(QStringList, path);
    QFETCH(int, line);
    QFETCH(QStringList, keysAfter);
    EditorFixture f;
    f.language = english ? Language::English() : Language::Chinese();

    MenuAnswer answer(path);
    QTest::mouseClick(f.EventList()->viewport(), Qt::RightButton, {}, f.LinePoint(line));
    QTRY_VERIFY(answer.Answered());
    QCOMPARE(answer.TopLevel(), english ? (QStringList{"Add Forward", "Add Backward", "Modify Delay", "Delete"})
                                        : (QStringList{"项前插入    ", "项后插入", "修改延迟", "删除"}));

    Lines keys;
    for (int i = 0; i < f.EventLines().size(); i += 2)
        keys << f.EventLines()[i];
    QCOMPARE(keys, keysAfter);
    // The list shows the store's macro, inserted events with their 30 ms.
    QCOMPARE(int(f.macros.User(0).eventCount()), keysAfter.size());
    QCOMPARE(f.EventLines().size(), 2 * keysAfter.size() - 1);
}

void MacroEditorWidgetsTest::rightClickLineFollowsScrollingAndEmptyLists() {
    EditorFixture f;
    CEditableListBox& list = *f.EventList();
    QVERIFY2(list.verticalScrollBar()->maximum() >= 2, "the fixture's list must scroll");
    // Scrolled by the wheel while another control has the focus, which the click then moves.
    f.MacroNameEdit()->setFocus();
    QTRY_VERIFY(f.MacroNameEdit()->hasFocus());
    list.verticalScrollBar()->setValue(2);
    {
        MenuAnswer answer({});
        QTest::mouseClick(list.viewport(), Qt::RightButton, {}, f.LinePoint(3));
        QTRY_VERIFY(answer.Answered());
    }
    QCOMPARE(list.currentRow(), 3);

    // Outside the list the line is still worked out, but no menu opens.
    {
        MenuAnswer none({});
        QListWidget& macros = *f.MacroList();
        QTest::mouseClick(macros.viewport(), Qt::RightButton, {}, macros.visualItemRect(macros.item(1)).center());
        QTest::qWait(50);
        QVERIFY(!none.Answered());
    }
    QCOMPARE(f.macros.selectedMacro.load(), 0);  // a right press selects nothing

    // An empty list opens the menu anywhere in it; adding behind puts the event first.
    EditorFixture::ClickLine(f.MacroList(), 1);
    QVERIFY(f.EventLines().isEmpty());
    MenuAnswer answer({"Add Backward", "Right Button", "Up"});
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, QPoint(10, list.viewport()->height() - 3));
    QTRY_VERIFY(answer.Answered());
    QCOMPARE(f.EventLines(), (Lines{"[↑]R-KEY"}));
    QCOMPARE(list.currentRow(), 0);
}

void MacroEditorWidgetsTest::inPlaceEdit_data() {
    QTest::addColumn<QString>("ending");
    QTest::addColumn<int>("storedDelay");
    QTest::addColumn<QString>("lineAfter");
    QTest::newRow("return keeps") << "return" << 250 << "    250ms";
    QTest::newRow("focus loss keeps") << "focus" << 250 << "    250ms";
    QTest::newRow("scrolling keeps") << "scroll" << 250 << "    250ms";
    QTest::newRow("leaving the page keeps") << "page" << 250 << "    250ms";
    // Saved when the user says so before the language changes.
    QTest::newRow("switching the language keeps") << "language" << 250 << "    250ms";
    QTest::newRow("escape discards") << "escape" << 101 << "    101ms";
}

void MacroEditorWidgetsTest::inPlaceEdit() {
    QFETCH(QString, ending);
    QFETCH(int, storedDelay);
    QFETCH(QString, lineAfter);
    EditorFixture f;
    const auto filter = InstallKeyFilter(f.window, {});
    CEditableListBox& list = *f.EventList();

    MenuAnswer answer({"Modify Delay"});
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, f.LinePoint(3));
    QTRY_VERIFY(answer.Answered());
    QTRY_VERIFY(list.Editor() != nullptr);
    // The offscreen system may leave the closed menu's activation behind.
    f.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    CEditHelper& edit = *list.Editor();
    QCOMPARE(list.EditIndex(), 3);
    QCOMPARE(edit.text(), QStringLiteral("    101ms"));
    QCOMPARE(edit.selectedText(), edit.text());
    const QRect line = list.visualItemRect(list.item(3));
    QCOMPARE(edit.geometry(), line.adjusted(0, -2, 0, 2));
    QTRY_VERIFY(edit.hasFocus());

    QTest::keyClicks(&edit, QStringLiteral("250"));
    if (ending == QLatin1String("return"))
        QTest::keyClick(&edit, Qt::Key_Return);
    else if (ending == QLatin1String("escape"))
        QTest::keyClick(&edit, Qt::Key_Escape);
    else if (ending == QLatin1String("focus"))
        f.MacroNameEdit()->setFocus();
    else if (ending == QLatin1String("scroll"))
        list.verticalScrollBar()->setValue(list.verticalScrollBar()->value() + 1);
    else if (ending == QLatin1String("page"))
        f.Click(f.MainCentre(orv::region::main::kMainTab));
    else {
        f.dialogs.unsavedAnswer = UnsavedChoice::Save;
        QVERIFY(f.events.SettleUnsavedWork());  // what the language buttons ask first
        QCOMPARE(f.dialogs.opened.back().kind, std::string("unsaved"));
        MacroStore saved;
        QCOMPARE(LoadMacroFile(f.macros.userMacroFile, MacroTarget::User, saved, f.messages), ini::FileState::Read);
        QCOMPARE(int(saved.User(0).Delay(1)), storedDelay);
    }

    if (f.EventList() != nullptr)
        QTRY_VERIFY(f.EventList()->Editor() == nullptr);
    f.OnPage(kAdvancedPage);
    CEditableListBox& shown = *f.EventList();
    QTRY_VERIFY(shown.Editor() == nullptr);
    QCOMPARE(int(f.macros.User(0).Delay(1)), storedDelay);
    QCOMPARE(f.EventLines()[3], lineAfter);
    QCOMPARE(shown.EditIndex(), -1);
    QVERIFY(f.window.isVisible());
}

void MacroEditorWidgetsTest::fileDialogs() {
    EditorFixture f;
    const auto folder = f.skin.AppDirectory();

    // Export: the save dialog with the macro filter in the program's folder; cancel writes nothing.
    f.Click(f.AdvancedCentre(advanced::kExportMacros));
    QCOMPARE(f.dialogs.opened.size(), size_t(1));
    QCOMPARE(f.dialogs.opened[0].kind, std::string("save"));
    QCOMPARE(f.dialogs.opened[0].options.filter, kMacroFilter);
    QCOMPARE(f.dialogs.opened[0].options.initialFolder, folder);
    QCOMPARE(f.dialogs.opened[0].options.defaultExtension, std::string("dat"));
    f.dialogs.chosenFile = folder / "out.dat";
    f.Click(f.AdvancedCentre(advanced::kExportMacros));
    QCOMPARE(ini::Read(folder / "out.dat", "Macros", "macroNum", 10), std::string("2"));

    // Import: the open dialog has no default extension; the list shows what was read.
    MacroStore other;
    other.User(0).SetName(u"Imported");
    other.macroCount = 1;
    QVERIFY(SaveMacroFile(folder / "in.dat", other));
    f.dialogs.chosenFile = folder / "in.dat";
    f.Click(f.AdvancedCentre(advanced::kImportMacros));
    QCOMPARE(f.dialogs.opened.back().kind, std::string("open"));
    QCOMPARE(f.dialogs.opened.back().options.defaultExtension, std::string());
    QCOMPARE(f.dialogs.opened.back().options.filter, kMacroFilter);
    QCOMPARE(f.MacroLines(), (Lines{"Imported"}));
    QVERIFY(f.EventLines().isEmpty());
    QVERIFY(f.messages.shown.empty());

    f.dialogs.chosenFile.reset();
    f.Click(f.AdvancedCentre(advanced::kImportMacros));
    QCOMPARE(f.MacroLines(), (Lines{"Imported"}));

    // Files that cannot be read or written are told, naming them, and change nothing. A file
    // gone since it was chosen is told as a missing macro file is at start-up.
    struct Failure {
        int control;
        std::filesystem::path file;
        QString said;
    };
    const auto naming = [](TextId text, const std::filesystem::path& file) {
        return UiText(text, Language::English()).arg(QString::fromStdString(PathToUtf8(file)));
    };
    std::filesystem::create_directory(folder / "folder.dat");
    QVERIFY(ini::Write(folder / "notes.dat", "Config7", "K0", "1"));
    const Failure failures[] = {
        {advanced::kImportMacros, folder / "folder.dat", naming(TextId::MacroImportUnreadable, folder / "folder.dat")},
        {advanced::kImportMacros, folder / "notes.dat", naming(TextId::MacroImportNoMacros, folder / "notes.dat")},
        {advanced::kExportMacros, folder / "missing" / "x.dat",
         naming(TextId::MacroFileNotWritten, folder / "missing" / "x.dat")},
        {advanced::kImportMacros, folder / "gone.dat", UiText(TextId::FileMissing)},
    };
    for (const Failure& failure : failures) {
        f.messages.shown.clear();
        f.dialogs.chosenFile = failure.file;
        f.Click(f.AdvancedCentre(failure.control));
        QCOMPARE(f.messages.shown.size(), size_t(1));
        QCOMPARE(QString::fromStdString(f.messages.shown[0].second), failure.said);
        QCOMPARE(f.MacroLines(), (Lines{"Imported"}));
    }
}

void MacroEditorWidgetsTest::recordingGrowsTheListLive() {
    EditorFixture f;
    f.Click(f.AdvancedCentre(advanced::kRecord));
    QVERIFY(f.fakeCapture.Active());
    QCOMPARE(f.Label(advanced::kRecord), QStringLiteral("Stop"));
    QVERIFY(f.EventLines().isEmpty());
    QCOMPARE(f.RepeatCountEdit()->text(), QStringLiteral("1"));
    QVERIFY(!f.RepeatCountEdit()->isEnabled());

    f.clock.now = 1000;
    f.fakeCapture.Down(0x41);
    QTRY_COMPARE(f.EventLines(), (Lines{"[↓]A"}));
    f.clock.now = 1250;
    f.fakeCapture.Down(0x41);  // auto-repeat
    f.fakeCapture.Up(0x41);
    QTRY_COMPARE(f.EventLines(), (Lines{"[↓]A", "    250ms", "[↑]A"}));
    QCOMPARE(f.EventList()->currentRow(), 2);
    QCOMPARE(f.Label(advanced::kDownLinesText), QStringLiteral("[↓]1"));
    QCOMPARE(f.Label(advanced::kUpLinesText), QStringLiteral("[↑]1"));

    // The context menu stays shut while recording.
    {
        MenuAnswer none({});
        QTest::mouseClick(f.EventList()->viewport(), Qt::RightButton, {}, f.LinePoint(0));
        QTest::qWait(50);
        QVERIFY(!none.Answered());
    }

    f.Click(f.AdvancedCentre(advanced::kRecord));
    QVERIFY(!f.fakeCapture.Active());
    QCOMPARE(f.Label(advanced::kRecord), QStringLiteral("Record"));
    QCOMPARE(int(f.macros.User(0).eventCount()), 2);
    QCOMPARE(int(f.macros.User(0).Delay(1)), 30);

    // A capture the system refuses is told, and nothing is recorded.
    f.fakeCapture.refuse = true;
    f.Click(f.AdvancedCentre(advanced::kRecord));
    QCOMPARE(f.Label(advanced::kRecord), QStringLiteral("Record"));
    QCOMPARE(f.messages.shown.size(), size_t(1));
    QCOMPARE(f.messages.shown[0].second, std::string(Text(TextId::RecordingUnavailable, Language::English())));
    QCOMPARE(f.EventLines(), (Lines{"[↓]A", "    250ms", "[↑]A"}));
}

void MacroEditorWidgetsTest::recordingStopsWheneverTheKeyboardMustBeGivenBack() {
    using namespace orv::region;
    const struct {
        const char* what;
        std::function<void(EditorFixture&)> act;
    } cases[] = {
        {"page left", [](EditorFixture& f) { f.Click(f.MainCentre(main::kMainTab)); }},
        {"import dialog", [](EditorFixture& f) { f.Click(f.AdvancedCentre(advanced::kImportMacros)); }},
        {"export dialog", [](EditorFixture& f) { f.Click(f.AdvancedCentre(advanced::kExportMacros)); }},
        // What the defaults and language buttons and Exit Driver ask first.
        {"unsaved work settled", [](EditorFixture& f) { f.events.SettleUnsavedWork(); }},
        {"window out of sight", [](EditorFixture& f) { f.events.OutOfSight(); }},
    };
    for (const auto& c : cases) {
        EditorFixture f;
        bool capturedAtDialog = false;
        f.dialogs.whenOpened = [&] { capturedAtDialog = f.fakeCapture.Active(); };
        f.Click(f.AdvancedCentre(advanced::kRecord));
        QVERIFY2(f.fakeCapture.Active(), c.what);
        c.act(f);
        QVERIFY2(!f.fakeCapture.Active(), c.what);
        QVERIFY2(!capturedAtDialog, c.what);
        QVERIFY2(f.Label(advanced::kRecord) == QStringLiteral("Record"), c.what);
    }
}

void MacroEditorWidgetsTest::windowGrabRecordsKeysInsteadOfTypingThem() {
    if (test::OnWindows()) {
        QSKIP("Windows records through the low-level keyboard hook, tried in the installed program");
    }
    struct Keys : KeySink {
        void OnKeyMessage(KeyMessage message, uint8_t virtualKey) override { got.push_back({message, virtualKey}); }
        std::vector<std::pair<KeyMessage, int>> got;
    } keys;
    QWidget window;
    auto* edit = new QLineEdit(&window);
    window.show();
    edit->setFocus();

    // The offscreen system grants no grab: recording must not start.
    WindowKeyboardGrab everywhere(window, WindowKeyboardGrab::Reach::AllApplications);
    QVERIFY(!everywhere.Start(keys));
    QVERIFY(!everywhere.Active());

    WindowKeyboardGrab focused(window, WindowKeyboardGrab::Reach::WhileFocused);
    QVERIFY(focused.Start(keys));
    // X11 key codes: 38 is A, 50 left Shift; auto-repeat comes as release and press pairs.
    const struct {
        QEvent::Type type;
        quint32 code;
        bool autoRepeat;
    } sent[] = {
        {QEvent::KeyPress, 50, false}, {QEvent::KeyPress, 38, false},   {QEvent::KeyRelease, 38, true},
        {QEvent::KeyPress, 38, true},  {QEvent::KeyRelease, 38, false}, {QEvent::KeyRelease, 50, false},
    };
    for (const auto& s : sent) {
        QKeyEvent event(s.type, s.code == 38 ? Qt::Key_A : Qt::Key_Shift, {}, s.code, 0, 0,
                        s.code == 38 ? QStringLiteral("a") : QString(), s.autoRepeat);
        QApplication::sendEvent(edit, &event);
    }
    const std::vector<std::pair<KeyMessage, int>> expected{{KeyMessage::KeyDown, 0xA0},
                                                           {KeyMessage::KeyDown, 0x41},
                                                           {KeyMessage::KeyDown, 0x41},
                                                           {KeyMessage::KeyUp, 0x41},
                                                           {KeyMessage::KeyUp, 0xA0}};
    QCOMPARE(keys.got, expected);
    QVERIFY(edit->text().isEmpty());

    focused.Stop();
    QTest::keyClick(edit, Qt::Key_B);
    QCOMPARE(edit->text(), QStringLiteral("b"));
    QCOMPARE(keys.got.size(), expected.size());
}

void MacroEditorWidgetsTest::escapeWhileRecordingIsRecordedAndClosesNothing() {
    EditorFixture f(EditorFixture::Keyboard::WindowGrab);
    const auto filter = InstallKeyFilter(f.window, {});
    WindowKeyboardGrab& grab = *f.grab;
    QLineEdit& name = *f.MacroNameEdit();
    name.setFocus();
    f.Click(f.AdvancedCentre(advanced::kRecord));
    QVERIFY(grab.Active());

    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent escape(type, Qt::Key_Escape, {}, 9, 0x1B, 0);
        QApplication::sendEvent(f.EventList(), &escape);
    }
    QTest::keyClick(&name, Qt::Key_X);
    QTRY_COMPARE(EditorFixture::Texts(f.EventList()), (Lines{"[↓]ESCAPE", "    0ms", "[↑]ESCAPE"}));
    QCOMPARE(name.text(), QStringLiteral("Alpha"));
    QVERIFY(f.window.isVisible());
    QVERIFY(f.EventList() != nullptr);

    f.Click(f.AdvancedCentre(advanced::kRecord));
    QVERIFY(!grab.Active());
}

QTEST_MAIN(MacroEditorWidgetsTest)
#include "tst_macroeditor.moc"
