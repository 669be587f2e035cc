#pragma once
#include <filesystem>
#include <optional>

#include <QString>

namespace orv {

// What a file dialog offers: a Qt name filter ("Description(*.ext)"), the folder it opens in,
// and for saving the extension given to a name typed without one (empty: none).
struct FileDialogRequest {
    QString filter;
    std::filesystem::path folder;
    QString defaultSuffix;
};

// Asks the user for a file. The window shows the standard dialogs; tests answer themselves.
class FileChooser {
public:
    virtual ~FileChooser() = default;

    // An existing file to read; nothing when the user cancels.
    virtual std::optional<std::filesystem::path> ChooseFileToOpen(const FileDialogRequest& request) = 0;
    // A file to write; where it exists, the user has agreed to replace it. Nothing on cancel.
    virtual std::optional<std::filesystem::path> ChooseFileToSave(const FileDialogRequest& request) = 0;
};

}  // namespace orv
