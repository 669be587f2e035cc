#pragma once
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/UserDialogs.h"

namespace orv::testing {

// Answers the standard dialogs as the test says and keeps what each was opened with.
class FakeDialogs : public UserDialogs {
public:
    struct Opened {
        std::string kind;  // "open", "save", "question" or "unsaved"
        FileDialogOptions options;
        std::string caption;
        std::string text;
        Language language;  // of a question's buttons
    };

    std::optional<std::filesystem::path> chosenFile;  // nothing: the dialog is cancelled
    bool answerYes = true;
    UnsavedChoice unsavedAnswer = UnsavedChoice::Discard;
    std::vector<Opened> opened;
    std::function<void()> whenOpened;  // runs while a dialog is open

    std::optional<std::filesystem::path> ChooseFileToOpen(const FileDialogOptions& options) override {
        opened.push_back({"open", options, {}, {}, {}});
        Opening();
        return chosenFile;
    }
    std::optional<std::filesystem::path> ChooseFileToSave(const FileDialogOptions& options) override {
        opened.push_back({"save", options, {}, {}, {}});
        Opening();
        return chosenFile;
    }
    bool AskYesNo(std::string_view caption, std::string_view text, Language language) override {
        opened.push_back({"question", {}, std::string(caption), std::string(text), language});
        Opening();
        return answerYes;
    }

    UnsavedChoice AskToSave(std::string_view caption, std::string_view text, Language language) override {
        opened.push_back({"unsaved", {}, std::string(caption), std::string(text), language});
        Opening();
        return unsavedAnswer;
    }

private:
    void Opening() {
        if (whenOpened)
            whenOpened();
    }
};

}  // namespace orv::testing
