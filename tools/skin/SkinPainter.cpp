#include "SkinPainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace orv::skin {

namespace {

// One palette: graphite surfaces, a single cyan accent. Hover text is pure red in the
// program, so hover looks stay dark enough for it to read.
const QColor kBackTop(0x14, 0x17, 0x1f);
const QColor kBackBottom(0x09, 0x0b, 0x0f);
const QColor kPanelTop(0x1b, 0x20, 0x2a);
const QColor kPanelBottom(0x10, 0x13, 0x19);
const QColor kPanelBorder(0x29, 0x30, 0x3d);
const QColor kSteelTop(0x2d, 0x34, 0x42);
const QColor kSteelBottom(0x1b, 0x20, 0x29);
const QColor kSteelBorder(0x3b, 0x44, 0x55);
const QColor kHoverTop(0x3a, 0x44, 0x57);
const QColor kHoverBottom(0x25, 0x2c, 0x3a);
const QColor kInset(0x0b, 0x0d, 0x12);
const QColor kInsetBorder(0x27, 0x2e, 0x3b);
const QColor kAccent(0x00, 0xc2, 0xff);
const QColor kAccentBright(0x7a, 0xe4, 0xff);
const QColor kAccentTop(0x0b, 0x9c, 0xd4);
const QColor kAccentBottom(0x04, 0x52, 0x7a);
const QColor kPressedTop(0x0c, 0x3a, 0x52);
const QColor kPressedBottom(0x07, 0x22, 0x33);
const QColor kGlyph(0x8e, 0x9a, 0xad);
const QColor kDanger(0xd0, 0x22, 0x3a);

const QColor kLevelColor[4] = {QColor(0, 0, 255), QColor(255, 0, 255), QColor(255, 0, 0), QColor(128, 0, 255)};

QColor WithAlpha(QColor c, int alpha) {
    c.setAlpha(alpha);
    return c;
}

QLinearGradient Vertical(const QRectF& r, const QColor& top, const QColor& bottom) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

// A rectangle with its top-left and bottom-right corners cut: the shape language of the
// whole skin, echoing the window's outline.
QPainterPath Chamfered(const QRectF& r, qreal cut) {
    QPainterPath p;
    p.moveTo(r.left() + cut, r.top());
    p.lineTo(r.right(), r.top());
    p.lineTo(r.right(), r.bottom() - cut);
    p.lineTo(r.right() - cut, r.bottom());
    p.lineTo(r.left(), r.bottom());
    p.lineTo(r.left(), r.top() + cut);
    p.closeSubpath();
    return p;
}

QPainterPath Rounded(const QRectF& r, qreal radius) {
    QPainterPath p;
    p.addRoundedRect(r, radius, radius);
    return p;
}

QPainterPath Parallelogram(const QRectF& r, qreal skew) {
    QPainterPath p;
    p.moveTo(r.left() + skew, r.top());
    p.lineTo(r.right(), r.top());
    p.lineTo(r.right() - skew, r.bottom());
    p.lineTo(r.left(), r.bottom());
    p.closeSubpath();
    return p;
}

// A soft shadow under a shape, drawn on the shared base so that every state picture has it.
void Shadow(QPainter& p, const QPainterPath& shape, int spread = 6, int alpha = 90) {
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = spread; i >= 1; --i) {
        QPainterPath grown = shape.translated(0, 2);
        QPainterPathStroker stroker;
        stroker.setWidth(2 * i);
        stroker.setJoinStyle(Qt::RoundJoin);
        p.setBrush(QColor(0, 0, 0, alpha / (spread + 1) + (spread - i) * 2));
        p.drawPath(stroker.createStroke(grown).united(grown));
    }
    p.restore();
}

void FillShape(QPainter& p, const QPainterPath& shape, const QBrush& fill, const QColor& border, qreal width = 1) {
    p.setPen(border.alpha() == 0 ? QPen(Qt::NoPen) : QPen(border, width));
    p.setBrush(fill);
    p.drawPath(shape);
}

// A thin light line along the top inside edge: the bevel that makes surfaces read as raised.
void TopHighlight(QPainter& p, const QRectF& r, int alpha) {
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0, QColor(255, 255, 255, 0));
    g.setColorAt(0.5, QColor(255, 255, 255, alpha));
    g.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(QPen(QBrush(g), 1));
    p.drawLine(QPointF(r.left() + 4, r.top() + 1.5), QPointF(r.right() - 4, r.top() + 1.5));
}

void BottomGlow(QPainter& p, const QRectF& r, const QColor& color, qreal width = 2) {
    QLinearGradient g(r.bottomLeft(), r.bottomRight());
    g.setColorAt(0, WithAlpha(color, 0));
    g.setColorAt(0.5, color);
    g.setColorAt(1, WithAlpha(color, 0));
    p.setPen(QPen(QBrush(g), width));
    p.drawLine(QPointF(r.left() + 3, r.bottom() - width / 2), QPointF(r.right() - 3, r.bottom() - width / 2));
}

QRectF Inner(const QRect& r) { return QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5); }

// ---- Region looks --------------------------------------------------------------------

void RaisedButton(QPainter& p, const QRect& rect, State state, qreal cut, bool primary) {
    const QRectF r = Inner(rect);
    const QPainterPath shape = Chamfered(r, cut);
    if (state == State::Down) {
        FillShape(p, shape, Vertical(r, kAccentTop, kAccentBottom), kAccentBright);
        TopHighlight(p, r, 90);
    } else if (state == State::Over) {
        if (primary) {
            FillShape(p, shape, Vertical(r, QColor(0x1c, 0xb8, 0xee), QColor(0x06, 0x6c, 0x9c)), kAccentBright);
        } else {
            FillShape(p, shape, Vertical(r, kHoverTop, kHoverBottom), WithAlpha(kAccent, 170));
        }
        TopHighlight(p, r, 70);
        BottomGlow(p, r, kAccent);
    } else {
        if (primary) {
            FillShape(p, shape, Vertical(r, QColor(0x0a, 0x86, 0xb8), QColor(0x04, 0x45, 0x66)),
                      QColor(0x2a, 0xb8, 0xe8));
        } else {
            FillShape(p, shape, Vertical(r, kSteelTop, kSteelBottom), kSteelBorder);
        }
        TopHighlight(p, r, 40);
    }
}

