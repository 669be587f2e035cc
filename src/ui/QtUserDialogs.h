#pragma once
#include <QString>

#include "ui/UserDialogs.h"

class QWidget;

namespace orv {

// The standard dialogs as Qt draws them, owned by the given window.
class QtUserDialogs : public UserDialogs {
public:
    explicit QtUserDialogs(QWidget* owner) : owner_(owner) {}

    std::optional<std::filesystem::path> ChooseFileToOpen(const FileDialogOptions& options) override;
    std::optional<std::filesystem::path> ChooseFileToSave(const FileDialogOptions& options) override;
    bool AskYesNo(std::string_view caption, std::string_view text, Language language) override;
    UnsavedChoice AskToSave(std::string_view caption, std::string_view text, Language language) override;

private:
    QWidget* owner_;
};

// A Windows dialog filter as Qt's name filters: "All Files(*.ini)|*.ini||" gives
// "All Files(*.ini)"; a description that does not name its patterns gets them appended in
// brackets, and several pairs are joined with ";;".
QString QtNameFilters(std::string_view windowsFilter);

}  // namespace orv
