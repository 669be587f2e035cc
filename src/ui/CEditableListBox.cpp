#include "ui/CEditableListBox.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QResizeEvent>

namespace orv {

namespace {

constexpr int kEditOverhang = 2;

}  // namespace

CEditHelper::CEditHelper(CEditableListBox& list) : QLineEdit(list.viewport()), list_(list) {
    setObjectName(QStringLiteral("CEditHelper"));
    // Looks like an ordinary edit box over the list's black lines, so it is plain which line
    // is being changed.
    setPalette(QApplication::palette(this));
    setAutoFillBackground(true);
    setFont(list.font());
    // A right-button release belongs to the event list's own menu.
    setContextMenuPolicy(Qt::NoContextMenu);
}

void CEditHelper::keyReleaseEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        list_.EndEdit(true);
        return;
    case Qt::Key_Escape:
        list_.EndEdit(false);
        return;
    default:
        QLineEdit::keyReleaseEvent(event);
    }
}

void CEditHelper::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    list_.EndEdit(true);
}

CEditableListBox::CEditableListBox(QWidget* parent) : QListWidget(parent) {
    // The first visible line is the scroll position, as the context menu's arithmetic needs.
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setUniformItemSizes(true);
}

void CEditableListBox::BeginEdit() {
    const int line = currentRow();
    if (line < 0 || line >= count())
        return;
    DropEdit();
    QListWidgetItem* target = item(line);
    scrollToItem(target);
    auto* helper = new CEditHelper(*this);
    helper->setGeometry(visualItemRect(target).adjusted(0, -kEditOverhang, 0, kEditOverhang));
    helper->setText(target->text());
    helper->selectAll();
    helper->show();
    helper_ = helper;
    editIndex_ = line;
    helper->setFocus(Qt::OtherFocusReason);
}

void CEditableListBox::EndEdit(bool keep) {
    const int line = editIndex_;
    CEditHelper* helper = TakeEditor();
    if (helper == nullptr)
        return;
    const QString text = helper->text();
    if (keep && line >= 0 && line < count() && item(line)->text() != text) {
        item(line)->setText(text);
        setCurrentRow(line);
    }
    Q_EMIT EditEnded(keep, text);
}

void CEditableListBox::DropEdit() { TakeEditor(); }

int CEditableListBox::ItemHeight() const { return count() > 0 ? sizeHintForRow(0) : QFontMetrics(font()).height(); }

void CEditableListBox::resizeEvent(QResizeEvent* event) {
    QListWidget::resizeEvent(event);
    EndEdit(true);
}

void CEditableListBox::scrollContentsBy(int dx, int dy) {
    EndEdit(true);
    QListWidget::scrollContentsBy(dx, dy);
}

// The edit is forgotten before it goes, so the focus it loses on the way out ends nothing a
// second time. The focus it held stays with the list rather than wandering to another control.
CEditHelper* CEditableListBox::TakeEditor() {
    CEditHelper* helper = helper_.data();
    helper_.clear();
    editIndex_ = -1;
    if (helper == nullptr)
        return nullptr;
    if (helper->hasFocus())
        setFocus(Qt::OtherFocusReason);
    helper->hide();
    helper->deleteLater();
    return helper;
}

}  // namespace orv