void TabLook(QPainter& p, const QRect& rect, State state) {
    const QRectF r = Inner(rect).adjusted(0, 4, 0, -4);
    const QPainterPath shape = Parallelogram(r, 12);
    if (state == State::Down) {
        FillShape(p, shape, Vertical(r, kAccentTop, kAccentBottom), kAccentBright);
        TopHighlight(p, r, 90);
        p.setPen(QPen(kAccentBright, 3));
        p.drawLine(QPointF(r.left() + 4, r.bottom() + 2.5), QPointF(r.right() - 4, r.bottom() + 2.5));
    } else if (state == State::Over) {
        FillShape(p, shape, Vertical(r, kHoverTop, kHoverBottom), WithAlpha(kAccent, 160));
        p.setPen(QPen(WithAlpha(kAccent, 140), 2));
        p.drawLine(QPointF(r.left() + 8, r.bottom() + 2), QPointF(r.right() - 8, r.bottom() + 2));
    } else {
        FillShape(p, shape, Vertical(r, QColor(0x1f, 0x25, 0x30), QColor(0x14, 0x18, 0x20)), kPanelBorder);
    }
}

void IconLook(QPainter& p, const QRect& rect, State state, Role role) {
    const QRectF r = Inner(rect);
    QColor glyph = kGlyph;
    if (state != State::Normal) {
        const bool close = role == Role::IconClose;
        const QColor top =
            state == State::Down ? (close ? QColor(0x8a, 0x10, 0x22) : kAccentBottom) : (close ? kDanger : kHoverTop);
        const QColor bottom = state == State::Down ? (close ? QColor(0x5a, 0x0a, 0x16) : QColor(0x03, 0x38, 0x55))
                                                   : (close ? QColor(0x90, 0x14, 0x28) : kHoverBottom);
        FillShape(p, Rounded(r, 3), Vertical(r, top, bottom), QColor(0, 0, 0, 0));
        glyph = Qt::white;
    }
    p.setPen(QPen(glyph, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const QPointF c = r.center();
    if (role == Role::IconClose) {
        p.drawLine(c + QPointF(-5, -5), c + QPointF(5, 5));
        p.drawLine(c + QPointF(-5, 5), c + QPointF(5, -5));
    } else if (role == Role::IconMinimise) {
        p.drawLine(c + QPointF(-6, 4), c + QPointF(6, 4));
    } else {
        // An arrow into a tray: hide to the notification area.
        p.drawLine(c + QPointF(0, -7), c + QPointF(0, 2));
        p.drawPolyline(QPolygonF({c + QPointF(-4, -2), c + QPointF(0, 2), c + QPointF(4, -2)}));
        p.drawPolyline(QPolygonF({c + QPointF(-7, 1), c + QPointF(-7, 6), c + QPointF(7, 6), c + QPointF(7, 1)}));
    }
}

// Text-only regions: under the mouse a faint plate with an accent underline.
void LabelLook(QPainter& p, const QRect& rect, State state) {
    if (state == State::Normal) {
        return;
    }
    const QRectF r = Inner(rect);
    const QColor fill = state == State::Down ? WithAlpha(kAccent, 46) : QColor(255, 255, 255, 16);
    FillShape(p, Rounded(r, 3), fill, QColor(0, 0, 0, 0));
    BottomGlow(p, r, WithAlpha(kAccent, 200), 1);
}

void InsetField(QPainter& p, const QRectF& r, const QColor& border) {
    FillShape(p, Chamfered(r, 4), Vertical(r, QColor(0x07, 0x08, 0x0c), QColor(0x10, 0x13, 0x19)), border);
    p.setPen(QPen(QColor(0, 0, 0, 120), 1));
    p.drawLine(QPointF(r.left() + 5, r.top() + 1.5), QPointF(r.right() - 1, r.top() + 1.5));
}

void FunctionBoxLook(QPainter& p, const QRect& rect, State state) {
    const QRectF r = Inner(rect);
    QColor border = kInsetBorder;
    QColor chevron = QColor(0x6b, 0x7a, 0x90);
    QBrush fill = Vertical(r, QColor(0x0c, 0x0e, 0x13), QColor(0x14, 0x18, 0x20));
    if (state == State::Over) {
        fill = Vertical(r, QColor(0x1d, 0x24, 0x31), QColor(0x15, 0x1a, 0x24));
        border = kAccent;
        chevron = kAccent;
    } else if (state == State::Down) {
        fill = Vertical(r, kPressedTop, kPressedBottom);
        border = kAccentBright;
        chevron = Qt::white;
    }
    FillShape(p, Chamfered(r, 5), fill, border);
    p.fillRect(QRectF(r.left() + 1, r.top() + 6, 2, r.height() - 12), state == State::Normal ? kAccentBottom : kAccent);
    p.setPen(QPen(chevron, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF c(r.right() - 12, r.center().y());
    p.drawPolyline(QPolygonF({c + QPointF(-4, -2), c + QPointF(0, 2), c + QPointF(4, -2)}));
}

void CheckLook(QPainter& p, const QRect& rect, State state) {
    const QRectF r = Inner(rect);
    if (state == State::Over) {
        FillShape(p, Chamfered(r, 4), Vertical(r, kHoverTop, kHoverBottom), WithAlpha(kAccent, 150));
    } else {
        FillShape(p, Chamfered(r, 4), Vertical(r, kSteelTop, kSteelBottom),
                  state == State::Down ? kAccent : kSteelBorder);
    }
    const QRectF box(r.left() + 6, r.center().y() - 6.5, 13, 13);
    if (state == State::Down) {
        FillShape(p, Rounded(box, 2), Vertical(box, kAccentBright, kAccentTop), kAccentBright);
        p.setPen(QPen(QColor(0x03, 0x20, 0x30), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF(
            {box.topLeft() + QPointF(3, 6.5), box.topLeft() + QPointF(5.5, 9), box.topLeft() + QPointF(10, 3.5)}));
    } else {
        FillShape(p, Rounded(box, 2), kInset, state == State::Over ? kAccent : QColor(0x55, 0x60, 0x72));
    }
}

void RadioLook(QPainter& p, const QRect& rect, State state) {
    const QRectF r = Inner(rect);
    const QPointF c = r.center();
    if (state == State::Down) {
        QRadialGradient glow(c, r.width() / 2);
        glow.setColorAt(0, WithAlpha(kAccent, 160));
        glow.setColorAt(1, WithAlpha(kAccent, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(r);
    }
    p.setPen(QPen(state == State::Normal ? QColor(0x4a, 0x55, 0x66) : kAccent, 1.5));
    p.setBrush(kInset);
    p.drawEllipse(c, 8, 8);
    if (state == State::Down) {
        QRadialGradient core(c - QPointF(1.5, 1.5), 6);
        core.setColorAt(0, Qt::white);
        core.setColorAt(0.4, kAccentBright);
        core.setColorAt(1, kAccentTop);
        p.setPen(Qt::NoPen);
        p.setBrush(core);
        p.drawEllipse(c, 5, 5);
    } else if (state == State::Over) {
        p.setPen(Qt::NoPen);
        p.setBrush(WithAlpha(kAccent, 110));
        p.drawEllipse(c, 3.5, 3.5);
    }
}

// The program fills the inside of a cell (all but the left, right and top pixel lines) with
// the level's colour, so the cell's own look lives in its frame.
void DpiCellLook(QPainter& p, const QRect& rect, State state) {
    const QRectF r = Inner(rect);
    const QColor border = state == State::Normal ? kInsetBorder : (state == State::Over ? kAccent : kAccentBright);
    const QBrush fill = state == State::Normal ? QBrush(Vertical(r, QColor(0x0a, 0x0c, 0x10), QColor(0x12, 0x15, 0x1c)))
                        : state == State::Over ? QBrush(Vertical(r, QColor(0x18, 0x22, 0x2e), QColor(0x10, 0x16, 0x1e)))
                                               : QBrush(Vertical(r, kPressedTop, kPressedBottom));
    FillShape(p, QPainterPath([&] {
                  QPainterPath path;
                  path.addRect(r);
                  return path;
              }()),
              fill, border);
    p.setPen(QPen(QColor(255, 255, 255, state == State::Normal ? 10 : 30), 1));
    for (int i = 1; i < 4; ++i) {
        const qreal y = r.top() + r.height() * i / 4.0;
        p.drawLine(QPointF(r.left() + 4, y), QPointF(r.right() - 4, y));
    }
}

void SwatchLook(QPainter& p, const QRect& rect, State state, int level) {
    const QRectF r = Inner(rect).adjusted(3, 3, -3, -3);
    QColor c = kLevelColor[level];
    if (state == State::Normal) {
        c = c.darker(190);
    }
    QLinearGradient g = Vertical(r, c.lighter(state == State::Normal ? 130 : 150), c);
    FillShape(p, Chamfered(r, 4), g, state == State::Normal ? QColor(0x3a, 0x42, 0x50) : Qt::white);
    TopHighlight(p, r, state == State::Normal ? 40 : 120);
}

void OrnamentLook(QPainter& p, const QRect& rect, State state) {
    const QRectF r = Inner(rect);
    QPainterPath diamond;
    const QPointF c = r.center();
    const qreal h = r.width() / 2 - 1;
    diamond.moveTo(c.x(), c.y() - h);
    diamond.lineTo(c.x() + h, c.y());
    diamond.lineTo(c.x(), c.y() + h);
    diamond.lineTo(c.x() - h, c.y());
    diamond.closeSubpath();
    if (state == State::Normal) {
        FillShape(p, diamond, QColor(0x0b, 0x3a, 0x4d), QColor(0x12, 0x5a, 0x75));
    } else {
        FillShape(p, diamond, kAccent, kAccentBright);
    }
}

void TileLook(QPainter& p, const QRect& rect, State state) {
    const QRectF r = Inner(rect);
    if (state == State::Normal) {
        FillShape(p, Chamfered(r, 5), Vertical(r, QColor(0x15, 0x19, 0x21), QColor(0x10, 0x13, 0x19)),
                  QColor(0x22, 0x28, 0x34));
    } else {
        FillShape(p, Chamfered(r, 5), Vertical(r, QColor(0x1e, 0x26, 0x33), QColor(0x15, 0x1b, 0x25)),
                  state == State::Down ? kAccentBright : WithAlpha(kAccent, 170));
        BottomGlow(p, r, WithAlpha(kAccent, 200), 1.5);
    }
}

void SegmentLook(QPainter& p, const QRect& rect, State state) {
    const QRectF r = Inner(rect);
    if (state == State::Down) {
        FillShape(p, Chamfered(r, 3), Vertical(r, kAccentTop, kAccentBottom), kAccentBright);
        TopHighlight(p, r, 80);
    } else if (state == State::Over) {
        FillShape(p, Chamfered(r, 3), Vertical(r, kHoverTop, kHoverBottom), WithAlpha(kAccent, 170));
    } else {
        FillShape(p, Chamfered(r, 3), Vertical(r, QColor(0x20, 0x26, 0x31), QColor(0x16, 0x1a, 0x22)),
                  QColor(0x30, 0x38, 0x47));
    }
}

// The program copies a left part of the pressed picture over the normal one, so the pressed
// look is a full-length lit bar and the normal look an empty groove.
void SliderLook(QPainter& p, const QRect& rect, State state) {
    const QRectF r = Inner(rect).adjusted(0, 4, 0, -4);
    if (state == State::Down) {
        QLinearGradient g(r.topLeft(), r.topRight());
        g.setColorAt(0, kAccentBottom);
        g.setColorAt(1, kAccent);
        FillShape(p, Rounded(r, 3), g, kAccentBright);
        TopHighlight(p, r, 110);
    } else {
        FillShape(p, Rounded(r, 3), Vertical(r, QColor(0x06, 0x07, 0x0a), QColor(0x12, 0x15, 0x1c)),
                  state == State::Over ? kAccent : kInsetBorder);
        p.setPen(QPen(QColor(255, 255, 255, state == State::Over ? 40 : 18), 1));
        for (int i = 1; i < 10; ++i) {
            const qreal x = r.left() + r.width() * i / 10.0;
            p.drawLine(QPointF(x, r.top() + 3), QPointF(x, r.bottom() - 3));
        }
    }
}

void ValueFieldLook(QPainter& p, const QRect& rect, State state) {
    InsetField(p, Inner(rect), state == State::Normal ? kInsetBorder : kAccent);
}

void ToggleLook(QPainter& p, const QRect& rect, State state, bool record) {
    RaisedButton(p, rect, state == State::Down ? State::Normal : state, 5, false);
    const QRectF r = Inner(rect);
    if (state == State::Down) {
        FillShape(p, Chamfered(r, 5), Vertical(r, kPressedTop, kPressedBottom), kAccentBright);
        TopHighlight(p, r, 60);
    }
    const QColor on = record ? QColor(0xff, 0x3b, 0x4f) : kAccent;
    const QPointF c(r.left() + 12, r.center().y());
    if (state == State::Down) {
        QRadialGradient glow(c, 9);
        glow.setColorAt(0, WithAlpha(on, 200));
        glow.setColorAt(1, WithAlpha(on, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(c, 9, 9);
    }
    p.setPen(QPen(QColor(0, 0, 0, 160), 1));
    p.setBrush(state == State::Down ? on.lighter(130) : (state == State::Over ? on.darker(150) : on.darker(320)));
    p.drawEllipse(c, 4, 4);
}

void ModeIcon(QPainter& p, const QPointF& c, int mode, bool lit) {
    p.save();
    const int alpha = lit ? 255 : 150;
    if (mode == 0 || mode == 1) {
        const int dots = mode == 0 ? 4 : 8;
        for (int i = 0; i < dots; ++i) {
            const double a = 2 * M_PI * i / dots - M_PI / 2;
            const QPointF d = c + QPointF(std::cos(a), std::sin(a)) * 11;
            p.setPen(Qt::NoPen);
            p.setBrush(WithAlpha(kLevelColor[i % 4].lighter(130), alpha));
            p.drawEllipse(d, mode == 0 ? 3.5 : 2.5, mode == 0 ? 3.5 : 2.5);
        }
        if (mode == 1) {
            p.setPen(QPen(WithAlpha(Qt::white, alpha), 1.4, Qt::SolidLine, Qt::RoundCap));
            p.drawArc(QRectF(c - QPointF(5, 5), QSizeF(10, 10)), 90 * 16, -270 * 16);
            p.drawLine(c + QPointF(0, -5), c + QPointF(3, -7));
        }
    } else if (mode == 2) {
        QRadialGradient g(c, 12);
        g.setColorAt(0, WithAlpha(Qt::white, alpha));
        g.setColorAt(0.35, WithAlpha(kAccent, alpha));
        g.setColorAt(1, WithAlpha(kAccent, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(c, 12, 12);
    } else {
        p.setPen(QPen(WithAlpha(kGlyph, alpha), 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, 8, 8);
        p.drawLine(c + QPointF(-6, 6), c + QPointF(6, -6));
    }
    p.restore();
}

void ModeTileLook(QPainter& p, const QRect& rect, State state, int mode) {
    const QRectF r = Inner(rect);
    if (state == State::Down) {
        QLinearGradient g(r.topLeft(), r.topRight());
        g.setColorAt(0, QColor(0x08, 0x4c, 0x6c));
        g.setColorAt(0.6, QColor(0x0c, 0x22, 0x31));
        g.setColorAt(1, QColor(0x10, 0x18, 0x22));
        FillShape(p, Chamfered(r, 8), g, kAccentBright, 1.5);
        p.fillRect(QRectF(r.left() + 1, r.top() + 10, 3, r.height() - 20), kAccentBright);
    } else if (state == State::Over) {
        FillShape(p, Chamfered(r, 8), Vertical(r, kHoverTop, kHoverBottom), WithAlpha(kAccent, 170));
        BottomGlow(p, r, kAccent);
    } else {
        FillShape(p, Chamfered(r, 8), Vertical(r, kSteelTop, kSteelBottom), kSteelBorder);
    }
    TopHighlight(p, r, state == State::Normal ? 35 : 70);
    const QRectF well(r.left() + 12, r.center().y() - 17, 34, 34);
    FillShape(p, Rounded(well, 17), kInset, state == State::Normal ? kInsetBorder : kAccent);
    ModeIcon(p, well.center(), mode, state != State::Normal);
}

// ---- The mouse drawing -------------------------------------------------------------

QPainterPath MouseBody(const QPointF& top, qreal width, qreal height) {
    const qreal cx = top.x();
    const qreal y0 = top.y();
    const qreal hw = width / 2;
    QPainterPath p;
    p.moveTo(cx, y0);
    p.cubicTo(cx + hw * 0.75, y0, cx + hw, y0 + height * 0.12, cx + hw, y0 + height * 0.32);
    p.cubicTo(cx + hw, y0 + height * 0.55, cx + hw * 0.92, y0 + height * 0.7, cx + hw * 0.95, y0 + height * 0.8);
    p.cubicTo(cx + hw * 0.98, y0 + height * 0.95, cx + hw * 0.5, y0 + height, cx, y0 + height);
    p.cubicTo(cx - hw * 0.5, y0 + height, cx - hw * 0.98, y0 + height * 0.95, cx - hw * 0.95, y0 + height * 0.8);
    p.cubicTo(cx - hw * 0.92, y0 + height * 0.7, cx - hw, y0 + height * 0.55, cx - hw, y0 + height * 0.32);
    p.cubicTo(cx - hw, y0 + height * 0.12, cx - hw * 0.75, y0, cx, y0);
    p.closeSubpath();
    return p;
}

const QPointF kMouseTop(260, 134);
constexpr qreal kMouseWidth = 116;
constexpr qreal kMouseHeight = 204;

QPainterPath MainMouseBody() { return MouseBody(kMouseTop, kMouseWidth, kMouseHeight); }

QPainterPath PartShape(int index, const QRect& rect) {
    const QRectF r(rect);
    QPainterPath box;
    // The drawing's buttons by their button number: 0 and 2 are the two halves of the shell,
    // 1 the wheel, 5 the DPI button behind it, 3 and 4 the side buttons.
    using region::main::MousePart;
    switch (index) {
    case MousePart(0):
    case MousePart(2): {
        const bool left = index == MousePart(0);
        box.addRect(r.adjusted(left ? 0 : 2, 0, left ? -2 : 0, -2));
        return MainMouseBody().intersected(box);
    }
    case MousePart(1):
        return Rounded(r.adjusted(2, 1, -2, -1), 4);
    case MousePart(5):
        return Rounded(r.adjusted(2, 2, -2, -2), 2.5);
    default:
        return Rounded(r.adjusted(1, 1, -1, -1), 3);
    }
}

void MousePartLook(QPainter& p, int index, const QRect& rect, State state) {
    const QPainterPath shape = PartShape(index, rect);
    const QRectF r(rect);
    if (state == State::Over) {
        QLinearGradient g = Vertical(r, kAccentBright, kAccentTop);
        FillShape(p, shape, g, Qt::white, 1);
    } else {
        const bool button = index == region::main::MousePart(0) || index == region::main::MousePart(2);
        FillShape(p, shape,
                  Vertical(r, button ? QColor(0x33, 0x3a, 0x48) : QColor(0x4a, 0x54, 0x66),
                           button ? QColor(0x1d, 0x22, 0x2b) : QColor(0x2a, 0x30, 0x3c)),
                  button ? QColor(0x44, 0x4d, 0x5e) : QColor(0x55, 0x60, 0x74), 1);
    }
}

void Emblem(QPainter& p, const QPointF& c, qreal size, const QColor& color) {
    // Two nested chevrons: the brand mark, also on the mouse's palm.
    p.save();
    p.setPen(QPen(color, size / 7, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    const qreal s = size / 2;
    p.drawPolyline(QPolygonF({c + QPointF(-s, -s * 0.5), c + QPointF(0, s * 0.55), c + QPointF(s, -s * 0.5)}));
    p.drawPolyline(
        QPolygonF({c + QPointF(-s * 0.55, -s * 0.75), c + QPointF(0, -s * 0.05), c + QPointF(s * 0.55, -s * 0.75)}));
    p.restore();
}

void MouseLogoLook(QPainter& p, const QRect& rect, State state) {
    const QRectF r(rect);
    if (state != State::Normal) {
        QRadialGradient g(r.center(), r.width() / 2);
        g.setColorAt(0, WithAlpha(kAccent, 120));
        g.setColorAt(1, WithAlpha(kAccent, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(r);
        Emblem(p, r.center(), 22, kAccentBright);
    } else {
        Emblem(p, r.center(), 22, QColor(0x0e, 0x6a, 0x8c));
    }
}

void DrawMainMouse(QPainter& p) {
    const QPainterPath body = MainMouseBody();
    Shadow(p, body, 10, 140);
    QRadialGradient shell(QPointF(kMouseTop.x() - 20, kMouseTop.y() + 70), 150);
    shell.setColorAt(0, QColor(0x34, 0x3b, 0x49));
    shell.setColorAt(1, QColor(0x12, 0x15, 0x1b));
    FillShape(p, body, shell, QColor(0x4a, 0x55, 0x68), 1.5);
    // An accent light strip around the palm.
    QPainterPath inner = MouseBody(QPointF(kMouseTop.x(), kMouseTop.y() + 92), kMouseWidth - 34, kMouseHeight - 104);
    p.setPen(QPen(WithAlpha(kAccent, 90), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(inner);
    p.setPen(QPen(QColor(0x08, 0x0a, 0x0e), 2));
    p.drawLine(QPointF(kMouseTop.x(), kMouseTop.y() + 2), QPointF(kMouseTop.x(), kMouseTop.y() + 86));
}

// ---- The lighting preview -------------------------------------------------------------

QColor LightColor(Light light) {
    switch (light) {
    case Light::Pink:
        return QColor(255, 80, 200);
    case Light::Red:
        return QColor(255, 36, 48);
    case Light::Purple:
        return QColor(150, 64, 255);
    case Light::Blue:
        return QColor(40, 110, 255);
    case Light::Dark:
        return QColor(60, 64, 72);
    }
    return Qt::gray;
}

void PreviewLook(QPainter& p, const QRect& rect, Light light) {
    const QRectF r(rect);
    const bool lit = light != Light::Dark;
    const QColor c = LightColor(light);
    FillShape(p, Chamfered(r.adjusted(0.5, 0.5, -0.5, -0.5), 12),
              Vertical(r, QColor(0x0c, 0x0e, 0x13), QColor(0x06, 0x07, 0x0a)), kPanelBorder);
    const QPointF top(r.center().x(), r.top() + 26);
    const qreal w = 150;
    const qreal h = 250;
    if (lit) {
        QRadialGradient floor(QPointF(top.x(), top.y() + h * 0.55), 150);
        floor.setColorAt(0, WithAlpha(c, 110));
        floor.setColorAt(0.6, WithAlpha(c, 30));
        floor.setColorAt(1, WithAlpha(c, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(floor);
        p.drawEllipse(QPointF(top.x(), top.y() + h * 0.55), 150, 145);
    }
    const QPainterPath body = MouseBody(top, w, h);
    QRadialGradient shell(QPointF(top.x() - 25, top.y() + 90), 190);
    shell.setColorAt(0, QColor(0x30, 0x36, 0x42));
    shell.setColorAt(1, QColor(0x0d, 0x0f, 0x14));
    FillShape(p, body, shell, lit ? c.lighter(120) : QColor(0x44, 0x4a, 0x56), 2);
    p.setPen(QPen(QColor(0x06, 0x07, 0x0a), 2.5));
    p.drawLine(QPointF(top.x(), top.y() + 2), QPointF(top.x(), top.y() + 108));
    // Scroll wheel, palm strip and emblem carry the light.
    const QRectF wheel(top.x() - 8, top.y() + 24, 16, 42);
    FillShape(p, Rounded(wheel, 6),
              Vertical(wheel, lit ? c.lighter(150) : QColor(0x50, 0x55, 0x60), lit ? c : QColor(0x2a, 0x2e, 0x36)),
              QColor(0, 0, 0, 180), 1);
    QPainterPath strip = MouseBody(QPointF(top.x(), top.y() + 118), w - 44, h - 130);
    if (lit) {
        for (int i = 6; i >= 1; --i) {
            p.setPen(QPen(WithAlpha(c, 22), 2 * i));
            p.setBrush(Qt::NoBrush);
            p.drawPath(strip);
        }
    }
    p.setPen(QPen(lit ? c.lighter(140) : QColor(0x3c, 0x41, 0x4b), 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(strip);
    Emblem(p, QPointF(top.x(), top.y() + 185), 34, lit ? c.lighter(160) : QColor(0x4a, 0x4f, 0x5a));
}

// ---- Page composition -----------------------------------------------------------------

void Panel(QPainter& p, const QRect& rect) {
    const QRectF r = Inner(rect);
    const QPainterPath shape = Chamfered(r, 12);
    Shadow(p, shape, 8, 120);
    FillShape(p, shape, Vertical(r, kPanelTop, kPanelBottom), kPanelBorder);
    TopHighlight(p, r, 28);
    // Corner accent on the cut: a short bright edge that marks each panel as a module.
    p.setPen(QPen(kAccent, 2));
    p.drawLine(QPointF(r.left() + 1, r.top() + 24), QPointF(r.left() + 1, r.top() + 12));
    p.drawLine(QPointF(r.left() + 1, r.top() + 12), QPointF(r.left() + 13, r.top()));
    p.drawLine(QPointF(r.left() + 13, r.top()), QPointF(r.left() + 40, r.top()));
}

void Background(QPainter& p, QSize size) {
    const QRectF all(QPointF(0, 0), QSizeF(size));
    p.fillRect(all, Vertical(all, kBackTop, kBackBottom));
    // A fine diagonal weave, barely visible, keeps large areas from looking flat.
    p.setPen(QPen(QColor(255, 255, 255, 7), 1));
    for (int d = -size.height(); d < size.width(); d += 6) {
        p.drawLine(QPointF(d, 0), QPointF(d + size.height(), size.height()));
    }
    QRadialGradient vignette(all.center(), size.width() * 0.75);
    vignette.setColorAt(0.55, QColor(0, 0, 0, 0));
    vignette.setColorAt(1, QColor(0, 0, 0, 140));
    p.fillRect(all, vignette);
}

void WindowChrome(QPainter& p) {
    // Title bar and its accent rule.
    const QRectF bar(0, 0, kWindowSize.width(), 58);
    p.fillRect(bar, Vertical(bar, QColor(0x1c, 0x21, 0x2b), QColor(0x0f, 0x12, 0x18)));
    QLinearGradient rule(QPointF(0, 58), QPointF(kWindowSize.width(), 58));
    rule.setColorAt(0, WithAlpha(kAccent, 0));
    rule.setColorAt(0.3, kAccent);
    rule.setColorAt(0.7, kAccent);
    rule.setColorAt(1, WithAlpha(kAccent, 0));
    p.fillRect(QRectF(0, 57, kWindowSize.width(), 2), rule);
    QLinearGradient halo(QPointF(0, 59), QPointF(0, 72));
    halo.setColorAt(0, WithAlpha(kAccent, 50));
    halo.setColorAt(1, WithAlpha(kAccent, 0));
    p.fillRect(QRectF(0, 59, kWindowSize.width(), 13), halo);
    Emblem(p, QPointF(36, 30), 30, kAccent);
    // Profile strip and the bottom action bar.
    const QRectF strip(16, 64, 768, 36);
    FillShape(p, Chamfered(strip, 8), QColor(0x11, 0x14, 0x1a), QColor(0x20, 0x26, 0x31));
    const QRectF actions(16, 546, 768, 42);
    FillShape(p, Chamfered(actions, 10), Vertical(actions, QColor(0x16, 0x1a, 0x22), QColor(0x0e, 0x11, 0x16)),
              QColor(0x22, 0x28, 0x33));
    // Shadows under the raised header controls, shared by all state pictures.
    for (const Region& region : MainPage().regions) {
        if (region.index > region::main::kLastHeader) {
            break;
        }
        if (region.role == Role::Button || region.role == Role::PrimaryButton || region.role == Role::Profile ||
            region.role == Role::Language) {
            Shadow(p, Chamfered(Inner(region.rect), 6), 4, 110);
        }
    }
}

void Outline(QPainter& p, const QPolygon& outline) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x3a, 0x44, 0x56), 2));
    p.drawPolygon(outline);
    p.setPen(QPen(WithAlpha(kAccent, 140), 1));
    const QPolygon& o = outline;
    // Accent only along the two large cuts.
    p.drawLine(o.point(7) + QPoint(1, 0), o.point(0) + QPoint(0, 1));
    p.drawLine(o.point(3) + QPoint(-1, 0), o.point(4) + QPoint(0, -1));
}

void Leader(QPainter& p, QPointF from, QPointF to) {
    p.setPen(QPen(WithAlpha(kAccent, 110), 1));
    const QPointF elbow(to.x() > from.x() ? to.x() - 18 : to.x() + 18, from.y());
    p.drawPolyline(QPolygonF({from, elbow, to}));
    p.setBrush(kAccent);
    p.setPen(Qt::NoPen);
    p.drawEllipse(to, 2, 2);
}

void MainBase(QPainter& p) {
    Panel(p, QRect(16, 108, 504, 236));
    Panel(p, QRect(528, 108, 256, 236));
    Panel(p, QRect(16, 352, 768, 188));
    DrawMainMouse(p);
    // Leaders from the boxes to the parts they assign.
    Leader(p, QPointF(184, 165), QPointF(226, 180));
    Leader(p, QPointF(184, 237), QPointF(201, 240));
    Leader(p, QPointF(184, 283), QPointF(201, 272));
    Leader(p, QPointF(336, 165), QPointF(294, 180));
    Leader(p, QPointF(336, 211), QPointF(263, 169));
    Leader(p, QPointF(336, 257), QPointF(263, 203));
    // Grooves under the DPI rows tie each row together.
    for (int level = 0; level < 4; ++level) {
        const QRectF row(34, 404 + 32 * level, 742, 30);
        FillShape(p, Chamfered(row, 6), QColor(255, 255, 255, level % 2 == 0 ? 6 : 3), QColor(0, 0, 0, 0));
    }
    p.fillRect(QRectF(184, 384, 1, 144), QColor(0x26, 0x2d, 0x39));
    p.fillRect(QRectF(726, 384, 1, 144), QColor(0x26, 0x2d, 0x39));
}

void AdvancedBase(QPainter& p) {
    Panel(p, QRect(16, 108, 432, 432));
    Panel(p, QRect(456, 108, 328, 432));
    // Frames around the child controls, which the program places inside them.
    for (const QRect& control : ControlRects()) {
        const QRectF frame = QRectF(control).adjusted(-3, -3, 3, 3);
        FillShape(p, Chamfered(frame, 5), QColor(0, 0, 0), kInsetBorder);
    }
    p.fillRect(QRectF(468, 206, 308, 1), QColor(0x26, 0x2d, 0x39));
    p.fillRect(QRectF(468, 276, 308, 1), QColor(0x26, 0x2d, 0x39));
    p.fillRect(QRectF(468, 388, 308, 1), QColor(0x26, 0x2d, 0x39));
}

void ColorBase(QPainter& p) {
    Panel(p, QRect(16, 108, 372, 432));
    Panel(p, QRect(396, 108, 388, 432));
    // The four level colours, as a legend under the hints.
    for (int level = 0; level < 4; ++level) {
        const QRectF chip(32 + 88 * level, 478, 76, 10);
        FillShape(p, Chamfered(chip, 3), Vertical(chip, kLevelColor[level].lighter(140), kLevelColor[level]),
                  QColor(0, 0, 0, 0));
        // A soft reflection under each chip.
        const QPointF centre(chip.center().x(), chip.bottom() + 6);
        QRadialGradient glow(centre, 40);
        glow.setColorAt(0, WithAlpha(kLevelColor[level], 70));
        glow.setColorAt(1, WithAlpha(kLevelColor[level], 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.save();
        p.translate(centre);
        p.scale(1, 0.3);
        p.drawEllipse(QPointF(0, 0), 40, 40);
        p.restore();
    }
}

void PaintRegion(QPainter& p, const Region& region, State state, Light light) {
    if (region.role == Role::Unused || region.rect.isEmpty()) {
        return;
    }
    p.save();
    p.setClipRect(region.rect);
    const QRect& r = region.rect;
    switch (region.role) {
    case Role::Button:
    case Role::Stepper:
        RaisedButton(p, r, state, 6, false);
        break;
    case Role::PrimaryButton:
        RaisedButton(p, r, state, 6, true);
        break;
    case Role::Profile:
    case Role::Language:
        RaisedButton(p, r, state, 5, false);
        break;
    case Role::Tab:
        TabLook(p, r, state);
        break;
    case Role::IconTray:
    case Role::IconMinimise:
    case Role::IconClose:
        IconLook(p, r, state, region.role);
        break;
    case Role::Label:
    case Role::Title:
    case Role::Hint:
    case Role::Brand:
        LabelLook(p, r, state);
        break;
    case Role::FunctionBox:
        FunctionBoxLook(p, r, state);
        break;
    case Role::MousePart:
        MousePartLook(p, region.index, r, state);
        break;
    case Role::MouseLogo:
        MouseLogoLook(p, r, state);
        break;
    case Role::Switch:
        RaisedButton(p, r, state, 5, false);
        break;
    case Role::Check:
        CheckLook(p, r, state);
        break;
    case Role::Radio:
        RadioLook(p, r, state);
        break;
    case Role::DpiCell:
        DpiCellLook(p, r, state);
        break;
    case Role::Swatch:
        SwatchLook(p, r, state, region.index - kFirstDpiSwatch);
        break;
    case Role::Ornament:
        OrnamentLook(p, r, state);
        break;
    case Role::FeatureTile:
    case Role::InfoTile:
        TileLook(p, r, state);
        break;
    case Role::Segment:
        SegmentLook(p, r, state);
        break;
    case Role::Slider:
        SliderLook(p, r, state);
        break;
    case Role::ValueField:
        ValueFieldLook(p, r, state);
        break;
    case Role::Toggle:
        ToggleLook(p, r, state, region.index == region::advanced::kRecord);
        break;
    case Role::ModeTile:
        ModeTileLook(p, r, state, region.index - region::color::kFirstMode);
        break;
    case Role::Preview:
        PreviewLook(p, r, light);
        break;
    case Role::WarningMessage: {
        const QPointF c(r.left() + 18, r.center().y());
        QPainterPath tri;
        tri.moveTo(c + QPointF(0, -11));
        tri.lineTo(c + QPointF(12, 10));
        tri.lineTo(c + QPointF(-12, 10));
        tri.closeSubpath();
        FillShape(p, tri, QColor(0x3a, 0x0c, 0x14), QColor(0xff, 0x30, 0x40), 1.6);
        p.setPen(QPen(QColor(0xff, 0x30, 0x40), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c + QPointF(0, -4), c + QPointF(0, 3));
        p.drawPoint(c + QPointF(0, 7));
        break;
    }
    case Role::Unused:
        break;
    }
    p.restore();
}

// A picture of size in the layout's coordinates, scale device pixels to each of them: painters
// on it draw the same description at any density.
QImage NewImage(QSize size, int scale, Qt::GlobalColor ground = Qt::black) {
    QImage image(size * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(ground);
    return image;
}

void PaintRegions(QPainter& p, const Page& page, State state, Light light) {
    for (const Region& region : page.regions) {
        PaintRegion(p, region, state, light);
    }
}

QImage PaintMenuImage(int rows, bool chevrons, State state, int scale) {
    const QSize size(kMenuWidth, rows * kMenuRowHeight + 1);
    QImage image = NewImage(size, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF all(QPointF(0, 0), QSizeF(size));
    p.fillRect(all, Vertical(all, QColor(0x18, 0x1c, 0x25), QColor(0x0d, 0x10, 0x15)));
    for (int row = 0; row < rows; ++row) {
        const QRectF r(0, row * kMenuRowHeight, kMenuWidth, kMenuRowHeight);
        if (state == State::Over) {
            p.fillRect(r.adjusted(1, 1, -1, 0), Vertical(r, kHoverTop, kHoverBottom));
            p.fillRect(QRectF(1, r.top() + 5, 3, r.height() - 9), kAccent);
            BottomGlow(p, r, kAccent, 1.5);
        } else if (state == State::Down) {
            p.fillRect(r.adjusted(1, 1, -1, 0), Vertical(r, kPressedTop, kPressedBottom));
            p.setPen(QPen(kAccentBright, 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r.adjusted(1.5, 1.5, -1.5, -0.5));
        }
        if (row > 0) {
            p.fillRect(QRectF(8, r.top(), kMenuWidth - 16, 1), QColor(0x24, 0x2a, 0x36));
        }
        // Rows 7 to 10 open a sub-menu; a chevron says so.
        if (chevrons && row >= 6) {
            const QPointF c(kMenuWidth - 14, r.center().y());
            p.setPen(QPen(state == State::Normal ? kGlyph : (state == State::Over ? kAccent : Qt::white), 1.6,
                          Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolyline(QPolygonF({c + QPointF(-2, -4), c + QPointF(2, 0), c + QPointF(-2, 4)}));
        }
    }
    if (chevrons) {
        // A double rule separates the direct functions from the sub-menus.
        p.fillRect(QRectF(0, 6 * kMenuRowHeight - 1, kMenuWidth, 2), WithAlpha(kAccent, 120));
    }
    p.setPen(QPen(kSteelBorder, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(all.adjusted(0.5, 0.5, -0.5, -0.5));
    p.fillRect(QRectF(0, 0, kMenuWidth, 2), kAccent);
    return image;
}

QImage Mask(QSize size, const QPolygon& outline, int scale) {
    QImage image = NewImage(size, scale, Qt::white);
    QPainter p(&image);
    // No anti-aliasing: a pixel is either kept or cut.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPolygon(outline);
    return image;
}

}  // namespace

QImage PaintWindowPage(WindowPage page, State state, Light light, int scale) {
    QImage image = NewImage(kWindowSize, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setClipRegion(QRegion(WindowOutline()));
    Background(p, kWindowSize);
    WindowChrome(p);
    const Page* regions = &MainPage();
    switch (page) {
    case WindowPage::Main:
        MainBase(p);
        break;
    case WindowPage::Advanced:
        AdvancedBase(p);
        regions = &AdvancedPage();
        break;
    case WindowPage::Color:
        ColorBase(p);
        regions = &ColorPage();
        break;
    }
    for (const Region& region : MainPage().regions) {
        if (region.index <= region::main::kLastHeader) {
            PaintRegion(p, region, state, light);
        }
    }
    if (page == WindowPage::Main) {
        for (const Region& region : MainPage().regions) {
            if (region.index > region::main::kLastHeader) {
                PaintRegion(p, region, state, light);
            }
        }
    } else {
        PaintRegions(p, *regions, state, light);
    }
    p.setClipping(false);
    Outline(p, WindowOutline());
    return image;
}

QImage PaintWindowMask(int scale) { return Mask(kWindowSize, WindowOutline(), scale); }

QImage PaintWarningMask(int scale) { return Mask(kWarningSize, WarningOutline(), scale); }

QImage PaintMenu(State state, int scale) { return PaintMenuImage(kMenuRows, true, state, scale); }

QImage PaintSubMenu(State state, int scale) { return PaintMenuImage(kSubMenuRows, false, state, scale); }

QImage PaintMenuMask(int scale) { return NewImage(QSize(kMenuWidth, kMenuRows * kMenuRowHeight + 1), scale); }

QImage PaintSubMenuMask(int scale) { return NewImage(QSize(kMenuWidth, kSubMenuRows * kMenuRowHeight + 1), scale); }

QImage PaintWarning(State state, int scale) {
    QImage image = NewImage(kWarningSize, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setClipRegion(QRegion(WarningOutline()));
    const QRectF all(QPointF(0, 0), QSizeF(kWarningSize));
    p.fillRect(all, Vertical(all, QColor(0x1e, 0x23, 0x2e), QColor(0x0c, 0x0e, 0x13)));
    p.fillRect(QRectF(0, 0, kWarningSize.width(), 3), QColor(0xff, 0x30, 0x40));
    QLinearGradient halo(QPointF(0, 3), QPointF(0, 24));
    halo.setColorAt(0, QColor(0xff, 0x30, 0x40, 60));
    halo.setColorAt(1, QColor(0xff, 0x30, 0x40, 0));
    p.fillRect(QRectF(0, 3, kWarningSize.width(), 21), halo);
    p.fillRect(QRectF(20, 84, kWarningSize.width() - 40, 1), QColor(0x2a, 0x31, 0x3e));
    for (const Region& region : WarningPopup().regions) {
        if (region.role == Role::Button) {
            Shadow(p, Chamfered(Inner(region.rect), 6), 4, 110);
        }
    }
    for (const Region& region : WarningPopup().regions) {
        if (region.role == Role::Button) {
            p.save();
            p.setClipRect(region.rect);
            // Labels here are drawn red, so even the hover look stays dark.
            RaisedButton(p, region.rect, state == State::Over ? State::Over : State::Normal, 6, false);
            p.restore();
        } else {
            PaintRegion(p, region, State::Normal, Light::Dark);
        }
    }
    p.setClipping(false);
    Outline(p, WarningOutline());
    return image;
}

// The emblem's two chevrons on a plate cut like the window, in the window's graphite and
// cyan. Sizes below 32 pixels keep every line at least a pixel wide and drop the glow, which
// would only blur them.
void PaintProgramIcon(QPainter& p, int size) {
    const qreal s = size;
    const bool small = size < 32;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal border = std::max(s * 0.035, 1.0);
    const QRectF plate = QRectF(0, 0, s, s).adjusted(border / 2, border / 2, -border / 2, -border / 2);
    const QPainterPath shape = Chamfered(plate, s * 0.22);
    FillShape(p, shape, Vertical(plate, kSteelTop, kBackBottom), QColor(0, 0, 0, 0));
    const QPointF centre(s / 2, s * 0.53);
    if (!small) {
        QRadialGradient glow(centre, s * 0.45);
        glow.setColorAt(0, WithAlpha(kAccent, 110));
        glow.setColorAt(1, WithAlpha(kAccent, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawPath(shape);
    }
    FillShape(p, shape, Qt::NoBrush, kAccent, border);
    Emblem(p, centre, s * (small ? 0.68 : 0.62), kAccentBright);
    p.restore();
}

}  // namespace orv::skin
