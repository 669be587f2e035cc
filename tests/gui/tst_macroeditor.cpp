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
    EditorFixture() {
        layout.ControlRects = {SkinRect{0, 142, 60, 158}, SkinRect{65, 142, 145, 158}, SkinRect{100, 20, 160, 78},
                               SkinRect{165, 20, 235, 78}};
        store.userMacroFile = skin.AppDirectory() / "Macro_EN.dat";
        SetMacro(0, u"Alpha", {{0x04, 1, 100}, {0x04, 2, 101}, {0x05, 1, 102}, {0x05, 2, 103}});
        SetMacro(1, u"Beta", {});
        store.macroCount = 2;
        store.selectedMacro = 0;
        PageFeatures all = features.All();
        all.macroEditor = &feature;
        all.recording = &feature;
        pages.SetFeatures(all);
        model.recording = [this] { return feature.Editor().Recording(); };
        model.downLines = [this] { return feature.Editor().DownLines(); };
        model.upLines = [this] { return feature.Editor().UpLines(); };
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        OnPage(kAdvancedPage);
    }

    void SetMacro(int slot, const std::u16string& name, const std::vector<Event>& events) {
        MacroSlot& macro = store.User(slot);
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
    Lines MacroLines() const { return Texts(pages.MacroList()); }
    Lines EventLines() const { return Texts(pages.EventList()); }

    // Where line `line` of the event list shows, in the list's viewport.
    QPoint LinePoint(int line) const {
        const QListWidget& list = *pages.EventList();
        const int h = list.sizeHintForRow(0);
        return {10, (line - list.verticalScrollBar()->value()) * h + h / 2};
    }
    // Clicks a line of a list as the user does.
    static void ClickLine(QListWidget* list, int line) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(line)).center());
    }

    MacroStore store;
    test::FakeKeyboardCapture capture;
    SetTime clock;
    test::RecordingMessages messages;
    orv::testing::FakeDialogs files;
    MacroEditorFeature feature{
        {store, settings.macroMode, language, capture, clock, messages, files, host, window, skin.AppDirectory()}};
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

