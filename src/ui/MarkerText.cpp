#include "ui/MarkerText.h"

#include <QApplication>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>
#include <algorithm>
#include <cmath>

namespace orv {

namespace {

constexpr char16_t kArrows[] = {u'↓', u'↑'};
// Ink closer than this to either end of the arrow's advance touches the character beside it.
constexpr qreal kClearance = 0.5;

bool IsArrow(QChar c) { return c == QChar(kArrows[0]) || c == QChar(kArrows[1]); }

bool HasArrow(const QString& text) { return std::any_of(text.begin(), text.end(), IsArrow); }

bool ArrowsKeepClear(const QFont& font) {
    const QFontMetricsF metrics(font);
    for (const char16_t arrow : kArrows) {
        const QChar c(arrow);
        if (!metrics.inFont(c) || metrics.leftBearing(c) < kClearance || metrics.rightBearing(c) < kClearance)
            return false;
    }
    return true;
}

// Calls draw(run, font, x) for each run of arrows and of other characters, left to right, and
// gives the width of them all.
template <typename Draw>
qreal ForEachRun(const QFont& font, const QString& text, Draw draw) {
    const QFont arrowFont = ArrowFont(font);
    qreal x = 0;
    for (qsizetype start = 0; start < text.size();) {
        const bool arrows = IsArrow(text[start]);
        qsizetype end = start + 1;
        while (end < text.size() && IsArrow(text[end]) == arrows)
            ++end;
        const QString run = text.mid(start, end - start);
        const QFont& runFont = arrows ? arrowFont : font;
        draw(run, runFont, x);
        x += QFontMetricsF(runFont).horizontalAdvance(run);
        start = end;
    }
    return x;
}

}  // namespace

QFont ArrowFont(const QFont& textFont) {
    if (ArrowsKeepClear(textFont))
        return textFont;
    for (const char* family : {"DejaVu Sans", "Noto Sans", "Segoe UI", "Arial"}) {
        QFont candidate(textFont);
        candidate.setFamilies({QString::fromLatin1(family)});
        candidate.setStretch(QFont::Unstretched);
        if (ArrowsKeepClear(candidate))
            return candidate;
    }
    return textFont;
}

int MarkedTextWidth(const QFont& font, const QString& text) {
    if (!HasArrow(text))
        return QFontMetrics(font).horizontalAdvance(text);
    return static_cast<int>(std::ceil(ForEachRun(font, text, [](const QString&, const QFont&, qreal) {})));
}

void DrawMarkedText(QPainter& painter, QPointF baseline, const QString& text) {
    if (!HasArrow(text)) {
        painter.drawText(baseline, text);
        return;
    }
    const QFont font = painter.font();
    ForEachRun(font, text, [&](const QString& run, const QFont& runFont, qreal x) {
        painter.setFont(runFont);
        painter.drawText(baseline + QPointF(x, 0), run);
    });
    painter.setFont(font);
}

// The style draws the line without its text, then the text goes where the style would have put
// it: into its text rectangle less the style's margin, centred vertically.
void MarkedTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    if (!HasArrow(item.text)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QWidget* widget = item.widget;
    const QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    const QString text = item.text;
    QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    area.adjust(margin, 0, -margin, 0);
    item.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

    const QPalette::ColorGroup group = !(item.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (item.state & QStyle::State_Active) ? QPalette::Normal
                                                                             : QPalette::Inactive;
    const bool selected = (item.state & QStyle::State_Selected) != 0;
    painter->save();
    painter->setClipRect(area);
    painter->setFont(item.font);
    painter->setPen(item.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    const QFontMetricsF metrics(item.font);
    const qreal top = area.top() + (area.height() - metrics.height()) / 2;
    DrawMarkedText(*painter, QPointF(area.left(), top + metrics.ascent()), text);
    painter->restore();
}

}  // namespace orv
