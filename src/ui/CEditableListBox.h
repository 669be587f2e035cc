#pragma once
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>

class QFocusEvent;
class QKeyEvent;
class QResizeEvent;

namespace orv {

class CEditableListBox;

// The in-place edit over a line of a CEditableListBox. Releasing Return ends the edit keeping
// the text, releasing Escape discards it, and losing the focus keeps it. Only the releases
// count: the window's key filter takes the presses of both keys.
class CEditHelper : public QLineEdit {
    Q_OBJECT
public:
    explicit CEditHelper(CEditableListBox& list);

protected:
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    CEditableListBox& list_;
};

// A list box whose selected line can be edited in place. Scrolling or resizing the list ends
// an open edit and keeps its text, since the edit would no longer sit over its line.
class CEditableListBox : public QListWidget {
    Q_OBJECT
public:
    explicit CEditableListBox(QWidget* parent = nullptr);

    // Opens the edit over the selected line, two pixels taller than the line above and below,
    // holding the line's text all selected, with the focus. Nothing happens without a
    // selected line.
    void BeginEdit();
    // Ends an open edit: with keep, a text that differs from the line replaces it and the line
    // is selected. EditEnded follows, whatever keep is.
    void EndEdit(bool keep);
    // Closes an open edit without a word, for whoever fills the list: the line it covered has
    // gone or changed.
    void DropEdit();

    // The line being edited; -1 while no edit is open.
    int EditIndex() const { return editIndex_; }
    CEditHelper* Editor() const { return helper_.data(); }
    // The height of a line; that of the font while the list has no lines.
    int ItemHeight() const;

Q_SIGNALS:
    // An edit has ended; text is what it held.
    void EditEnded(bool keep, const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    CEditHelper* TakeEditor();

    QPointer<CEditHelper> helper_;
    int editIndex_ = -1;
};

}  // namespace orv
