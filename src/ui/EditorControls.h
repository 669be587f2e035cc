#pragma once
#include <QLineEdit>
#include <QListWidget>
#include <QObject>
#include <QPointer>

#include "macro/MacroEditor.h"
#include "ui/AdvancedPageControls.h"
#include "ui/CEditableListBox.h"

namespace orv {

// The advanced page's four editor controls as mirrors of the macro editor's view. Show makes
// them show what the view holds; what the user does in them (a selection, typing, an in-place
// edit ended) goes to the editor and is shown back. The controls live only while the page is
// shown, so they are held guarded and each may be gone.
class EditorControls : public QObject {
public:
    explicit EditorControls(MacroEditor& editor) : editor_(editor) {}

    // The controls the page has just made; what they did before is not looked at.
    void Attach(const AdvancedPageControls& controls);
    bool IsAttached(const AdvancedPageControls& controls) const;

    void Show();
    void Focus(EditorControl control);
    // Ends an open in-place edit keeping what it holds, as losing the focus would.
    void CommitEdit();

    QListWidget* MacroList() const { return macroList_.data(); }
    CEditableListBox* EventList() const { return eventList_.data(); }
    QLineEdit* MacroNameEdit() const { return macroNameEdit_.data(); }
    QLineEdit* RepeatCountEdit() const { return repeatCountEdit_.data(); }

protected:
    // A right-button press on a list selects nothing, as in a list box of the system.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
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
