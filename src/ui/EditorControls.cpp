#include "ui/EditorControls.h"

#include <QMouseEvent>
#include <QSignalBlocker>
#include <algorithm>

namespace orv {

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Only the lines that differ change, so the list keeps its scroll position while a recording
// adds lines at its end.
void ShowLines(QListWidget& list, const std::vector<std::string>& lines) {
    const int wanted = static_cast<int>(lines.size());
    for (int i = 0; i < std::min(wanted, list.count()); ++i) {
        const QString text = FromUtf8(lines[static_cast<size_t>(i)]);
        if (list.item(i)->text() != text)
            list.item(i)->setText(text);
    }
    while (list.count() > wanted)
        delete list.takeItem(list.count() - 1);
    for (int i = list.count(); i < wanted; ++i)
        list.addItem(FromUtf8(lines[static_cast<size_t>(i)]));
}

void ShowSelection(QListWidget& list, int line) {
    if (line < 0 || line >= list.count()) {
        list.setCurrentRow(-1);
        list.clearSelection();
        return;
    }
    list.setCurrentRow(line);
    list.scrollToItem(list.item(line));
}

// Assigning the text an edit box already holds would move its cursor while the user types.
void ShowText(QLineEdit& edit, const std::string& text) {
    const QString shown = FromUtf8(text);
    if (edit.text() != shown)
        edit.setText(shown);
}

}  // namespace

void EditorControls::Attach(const AdvancedPageControls& controls) {
    repeatCountEdit_ = controls.repeatCountEdit;
    macroNameEdit_ = controls.macroNameEdit;
    macroList_ = controls.macroList;
    eventList_ = controls.eventList;
    if (macroList_) {
        macroList_->viewport()->installEventFilter(this);
        // A click below the last line selects nothing in the list but changes nothing in the
        // editor either: the list shows the editor's selection again.
        connect(macroList_, &QListWidget::currentRowChanged, this, [this](int line) {
            editor_.OnMacroSelected(line);
            Show();
        });
    }
    if (eventList_) {
        eventList_->viewport()->installEventFilter(this);
        connect(eventList_, &QListWidget::currentRowChanged, this, [this](int line) {
            editor_.SelectEventLine(line);
            Show();
        });
        connect(eventList_, &CEditableListBox::EditEnded, this, &EditorControls::OnEditEnded);
    }
    if (macroNameEdit_) {
        connect(macroNameEdit_, &QLineEdit::textEdited, this,
                [this](const QString& text) { editor_.SetNameText(text.toStdString()); });
    }
    if (repeatCountEdit_) {
        connect(repeatCountEdit_, &QLineEdit::textEdited, this,
                [this](const QString& text) { editor_.SetRepeatText(text.toStdString()); });
    }
}

bool EditorControls::IsAttached(const AdvancedPageControls& controls) const {
    return controls.macroList == macroList_ && controls.eventList == eventList_ &&
           controls.macroNameEdit == macroNameEdit_ && controls.repeatCountEdit == repeatCountEdit_;
}

// The controls change only here and only to what the view holds: nothing they report while
// being changed goes back to the editor.
void EditorControls::Show() {
    const MacroEditorView& view = editor_.View();
    if (macroList_) {
        const QSignalBlocker quiet(macroList_.data());
        ShowLines(*macroList_, view.macroLines);
        ShowSelection(*macroList_, view.macroSelection);
    }
    if (eventList_)
        ShowEventList();
    if (macroNameEdit_) {
        const QSignalBlocker quiet(macroNameEdit_.data());
        ShowText(*macroNameEdit_, view.nameText);
    }
    if (repeatCountEdit_) {
        const QSignalBlocker quiet(repeatCountEdit_.data());
        ShowText(*repeatCountEdit_, view.repeatText);
        repeatCountEdit_->setEnabled(view.repeatEnabled);
    }
}

void EditorControls::Focus(EditorControl control) {
    QWidget* target = control == EditorControl::MacroList ? static_cast<QWidget*>(macroList_.data())
                                                          : static_cast<QWidget*>(eventList_.data());
    if (target != nullptr)
        target->setFocus(Qt::OtherFocusReason);
}

void EditorControls::CommitEdit() {
    if (eventList_)
        eventList_->EndEdit(true);
}

bool EditorControls::eventFilter(QObject*, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick)
        return false;
    return static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
}

// An edit the view no longer holds is closed before the lines change under it; one the view
// has opened is opened over its line once the lines are there.
void EditorControls::ShowEventList() {
    const MacroEditorView& view = editor_.View();
    CEditableListBox& list = *eventList_;
    const QSignalBlocker quiet(&list);
    if (list.EditIndex() != view.editIndex)
        list.DropEdit();
    ShowLines(list, view.eventLines);
    ShowSelection(list, view.editIndex >= 0 ? view.editIndex : view.eventSelection);
    if (view.editIndex >= 0 && list.EditIndex() != view.editIndex) {
        list.BeginEdit();
        WatchEditor();
    }
}

void EditorControls::OnEditEnded(bool keep, const QString& text) {
    editor_.SetEditText(text.toStdString());
    editor_.EndEdit(keep);
    Show();
}

void EditorControls::WatchEditor() {
    if (CEditHelper* edit = eventList_->Editor()) {
        connect(edit, &QLineEdit::textEdited, this,
                [this](const QString& text) { editor_.SetEditText(text.toStdString()); });
    }
}

}  // namespace orv