void MacroEditorWidgetsTest::controlsMirrorTheEditor() {
    EditorFixture f;
    QCOMPARE(f.MacroLines(), (Lines{"Alpha", "Beta"}));
    QCOMPARE(f.pages.MacroList()->currentRow(), 0);
    QCOMPARE(f.EventLines(), (Lines{"[↓]A", "    100ms", "[↑]A", "    101ms", "[↓]B", "    102ms", "[↑]B"}));
    QCOMPARE(f.pages.EventList()->currentRow(), 0);  // ClickedLine
    QCOMPARE(f.pages.MacroNameEdit()->text(), QStringLiteral("Alpha"));
    QCOMPARE(f.pages.RepeatCountEdit()->text(), QStringLiteral("1"));
    QVERIFY(!f.pages.RepeatCountEdit()->isEnabled());
    QCOMPARE(f.pages.MacroNameEdit()->alignment(), Qt::AlignCenter);

    // Selecting in the list shows that macro.
    EditorFixture::ClickLine(f.pages.MacroList(), 1);
    QCOMPARE(f.store.selectedMacro.load(), 1);
    QCOMPARE(f.pages.MacroNameEdit()->text(), QStringLiteral("Beta"));
    QVERIFY(f.EventLines().isEmpty());

    // A name typed and added becomes the selected last line.
    f.pages.MacroNameEdit()->clear();
    QTest::keyClicks(f.pages.MacroNameEdit(), QStringLiteral("Gamma"));
    f.Click(f.AdvancedCentre(advanced::kAddMacro));
    QCOMPARE(f.MacroLines(), (Lines{"Alpha", "Beta", "Gamma"}));
    QCOMPARE(f.pages.MacroList()->currentRow(), 2);
    QCOMPARE(int(f.store.macroCount), 3);

    // Repeat on shows the count and lets it be typed; storing corrects it and writes the file.
    f.Click(f.AdvancedCentre(advanced::kRepeat));
    QVERIFY(f.pages.RepeatCountEdit()->isEnabled());
    f.pages.RepeatCountEdit()->clear();
    QTest::keyClicks(f.pages.RepeatCountEdit(), QStringLiteral("70000"));
    f.Click(f.AdvancedCentre(advanced::kStoreRepeatCount));
    QCOMPARE(f.pages.RepeatCountEdit()->text(), QStringLiteral("65535"));
    QCOMPARE(int(f.store.User(2).repeatCount()), 65535);
    QCOMPARE(ini::Read(f.store.userMacroFile, "Macros", "macroNum", 10), std::string("3"));

    // Deleting the first macro moves the others down and shows the one before the deleted.
    EditorFixture::ClickLine(f.pages.MacroList(), 0);
    f.Click(f.AdvancedCentre(advanced::kDeleteMacro));
    QCOMPARE(f.MacroLines(), (Lines{"Beta", "Gamma"}));
    QCOMPARE(f.pages.MacroList()->currentRow(), 0);
    QCOMPARE(f.pages.MacroNameEdit()->text(), QStringLiteral("Beta"));
    QVERIFY(f.messages.shown.empty());

    // A user macro file that cannot be written is told.
    f.store.userMacroFile = f.skin.AppDirectory() / "no-such-folder" / "Macro_EN.dat";
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
    QTest::mouseClick(f.pages.EventList()->viewport(), Qt::RightButton, {}, f.LinePoint(line));
    QTRY_VERIFY(answer.Answered());
    QCOMPARE(answer.TopLevel(), english ? (QStringList{"Add Forward", "Add Backward", "Modify Delay", "Delete"})
                                        : (QStringList{"项前插入    ", "项后插入", "修改延迟", "删除"}));

    Lines keys;
    for (int i = 0; i < f.EventLines().size(); i += 2)
        keys << f.EventLines()[i];
    QCOMPARE(keys, keysAfter);
    // The list shows the store's macro, inserted events with their 30 ms.
    QCOMPARE(int(f.store.User(0).eventCount()), keysAfter.size());
    QCOMPARE(f.EventLines().size(), 2 * keysAfter.size() - 1);
}

void MacroEditorWidgetsTest::rightClickLineFollowsScrollingAndEmptyLists() {
    EditorFixture f;
    CEditableListBox& list = *f.pages.EventList();
    QVERIFY2(list.verticalScrollBar()->maximum() >= 2, "the fixture's list must scroll");
    // Scrolled by the wheel while another control has the focus, which the click then moves.
    f.pages.MacroNameEdit()->setFocus();
    QTRY_VERIFY(f.pages.MacroNameEdit()->hasFocus());
    list.verticalScrollBar()->setValue(2);
    {
        MenuAnswer answer({});
        QTest::mouseClick(list.viewport(), Qt::RightButton, {}, f.LinePoint(3));
        QTRY_VERIFY(answer.Answered());
    }
    QCOMPARE(f.feature.Editor().ClickedLine(), 3);
    QCOMPARE(list.currentRow(), 3);

    // Outside the list the line is still worked out, but no menu opens.
    {
        MenuAnswer none({});
        QListWidget& macros = *f.pages.MacroList();
        QTest::mouseClick(macros.viewport(), Qt::RightButton, {}, macros.visualItemRect(macros.item(1)).center());
        QTest::qWait(50);
        QVERIFY(!none.Answered());
    }
    QCOMPARE(f.store.selectedMacro.load(), 0);  // a right press selects nothing

    // An empty list opens the menu anywhere in it; adding behind puts the event first.
    EditorFixture::ClickLine(f.pages.MacroList(), 1);
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
    CEditableListBox& list = *f.pages.EventList();

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
        f.pages.MacroNameEdit()->setFocus();
    else if (ending == QLatin1String("scroll"))
        list.verticalScrollBar()->setValue(list.verticalScrollBar()->value() + 1);
    else if (ending == QLatin1String("page"))
        f.Click(f.MainCentre(orv::region::main::kMainTab));
    else {
        f.files.unsavedAnswer = UnsavedChoice::Save;
        f.Click(f.MainCentre(orv::region::main::kChinese));
        QCOMPARE(f.files.opened.back().kind, std::string("unsaved"));
        MacroStore saved;
        QCOMPARE(LoadMacroFile(f.store.userMacroFile, MacroTarget::User, saved, f.messages), ini::FileState::Read);
        QCOMPARE(int(saved.User(0).Delay(1)), storedDelay);
    }

    if (f.pages.EventList() != nullptr)
        QTRY_VERIFY(f.pages.EventList()->Editor() == nullptr);
    f.OnPage(kAdvancedPage);
    CEditableListBox& shown = *f.pages.EventList();
    QTRY_VERIFY(shown.Editor() == nullptr);
    QCOMPARE(int(f.store.User(0).Delay(1)), storedDelay);
    QCOMPARE(f.EventLines()[3], lineAfter);
    QCOMPARE(shown.EditIndex(), -1);
    QVERIFY(f.window.isVisible());
}

