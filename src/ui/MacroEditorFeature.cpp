#include "ui/MacroEditorFeature.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWidget>
#include <memory>

#include "common/Texts.h"
#include "common/Utf.h"
#include "ui/OwnerDrawnMenus.h"
#include "ui/UiText.h"

namespace orv {

namespace {

constexpr const char* kMacroFileFilter = "All Files(*.dat)|*.dat||";
constexpr const char* kMacroFileExtension = "dat";

}  // namespace

MacroEditorFeature::MacroEditorFeature(const MacroEditorFeatureContext& context)
    : store_(context.store),
      language_(context.language),
      messages_(context.messages),
      dialogs_(context.dialogs),
      host_(context.host),
      window_(context.window),
      appDirectory_(context.appDirectory),
      editor_({context.store, context.macroMode, context.language, context.capture, context.clock, context.messages,
               *this}),
      controls_(editor_) {
    qApp->installEventFilter(this);
}

MacroEditorFeature::~MacroEditorFeature() { qApp->removeEventFilter(this); }

// The page calls this with the controls it has just made, and again with the same controls to
// reload the lists while it is shown.
void MacroEditorFeature::RefreshMacroList(const AdvancedPageControls& controls) {
    if (!controls_.IsAttached(controls)) {
        controls_.Attach(controls);
        editor_.ResetControls();
    }
    Run([this] { editor_.RefreshMacroList(); });
}

void MacroEditorFeature::ImportMacros() {
    StopRecording();
    if (!SettleUnsavedEdits())
        return;
    const auto file = dialogs_.ChooseFileToOpen({kMacroFileFilter, appDirectory_, {}});
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
    const auto file = dialogs_.ChooseFileToSave({kMacroFileFilter, appDirectory_, kMacroFileExtension});
    if (file)
        TellNotWritten(editor_.ExportMacros(*file), *file);
}

void MacroEditorFeature::AddMacro() {
    Run([this] { editor_.AddMacro(); });
}

void MacroEditorFeature::DeleteMacro() {
    Run([this] { editor_.DeleteMacro(); });
}

void MacroEditorFeature::StoreRepeatCount() { Store(); }

bool MacroEditorFeature::Store() {
    WriteResult saved = WriteResult::Kind::Written;
    Run([this, &saved] { saved = editor_.StoreRepeatCount(); });
    TellNotWritten(saved, store_.userMacroFile);
    return static_cast<bool>(saved);
}

// Stopping the recording comes first: the question must not open while the keyboard is captured.
// A failed save stops the action, since going on would lose what could not be saved.
bool MacroEditorFeature::SettleUnsavedEdits() {
    StopRecording();
    controls_.CommitEdit();
    if (!store_.UserMacrosUnsaved())
        return true;
    switch (dialogs_.AskToSave(Text(TextId::ProgramName, language_), Text(TextId::UnsavedMacrosQuestion, language_),
                               language_)) {
    case UnsavedChoice::Save:
        return Store();
    case UnsavedChoice::Discard:
        return true;
    case UnsavedChoice::Cancel:
        break;
    }
    return false;
}

void MacroEditorFeature::ToggleRepeat() {
    Run([this] { editor_.ToggleRepeat(); });
}

void MacroEditorFeature::ToggleRecording() {
    Run([this] { editor_.ToggleRecording(); });
}

void MacroEditorFeature::StopRecording() {
    Run([this] { editor_.StopRecording(); });
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
    if (mouse->button() != Qt::RightButton || widget == nullptr || widget->window() != &window_)
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
    host_.Repaint();
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
    const std::unique_ptr<COrvMenu> menu(CreateEventMenu(language_, &window_));
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
    const QString message = UiText(text, language_).arg(QString::fromStdString(PathToUtf8(file)));
    messages_.ShowMessage(Text(TextId::ProgramName, language_), message.toStdString());
}

}  // namespace orv
