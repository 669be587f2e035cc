#include "ui/EditorControls.h"

#include <QMouseEvent>
#include <QPalette>
#include <QSignalBlocker>
#include <algorithm>

#include "ui/DrawingGeometry.h"
#include "ui/FitWidthValidator.h"
#include "ui/MarkerText.h"

namespace orv {

namespace {

void StyleControl(QWidget& control, const QFont& font, const QRect& rect, int id, const char* name) {
    QPalette palette = control.palette();
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Window, QPalette::AlternateBase}) {
        palette.setColor(role, Qt::black);
    }
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText}) {
        palette.setColor(role, Qt::white);
    }
    // A disabled repeat count must look disabled on black as well.
    palette.setColor(QPalette::Disabled, QPalette::Text, Qt::gray);
    control.setPalette(palette);
    control.setAutoFillBackground(true);
    control.setFont(font);
    control.setGeometry(rect);
    control.setObjectName(QString::fromLatin1(name));
    control.setProperty("controlId", id);
    control.show();
}

// Centred text that never scrolls sideways, without a border.
void StyleEdit(QLineEdit& edit) {
    edit.setFrame(false);
    edit.setAlignment(Qt::AlignCenter);
    edit.setValidator(new FitWidthValidator(edit));
}

// A vertical scroll bar when the lines need one, none sideways, no border.
void StyleList(QListWidget& list) {
    list.setFrameShape(QFrame::NoFrame);
    list.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list.setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list.setSelectionMode(QAbstractItemView::SingleSelection);
}

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

void EditorControls::Create(QWidget& window, const QFont& font, const std::array<SkinRect, kControlRectCount>& rects) {
    // Entering again re-creates them at the current layout (a language switch may move them).
    Destroy();
    repeatCountEdit_ = new QLineEdit(&window);
    StyleEdit(*repeatCountEdit_);
    StyleControl(*repeatCountEdit_, font, ControlRect(rects[kRepeatCountEditRect]), kRepeatCountEditId,
                 "RepeatCountEdit");
    macroNameEdit_ = new QLineEdit(&window);
    StyleEdit(*macroNameEdit_);
    StyleControl(*macroNameEdit_, font, ControlRect(rects[kMacroNameEditRect]), kMacroNameEditId, "MacroNameEdit");
    macroList_ = new QListWidget(&window);
    StyleList(*macroList_);
    StyleControl(*macroList_, font, ControlRect(rects[kMacroListRect]), kMacroListId, "MacroList");
    eventList_ = new CEditableListBox(&window);
    StyleList(*eventList_);
    eventList_->setItemDelegate(new MarkedTextDelegate(eventList_));
    StyleControl(*eventList_, font, ControlRect(rects[kEventListRect]), kEventListId, "EventList");
    Connect();
}

void EditorControls::Destroy() {
    delete repeatCountEdit_.data();
    delete macroNameEdit_.data();
    delete macroList_.data();
    delete eventList_.data();
}

void EditorControls::Connect() {
    macroList_->viewport()->installEventFilter(this);
    // A click below the last line selects nothing in the list but changes nothing in the
    // editor either: the list shows the editor's selection again.
    connect(macroList_, &QListWidget::currentRowChanged, this, [this](int line) {
        editor_.OnMacroSelected(line);
        Show();
    });
    eventList_->viewport()->installEventFilter(this);
    connect(eventList_, &QListWidget::currentRowChanged, this, [this](int line) {
        editor_.SelectEventLine(line);
        Show();
    });
    connect(eventList_, &CEditableListBox::EditEnded, this, &EditorControls::OnEditEnded);
    connect(macroNameEdit_, &QLineEdit::textEdited, this,
            [this](const QString& text) { editor_.SetNameText(text.toStdString()); });
    connect(repeatCountEdit_, &QLineEdit::textEdited, this,
            [this](const QString& text) { editor_.SetRepeatText(text.toStdString()); });
}

// The controls change only here and only to what the view holds: nothing they report while
// being changed goes back to the editor.
void EditorControls::Show() {
    const MacroEditorView& view = editor_.View();
    if (macroList_) {
        const QSignalBlocker quiet(macroList_.data());
        ShowLines(*macroList_, view.macroLines);
        ShowSelection(*macroList_, editor_.SelectedMacroLine());
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
