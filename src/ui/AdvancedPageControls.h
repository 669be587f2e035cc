#pragma once

class QLineEdit;
class QListWidget;

namespace orv {

class CEditableListBox;

// The four child controls of the advanced page. They exist only while the page is shown: the
// pages create them on entering it and destroy them on leaving, so whoever keeps one keeps a
// guarded pointer (QPointer).
struct AdvancedPageControls {
    QLineEdit* repeatCountEdit = nullptr;
    QLineEdit* macroNameEdit = nullptr;
    QListWidget* macroList = nullptr;
    CEditableListBox* eventList = nullptr;
};

}  // namespace orv
