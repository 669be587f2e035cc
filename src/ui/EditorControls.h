#pragma once
#include <QLineEdit>
#include <QListWidget>
#include <QObject>
#include <QPointer>
#include <array>

#include "macro/MacroEditor.h"
#include "skin/SkinLayout.h"
#include "ui/CEditableListBox.h"

namespace orv {

// Ids of the advanced page's controls, as other code finds them.
inline constexpr int kRepeatCountEditId = 10004;
inline constexpr int kMacroNameEditId = 10000;
inline constexpr int kMacroListId = 10001;
inline constexpr int kEventListId = 10002;

// The advanced page's four editor controls as mirrors of the macro editor's view. They exist only
// while the page is shown: Create makes them as children of the window over the skin's control
// rectangles, Destroy takes them away, and the window may delete them first, so they are held
// guarded and each may be gone. Show makes them show what the view holds; what the user does in
// them (a selection, typing, an in-place edit ended) goes to the editor and is shown back.
class EditorControls : public QObject {
public:
    explicit EditorControls(MacroEditor& editor) : editor_(editor) {}
    ~EditorControls() override { Destroy(); }

    void Create(QWidget& window, const QFont& font, const std::array<SkinRect, kControlRectCount>& rects);
    void Destroy();

    void Show();
    void Focus(EditorControl control);
    // Ends an open in-place edit keeping what it holds, as losing the focus would.
    void CommitEdit();

    QListWidget* MacroList() const { return macroList_.data(); }
    CEditableListBox* EventList() const { return eventList_.data(); }

protected:
    // A right-button press on a list selects nothing, as in a list box of the system.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Connect();
    void ShowEventList();
    void OnEditEnded(bool keep, const QString& text);
    void WatchEditor();

    MacroEditor& editor_;
    QPointer<QLineEdit> repeatCountEdit_;
    QPointer<QLineEdit> macroNameEdit_;
    QPointer<QListWidget> macroList_;
    QPointer<CEditableListBox> eventList_;
};

}  // namespace orv
