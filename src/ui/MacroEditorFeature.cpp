#include "ui/MacroEditorFeature.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWidget>
#include <memory>

#include "common/Texts.h"
#include "common/Utf.h"
#include "common/Messages.h"
#include "session/Session.h"
#include "ui/MainWindowPages.h"
#include "ui/ownerdrawnmenus/OwnerDrawnMenus.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "ui/WindowEvents.h"
#include "ui/WindowHost.h"
#include "ui/WindowKeyboardGrab.h"

namespace orv {

namespace {

constexpr const char* kMacroFileFilter = "All Files(*.dat)|*.dat||";
constexpr const char* kMacroFileExtension = "dat";

// Where the system offers a program no keyboard hook, the window grabs the keyboard itself.
std::unique_ptr<KeyboardCapture> CaptureFor(QWidget& window) {
    std::unique_ptr<KeyboardCapture> capture = CreateSystemKeyboardCapture();
    return capture != nullptr ? std::move(capture) : CreateWindowKeyboardCapture(window);
}

}  // namespace

// The editor starts on the last key line of the selected macro: the macros are loaded before
// the window's features are made.
MacroEditorFeature::MacroEditorFeature(const FeatureContext& context, KeyboardCapture* capture, TimeOfDay* clock)
    : context_(context),
      systemCapture_(capture == nullptr ? CaptureFor(context.window) : nullptr),
      editor_({context.session.Macros(), context.session.Settings().macroMode, context.session.CurrentLanguage(),
               capture != nullptr ? *capture : *systemCapture_, clock != nullptr ? *clock : SystemTimeOfDay(),
               context.messages, *this}),
      controls_(editor_) {
    editor_.InitClickedLine();
    qApp->installEventFilter(this);
    Register();
}

MacroEditorFeature::~MacroEditorFeature() { qApp->removeEventFilter(this); }

void MacroEditorFeature::Register() {
    using namespace region::advanced;
    MainWindowPages& pages = context_.pages;
    const auto press = [&](int32_t region, std::function<void()> act) {
        pages.AddPressRow(kAdvancedPage, kAdvancedTable, region, region, [act](RegionHit) { act(); });
    };
    press(kImportMacros, [this] { ImportMacros(); });
    press(kExportMacros, [this] { ExportMacros(); });
    press(kAddMacro, [this] { Run([this] { editor_.AddMacro(); }); });
    press(kDeleteMacro, [this] { Run([this] { editor_.DeleteMacro(); }); });
    press(kRecord, [this] { Run([this] { editor_.ToggleRecording(); }); });
    press(kStoreRepeatCount, [this] { StoreRepeatCount(); });
    press(kRepeat, [this] { Run([this] { editor_.ToggleRepeat(); }); });
    pages.OnPageShown(kAdvancedPage, [this] { EnterPage(); });
    pages.OnPageLeft(kAdvancedPage, [this] { LeavePage(); });

    pages.AddLayer(kAdvancedPage, [this](const PageFrame& frame) {
        if (editor_.Recording())
            frame.Press(kRecord);
        if (SelectedMacroRepeats())
            frame.Press(kRepeat);
    });
    const Language& language = context_.session.CurrentLanguage();
    pages.AddLabel(kAdvancedTable, kRecord,
                   [this, &language] { return UiText(editor_.Recording() ? TextId::Stop : TextId::Record, language); });
    pages.AddLabel(kAdvancedTable, kDownLinesText,
                   [this] { return QString::fromUtf8("[↓]") + QString::number(editor_.DownLines()); });
    pages.AddLabel(kAdvancedTable, kUpLinesText,
                   [this] { return QString::fromUtf8("[↑]") + QString::number(editor_.UpLines()); });

    WindowEvents& events = context_.events;
    // A keyboard captured for a recording never outlives the window that shows how to stop it.
    events.OnOutOfSight([this] { StopRecording(); });
    events.GuardUnsavedWork([this] { return SettleUnsavedEdits(); });
    events.OnUserMacrosReplaced([this] { ShowReplacedMacros(); });
}

void MacroEditorFeature::ImportMacros() {
    StopRecording();
    if (!SettleUnsavedEdits())
        return;
    const auto file =
        context_.dialogs.ChooseFileToOpen({kMacroFileFilter, context_.session.Folders().AppDirectory, {}});
    if (!file)
        return;
    switch (editor_.ImportMacros(*file)) {
    case MacroImport::Unreadable:
        TellAboutFile(TextId::MacroImportUnreadable, *file);
        break;
    case MacroImport::NoMacros:
        TellAboutFile(TextId::MacroImportNoMacros, *file);
        break;
    case MacroImport::Done:
    case MacroImport::Missing:  // told by the editor, as a missing macro file always is
        break;
    }
    ShowControls();
}

void MacroEditorFeature::ExportMacros() {
    StopRecording();
    const auto file = context_.dialogs.ChooseFileToSave(
        {kMacroFileFilter, context_.session.Folders().AppDirectory, kMacroFileExtension});
    if (file)
        TellNotWritten(editor_.ExportMacros(*file), *file);
}

bool MacroEditorFeature::StoreRepeatCount() {
    WriteResult saved = WriteResult::Kind::Written;
    Run([this, &saved] { saved = editor_.StoreRepeatCount(); });
    TellNotWritten(saved, context_.session.Macros().userMacroFile);
    return static_cast<bool>(saved);
}

// Stopping the recording comes first: the question must not open while the keyboard is captured.
// A failed save stops the action, since going on would lose what could not be saved.
bool MacroEditorFeature::SettleUnsavedEdits() {
    StopRecording();
    controls_.CommitEdit();
    if (!context_.session.Macros().UserMacrosUnsaved())
        return true;
    const Language language = context_.session.CurrentLanguage();
    switch (context_.dialogs.AskToSave(Text(TextId::ProgramName, language),
                                       Text(TextId::UnsavedMacrosQuestion, language), language)) {
    case UnsavedChoice::Save:
        return StoreRepeatCount();
    case UnsavedChoice::Discard:
        return true;
    case UnsavedChoice::Cancel:
        break;
    }
    return false;
}

void MacroEditorFeature::StopRecording() {
    Run([this] { editor_.StopRecording(); });
}

// The controls are made anew at the current layout each time the page is shown.
void MacroEditorFeature::EnterPage() {
    controls_.Create(context_.window, context_.pages.TextFont(), context_.skin.ControlRects);
    context_.host.UpdateNow();
    editor_.ResetControls();
    Run([this] { editor_.RefreshMacroList(); });
    context_.host.UpdateNow();
}

// A delay being typed is kept, as a click elsewhere in the page would keep it; the controls
// going with the page would otherwise take it with them.
void MacroEditorFeature::LeavePage() {
    StopRecording();
    controls_.CommitEdit();
    controls_.Destroy();
}

void MacroEditorFeature::ShowReplacedMacros() {
    if (context_.pages.State().CurrentPage == kAdvancedPage)
        Run([this] { editor_.RefreshMacroList(); });
    context_.host.Repaint();
}

bool MacroEditorFeature::SelectedMacroRepeats() const {
    const MacroStore& store = context_.session.Macros();
    const int selected = store.selectedMacro;
    return selected >= 0 && selected < MacroStore::kUserSlots && store.User(selected).repeatOn() == 1;
}

// Recording takes no right-button clicks: the menu's changes would go into the macro being
// recorded.
void MacroEditorFeature::OnRightButtonUp(QPoint globalPoint) {
    if (controls_.EventList() == nullptr || editor_.Recording())
        return;
    const bool open = editor_.ShowEventMenu(PointerAt(globalPoint));
    ShowControls();
    if (open)
        RunEventMenu(globalPoint);
}

// A release travels from the control under the cursor up to the window, passing this filter at
// each step; the menu opens once, after the release has been handled.
bool MacroEditorFeature::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (mouse->button() != Qt::RightButton || widget == nullptr || widget->window() != &context_.window)
        return false;
    rightButtonPoint_ = mouse->globalPosition().toPoint();
    if (!rightButtonQueued_) {
        rightButtonQueued_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                rightButtonQueued_ = false;
                OnRightButtonUp(rightButtonPoint_);
            },
            Qt::QueuedConnection);
    }
    return false;
}

