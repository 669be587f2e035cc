#pragma once
#include <cstdint>
#include <functional>

#include "ui/skinnedmenus/SkinnedMenuWindow.h"

namespace orv {

// The sub-menu beside the function menu: the page of the main-menu row that opened it (7 the
// more functions, 8 multimedia, 9 the user macros by name, 10 the constant macros), one row per
// function. A release on a row chooses its FunctionCode; a release on the pixel line below the
// last row chooses nothing.
class CSubMenuDlg : public SkinnedMenuWindow {
public:
    using ChoiceHandler = std::function<void(int32_t code)>;

    CSubMenuDlg(const FunctionMenuContext& context, int32_t menuRow, ChoiceHandler onChoice, QWidget* parent);

    int32_t MenuRow() const { return menuRow_; }
    // Rows of the page; 0 also when the mask cannot be read.
    int32_t Rows() const { return rows_; }

protected:
    void Released(int32_t row) override;

private:
    int32_t menuRow_;
    int32_t rows_ = 0;
    int32_t macroCount_;
    ChoiceHandler onChoice_;
};

}  // namespace orv