void MacroEditorWidgetsTest::fileDialogs() {
    EditorFixture f;
    const auto folder = f.skin.AppDirectory();

    // Export: the save dialog with the macro filter in the program's folder; cancel writes nothing.
    f.Click(f.AdvancedCentre(advanced::kExportMacros));
    QCOMPARE(f.files.opened.size(), size_t(1));
    QCOMPARE(f.files.opened[0].kind, std::string("save"));
    QCOMPARE(f.files.opened[0].options.filter, kMacroFilter);
    QCOMPARE(f.files.opened[0].options.initialFolder, folder);
    QCOMPARE(f.files.opened[0].options.defaultExtension, std::string("dat"));
    f.files.chosenFile = folder / "out.dat";
    f.Click(f.AdvancedCentre(advanced::kExportMacros));
    QCOMPARE(ini::Read(folder / "out.dat", "Macros", "macroNum", 10), std::string("2"));

    // Import: the open dialog has no default extension; the list shows what was read.
    MacroStore other;
    other.User(0).SetName(u"Imported");
    other.macroCount = 1;
    QVERIFY(SaveMacroFile(folder / "in.dat", other));
    f.files.chosenFile = folder / "in.dat";
    f.Click(f.AdvancedCentre(advanced::kImportMacros));
    QCOMPARE(f.files.opened.back().kind, std::string("open"));
    QCOMPARE(f.files.opened.back().options.defaultExtension, std::string());
    QCOMPARE(f.files.opened.back().options.filter, kMacroFilter);
    QCOMPARE(f.MacroLines(), (Lines{"Imported"}));
    QVERIFY(f.EventLines().isEmpty());
    QVERIFY(f.messages.shown.empty());

    f.files.chosenFile.reset();
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
        f.files.chosenFile = failure.file;
        f.Click(f.AdvancedCentre(failure.control));
        QCOMPARE(f.messages.shown.size(), size_t(1));
        QCOMPARE(QString::fromStdString(f.messages.shown[0].second), failure.said);
        QCOMPARE(f.MacroLines(), (Lines{"Imported"}));
    }
}

