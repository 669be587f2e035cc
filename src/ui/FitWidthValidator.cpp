#include "ui/FitWidthValidator.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QStyle>

namespace orv {

namespace {

// The edit box keeps this much space free at each side of its text, and the cursor needs a
// pixel after the last character.
constexpr int kInnerMargin = 2;
constexpr int kCursorWidth = 1;

int TextRoom(const QLineEdit& edit) {
    const QMargins margins = edit.textMargins();
    const int frame = edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &edit) : 0;
    return edit.contentsRect().width() - margins.left() - margins.right() - 2 * frame - 2 * kInnerMargin - kCursorWidth;
}

}  // namespace

FitWidthValidator::FitWidthValidator(QLineEdit& edit) : QValidator(&edit), edit_(edit) {}

QValidator::State FitWidthValidator::validate(QString& input, int&) const {
    return QFontMetrics(edit_.font()).horizontalAdvance(input) <= TextRoom(edit_) ? Acceptable : Invalid;
}

}  // namespace orv
