#pragma once
#include <QFont>
#include <QPointF>
#include <QString>
#include <QStyledItemDelegate>

class QPainter;

namespace orv {

// Texts that hold the arrows of the event list's press and release markers ("[↓]", "[↑]") and
// of the two line counters. Some fonts (the Chinese ones Linux offers among them) draw an arrow
// across its whole advance, so it runs into the brackets around it; these texts draw their
// arrows in a font whose arrows keep clear of their neighbours, and everything else in their
// own font.

// The text font itself where its arrows keep clear; else a sans-serif font at the same pixel
// size, unstretched, whose arrows do.
QFont ArrowFont(const QFont& textFont);
// The width DrawMarkedText takes for the text in the font, rounded up; for a text without arrows
// the font's own width of it.
int MarkedTextWidth(const QFont& font, const QString& text);
// Draws the text in the painter's font from the left end of its baseline, its arrows in the
// ArrowFont.
void DrawMarkedText(QPainter& painter, QPointF baseline, const QString& text);

// Draws a list's lines as the style does, their arrows in the ArrowFont.
class MarkedTextDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace orv
