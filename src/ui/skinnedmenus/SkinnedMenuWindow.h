#pragma once
#include <cstdint>

#include <QStringList>
#include <QWidget>

#include "settings/FunctionMenuRules.h"
#include "ui/FunctionMenuContext.h"

namespace orv {

// The pictures of one skinned menu: the menu, the look of the row under the mouse, the look
// of a pressed row, and the mask whose size gives the rows.
struct SkinnedMenuPictures {
    const char* normal;
    const char* over;
    const char* down;
    const char* mask;
};

// A caption-less menu window drawn entirely from pictures: a column of rows of one height, the
// row under the mouse copied from the over picture (the down picture while the left button is
// held), every row's text centred in white, the hovered one in red. It never takes the focus
// and stays open until its owner closes it.
class SkinnedMenuWindow : public QWidget {
public:
    // Row under the mouse, 1..hit rows, or kNoMenuRow.
    int32_t Hover() const { return hover_; }
    bool Pressed() const { return pressed_; }
    int32_t RowHeight() const { return geometry_.rowHeight; }
    // The texts drawn, one per row.
    const QStringList& RowTexts() const { return texts_; }

protected:
    SkinnedMenuWindow(const FunctionMenuContext& context, const SkinnedMenuPictures& pictures, QWidget* parent);

    // The mask's size; an empty size when the mask cannot be read.
    QSize MaskSize() const;
    // Sizes the window to the geometry; hitRows rows answer the mouse, texts are drawn.
    void SetRows(const MenuGeometry& geometry, int32_t hitRows, const QStringList& texts);
    const FunctionMenuContext& Context() const { return context_; }

    // The row under the mouse changed (not called for moves within one row).
    virtual void HoverChanged() {}
    // The left button came up over this row (kNoMenuRow: over no row).
    virtual void Released(int32_t row) = 0;

    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void TrackHover(QPoint point);
    QImage Compose() const;

    FunctionMenuContext context_;
    SkinnedMenuPictures pictures_;
    MenuGeometry geometry_;
    int32_t hitRows_ = 0;
    QStringList texts_;
    int32_t hover_ = kNoMenuRow;
    bool pressed_ = false;
};

}  // namespace orv
