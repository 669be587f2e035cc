#pragma once
#include <filesystem>

#include <QObject>
#include <QPoint>

#include "common/Language.h"
#include "common/Messages.h"
#include "common/Relaxed.h"
#include "common/TimeOfDay.h"
#include "macro/MacroEditor.h"
#include "macro/MacroStore.h"
#include "platform/KeyboardCapture.h"
#include "ui/EditorControls.h"
#include "ui/MacroEditorController.h"
#include "ui/RecordingController.h"
#include "ui/UserDialogs.h"
#include "ui/WindowHost.h"

class QWidget;

namespace orv {

struct MacroEditorFeatureContext {
    MacroStore& store;
    Relaxed<int32_t>& macroMode;  // of the working profile
    const Language& language;
    KeyboardCapture& capture;
    TimeOfDay& clock;
    MessageSink& messages;
    UserDialogs& dialogs;
    WindowHost& host;
    // The main window: the controls are its children, the menu and the dialogs its own.
    QWidget& window;
    // Where the macro file dialogs open.
    std::filesystem::path appDirectory;
};

// The macro editor of the advanced page in the window: the editor's operations behind the
// page's skinned controls, its four controls, the event list's context menu, the macro file
// dialogs and recording.
//
// A right-button release anywhere in the window, while the page is shown and nothing is being
// recorded, works out the event-list line under the cursor and opens the context menu when
// the cursor is over the list.
class MacroEditorFeature : public QObject,
                           public MacroEditorController,
                           public RecordingController,
                           private EditorWindow {
public:
    explicit MacroEditorFeature(const MacroEditorFeatureContext& context);
    ~MacroEditorFeature() override;
    MacroEditorFeature(const MacroEditorFeature&) = delete;
    MacroEditorFeature& operator=(const MacroEditorFeature&) = delete;

    MacroEditor& Editor() { return editor_; }

    // MacroEditorController
    void RefreshMacroList(const AdvancedPageControls& controls) override;
    // Both stop a recording before their dialog opens; cancelling the dialog changes nothing.
    // A file that cannot be read or written is told to the user.
    void ImportMacros() override;
    void ExportMacros() override;
    void AddMacro() override;
    void DeleteMacro() override;
    // A user macro file that cannot be written is told to the user.
    void StoreRepeatCount() override;
    void ToggleRepeat() override;
    bool SettleUnsavedEdits() override;

    // RecordingController
    void ToggleRecording() override;
    void StopRecording() override;

    // A right-button release at this screen point.
    void OnRightButtonUp(QPoint globalPoint);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // EditorWindow
    void Repaint() override;
    void Focus(EditorControl control) override;

    // Runs an operation of the editor and shows its outcome in the controls.
    template <typename Operation>
    void Run(Operation operation);
    void ShowControls();
    EventListPointer PointerAt(QPoint globalPoint) const;
    void RunEventMenu(QPoint globalPoint);
    void TellAboutFile(TextId text, const std::filesystem::path& file);
    // StoreRepeatCount; false when the file could not be written.
    bool Store();
    void TellNotWritten(WriteResult written, const std::filesystem::path& file);

    MacroStore& store_;
    const Language& language_;
    MessageSink& messages_;
    UserDialogs& dialogs_;
    WindowHost& host_;
    QWidget& window_;
    std::filesystem::path appDirectory_;
    MacroEditor editor_;
    EditorControls controls_;
    bool showQueued_ = false;
    bool rightButtonQueued_ = false;
    QPoint rightButtonPoint_;
};

}  // namespace orv
