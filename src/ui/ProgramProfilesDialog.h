#pragma once
#include <QDialog>
#include <functional>

#include "common/Language.h"
#include "settings/ProgramRules.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace orv {

class ProgramProfiles;

// The rules of the profiles that follow the program in front, edited in the program's colours
// and language: each change is saved at once, and the list always shows what the file holds.
class ProgramProfilesDialog : public QDialog {
    Q_OBJECT
public:
    ProgramProfilesDialog(ProgramProfiles& profiles, Language language, QWidget* parent = nullptr);

    QTreeWidget* RuleList() const { return list_; }
    QCheckBox* FollowSwitch() const { return follow_; }
    QComboBox* NoRuleChoice() const { return noRule_; }
    QLabel* Note() const { return note_; }
    QPushButton* AddButton() const { return add_; }
    QPushButton* RemoveButton() const { return remove_; }

    // Add's own dialog, replaceable so that tests need not drive a second modal dialog.
    void SetAsker(std::function<bool(ProgramRule& rule)> ask) { ask_ = std::move(ask); }

private:
    void Refresh();
    void Save(const std::function<bool(ProgramRules&)>& edit);
    void AddRuleAsked();
    void RemoveSelected();
    bool eventFilter(QObject* watched, QEvent* event) override;

    ProgramProfiles& profiles_;
    Language language_;
    QLabel* note_;
    QCheckBox* follow_;
    QTreeWidget* list_;
    QPushButton* add_;
    QPushButton* remove_;
    QComboBox* noRule_;
    std::function<bool(ProgramRule& rule)> ask_;
    bool refreshing_ = false;
};

// Asks for a program (from those running, or an executable chosen from the disk), an optional
// window class and a profile; false when the user cancelled.
bool AskForProgramRule(Language language, QWidget* parent, ProgramRule& rule);

}  // namespace orv