// The editor asks for a repaint whenever what the page draws changes, also while a recording
// adds keys outside any call made here: the controls follow once the editor is done, unless a
// call made here has shown them by then.
void MacroEditorFeature::Repaint() {
    context_.host.Repaint();
    if (showQueued_)
        return;
    showQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (showQueued_)
                ShowControls();
        },
        Qt::QueuedConnection);
}

void MacroEditorFeature::Focus(EditorControl control) { controls_.Focus(control); }

template <typename Operation>
void MacroEditorFeature::Run(Operation operation) {
    operation();
    ShowControls();
}

void MacroEditorFeature::ShowControls() {
    showQueued_ = false;
    controls_.Show();
}

// The list's client area without its frame and scroll bar, in screen coordinates.
EventListPointer MacroEditorFeature::PointerAt(QPoint globalPoint) const {
    const CEditableListBox& list = *controls_.EventList();
    const QWidget& client = *list.viewport();
    const QRect area(client.mapToGlobal(QPoint(0, 0)), client.size());
    EventListPointer pointer;
    pointer.firstVisibleLine = list.verticalScrollBar()->value();
    pointer.itemHeight = list.ItemHeight();
    pointer.cursorY = globalPoint.y();
    pointer.listTop = area.top();
    pointer.insideList = area.contains(globalPoint);
    return pointer;
}

// The command runs once the menu has closed, so a message it shows is not opened from inside
// the menu.
void MacroEditorFeature::RunEventMenu(QPoint globalPoint) {
    const std::unique_ptr<COrvMenu> menu(CreateEventMenu(context_.session.CurrentLanguage(), &context_.window));
    int chosen = 0;
    for (QAction* action : menu->findChildren<QAction*>()) {
        if (COrvMenu::ItemId(*action) > 0)
            connect(action, &QAction::triggered, menu.get(), [&chosen, action] { chosen = COrvMenu::ItemId(*action); });
    }
    menu->exec(globalPoint);
    if (chosen > 0)
        Run([this, chosen] { editor_.RunEventCommand(static_cast<uint32_t>(chosen)); });
}

void MacroEditorFeature::TellNotWritten(WriteResult written, const std::filesystem::path& file) {
    if (!written)
        TellAboutFile(written.Busy() ? TextId::FileBusy : TextId::MacroFileNotWritten, file);
}

void MacroEditorFeature::TellAboutFile(TextId text, const std::filesystem::path& file) {
    const Language language = context_.session.CurrentLanguage();
    const QString message = UiText(text, language).arg(QString::fromStdString(PathToUtf8(file)));
    context_.messages.ShowMessage(Text(TextId::ProgramName, language), message.toStdString());
}

}  // namespace orv
