#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "common/Language.h"

namespace orv {

// What a standard file dialog offers.
struct FileDialogOptions {
    // As the Windows dialogs take it: description and pattern pairs separated by '|', ended by
    // "||" ("All Files(*.ini)|*.ini||").
    std::string filter;
    std::filesystem::path initialFolder;
    // Added to a typed name without one ("ini"); empty for none.
    std::string defaultExtension;
};

// The answers to a question about changes not yet saved.
enum class UnsavedChoice { Save, Discard, Cancel };

// The standard dialogs the window's commands open, behind one seam so tests can answer them.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // The file chosen, or nothing when the dialog was cancelled.
    virtual std::optional<std::filesystem::path> ChooseFileToOpen(const FileDialogOptions& options) = 0;
    // As above; choosing an existing file asks first whether to replace it.
    virtual std::optional<std::filesystem::path> ChooseFileToSave(const FileDialogOptions& options) = 0;
    // A question with Yes and No, the buttons in the language; true for Yes.
    virtual bool AskYesNo(std::string_view caption, std::string_view text, Language language) = 0;
    // A question with Save, Discard and Cancel, the buttons in the language; closing it cancels.
    virtual UnsavedChoice AskToSave(std::string_view caption, std::string_view text, Language language) = 0;
};

}  // namespace orv