void MacroEditorWidgetsTest::recordingGrowsTheListLive() {
    EditorFixture f;
    f.Click(f.AdvancedCentre(advanced::kRecord));
    QVERIFY(f.capture.Active());
    QVERIFY(f.model.recording());
    QVERIFY(f.EventLines().isEmpty());
    QCOMPARE(f.pages.RepeatCountEdit()->text(), QStringLiteral("1"));
    QVERIFY(!f.pages.RepeatCountEdit()->isEnabled());

    f.clock.now = 1000;
    f.capture.Down(0x41);
    QTRY_COMPARE(f.EventLines(), (Lines{"[↓]A"}));
    f.clock.now = 1250;
    f.capture.Down(0x41);  // auto-repeat
    f.capture.Up(0x41);
    QTRY_COMPARE(f.EventLines(), (Lines{"[↓]A", "    250ms", "[↑]A"}));
    QCOMPARE(f.pages.EventList()->currentRow(), 2);
    QCOMPARE(f.model.downLines(), 1);
    QCOMPARE(f.model.upLines(), 1);

    // The context menu stays shut while recording.
    {
        MenuAnswer none({});
        QTest::mouseClick(f.pages.EventList()->viewport(), Qt::RightButton, {}, f.LinePoint(0));
        QTest::qWait(50);
        QVERIFY(!none.Answered());
    }

    f.Click(f.AdvancedCentre(advanced::kRecord));
    QVERIFY(!f.capture.Active());
    QVERIFY(!f.model.recording());
    QCOMPARE(int(f.store.User(0).eventCount()), 2);
    QCOMPARE(int(f.store.User(0).Delay(1)), 30);

    // A capture the system refuses is told, and nothing is recorded.
    f.capture.refuse = true;
    f.Click(f.AdvancedCentre(advanced::kRecord));
    QVERIFY(!f.model.recording());
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
        {"defaults", [](EditorFixture& f) { f.Click(f.MainCentre(main::kDefaults)); }},
        {"language", [](EditorFixture& f) { f.Click(f.MainCentre(main::kChinese)); }},
    };
    for (const auto& c : cases) {
        EditorFixture f;
        bool capturedAtDialog = false;
        f.files.whenOpened = [&] { capturedAtDialog = f.capture.Active(); };
        f.Click(f.AdvancedCentre(advanced::kRecord));
        QVERIFY2(f.capture.Active(), c.what);
        c.act(f);
        QVERIFY2(!f.capture.Active(), c.what);
        QVERIFY2(!capturedAtDialog, c.what);
        QVERIFY2(!f.feature.Editor().Recording(), c.what);
    }
}

void MacroEditorWidgetsTest::windowGrabRecordsKeysInsteadOfTypingThem() {
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
    EditorFixture f;
    const auto filter = InstallKeyFilter(f.window, {});
    WindowKeyboardGrab grab(f.window, WindowKeyboardGrab::Reach::WhileFocused);
    MacroEditorFeature feature({f.store, f.settings.macroMode, f.language, grab, f.clock, f.messages, f.files, f.host,
                                f.window, f.skin.AppDirectory()});
    PageFeatures all = f.features.All();
    all.macroEditor = &feature;
    all.recording = &feature;
    f.pages.SetFeatures(all);
    f.OnPage(kMainPage);
    f.OnPage(kAdvancedPage);
    QLineEdit& name = *f.pages.MacroNameEdit();
    name.setFocus();
    f.Click(f.AdvancedCentre(advanced::kRecord));
    QVERIFY(grab.Active());

    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent escape(type, Qt::Key_Escape, {}, 9, 0x1B, 0);
        QApplication::sendEvent(f.pages.EventList(), &escape);
    }
    QTest::keyClick(&name, Qt::Key_X);
    QTRY_COMPARE(EditorFixture::Texts(f.pages.EventList()), (Lines{"[↓]ESCAPE", "    0ms", "[↑]ESCAPE"}));
    QCOMPARE(name.text(), QStringLiteral("Alpha"));
    QVERIFY(f.window.isVisible());
    QVERIFY(f.pages.EventList() != nullptr);

    f.Click(f.AdvancedCentre(advanced::kRecord));
    QVERIFY(!grab.Active());
}

QTEST_MAIN(MacroEditorWidgetsTest)
#include "tst_macroeditor.moc"
