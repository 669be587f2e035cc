#pragma once
#include <filesystem>
#include <memory>

#include <QObject>
#include <QPoint>

#include "common/Texts.h"
#include "common/TimeOfDay.h"
#include "common/WriteResult.h"
#include "macro/MacroEditor.h"
#include "platform/KeyboardCapture.h"
#include "ui/EditorControls.h"
#include "ui/WindowFeature.h"

namespace orv {

// The macro editor of the advanced page in the window: the editor's operations behind the
// page's skinned controls (import, export, add, delete, record, store, repeat), its four
// controls while the page is shown, the event list's context menu, the macro file dialogs and
// recording. The page draws the record control pressed and captioned "Stop" while a recording
// runs, the repeat control pressed while the selected macro repeats, and the press and release
// lines of the event list.
//
// A right-button release anywhere in the window, while the page is shown and nothing is being
// recorded, works out the event-list line under the cursor and opens the context menu when
// the cursor is over the list.
class MacroEditorFeature : public QObject, public WindowFeature, private EditorWindow {
public:
    // Records through the system's keyboard capture, or where the system offers a program none,
    // through the window's own keyboard grab; and with the system's clock. Tests give their own.
    explicit MacroEditorFeature(const FeatureContext& context, KeyboardCapture* capture = nullptr,
                                TimeOfDay* clock = nullptr);
    ~MacroEditorFeature() override;
    MacroEditorFeature(const MacroEditorFeature&) = delete;
    MacroEditorFeature& operator=(const MacroEditorFeature&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Register();
    // Both stop a recording before their dialog opens; cancelling the dialog changes nothing.
    // A file that cannot be read or written is told to the user.
    void ImportMacros();
    void ExportMacros();
    // A user macro file that cannot be written is told to the user; false then.
    bool StoreRepeatCount();
    // Before something replaces the user macros in memory or ends the utility: a recording
    // ends, a delay being typed is kept, and while the macros hold changes not yet saved the
    // user chooses to save them (as storing the repeat count does), to drop them, or to cancel.
    // False when the action must not go on: cancelled, or the save failed (and the user has
    // been told).
    bool SettleUnsavedEdits();
    // Ends a running recording as the record control would; wherever the keyboard must be given
    // back (the page is left, the window hides or ends, a file dialog opens).
    void StopRecording();
    void EnterPage();
    void LeavePage();
    void ShowReplacedMacros();
    bool SelectedMacroRepeats() const;
    // A right-button release at this screen point.
    void OnRightButtonUp(QPoint globalPoint);

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
    void TellNotWritten(WriteResult written, const std::filesystem::path& file);

    FeatureContext context_;
    std::unique_ptr<KeyboardCapture> systemCapture_;
    MacroEditor editor_;
    EditorControls controls_;
    bool showQueued_ = false;
    bool rightButtonQueued_ = false;
    QPoint rightButtonPoint_;
};

}  // namespace orv
