#include "ui/skinnedmenus/CSubMenuDlg.h"

#include "ui/ComposeFrame.h"

namespace orv {

namespace {

constexpr SkinnedMenuPictures kSubMenuPictures{"advanced menu_normal.jpg", "advanced menu_over.jpg",
                                               "advanced menu_down.jpg", "advanced menu_mask.jpg"};

}  // namespace

CSubMenuDlg::CSubMenuDlg(const FunctionMenuContext& context, int32_t menuRow, ChoiceHandler onChoice, QWidget* parent)
    : SkinnedMenuWindow(context, kSubMenuPictures, parent),
      menuRow_(menuRow),
      macroCount_(context.MacroCount()),
      onChoice_(std::move(onChoice)) {
    const QSize mask = MaskSize();
    if (mask.isEmpty())
        return;
    rows_ = SubMenuRowCount(menuRow, macroCount_);
    QStringList texts;
    for (int32_t row = 1; row <= rows_; ++row)
        texts << ButtonFunctionText(context.model, SubMenuChoice(menuRow, row, macroCount_).value_or(0));
    SetRows(SubMenuGeometry(mask.width(), mask.height(), rows_), rows_, texts);
}

void CSubMenuDlg::Released(int32_t row) {
    if (const auto code = SubMenuChoice(menuRow_, row, macroCount_); code && onChoice_)
        onChoice_(*code);
}

}  // namespace orv
