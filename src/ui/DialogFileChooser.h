#pragma once
#include "ui/FileChooser.h"

class QWidget;

namespace orv {

// The system's standard open and save dialogs, modal over owner. The save dialog asks before
// it replaces an existing file.
class DialogFileChooser : public FileChooser {
public:
    explicit DialogFileChooser(QWidget& owner) : owner_(owner) {}

    std::optional<std::filesystem::path> ChooseFileToOpen(const FileDialogRequest& request) override;
    std::optional<std::filesystem::path> ChooseFileToSave(const FileDialogRequest& request) override;

private:
    std::optional<std::filesystem::path> Run(const FileDialogRequest& request, bool save);

    QWidget& owner_;
};

}  // namespace orv
