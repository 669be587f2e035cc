#include "ui/ProgramProfilesDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QStyleFactory>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <optional>

#include "common/Utf.h"
#include "skin/OwnerDrawnMenuLook.h"
#include "ui/ProgramProfiles.h"
#include "ui/UiText.h"

namespace orv {

namespace {

QColor Colour(MenuRgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

// The colours of the program's menus: white text on the bar colour, the highlight of a
// highlighted item.
void UseProgramColours(QWidget& widget) {
    QPalette palette = widget.palette();
    const QColor bar = Colour(kMenuItemColour);
    const QColor text = Colour(kMenuTextColour);
    for (const auto role : {QPalette::Window, QPalette::Button}) {
        palette.setColor(role, bar);
    }
    palette.setColor(QPalette::Base, bar.darker(140));
    palette.setColor(QPalette::AlternateBase, bar.darker(120));
    for (const auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text, QPalette::HighlightedText}) {
        palette.setColor(role, text);
    }
    palette.setColor(QPalette::Highlight, Colour(kMenuHighlightTop));
    palette.setColor(QPalette::Disabled, QPalette::Text, text.darker(150));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, text.darker(150));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, text.darker(150));
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

// Native styles (the Windows one above all) draw buttons and headers in the system's light
// colours and would put the white text on them: the dialog and every control in it take Qt's
// Fusion style, which draws with the palette. Called once the controls exist.
void DrawWithProgramColours(QWidget& dialog) {
    QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"));
    if (fusion == nullptr) {
        return;
    }
    fusion->setParent(&dialog);
    dialog.setStyle(fusion);
    for (QWidget* child : dialog.findChildren<QWidget*>()) {
        child->setStyle(fusion);
    }
}

QString Qs(const std::string& text) { return QString::fromStdString(text); }

// What the user is told when an edit of the rules could not be saved.
std::optional<TextId> FaultOf(RulesSaved saved) {
    switch (saved) {
    case RulesSaved::Saved:
    case RulesSaved::Unchanged:
        return std::nullopt;
    case RulesSaved::Busy:
        return TextId::FileBusy;
    case RulesSaved::Damaged:
        return TextId::ProgramRulesDamaged;
    case RulesSaved::Unreadable:
        return TextId::ProgramRulesUnreadable;
    case RulesSaved::Failed:
        break;
    }
    return TextId::ProgramRulesNotSaved;
}

}  // namespace

ProgramProfilesDialog::ProgramProfilesDialog(ProgramProfiles& profiles, Language language, QWidget* parent)
    : QDialog(parent), profiles_(profiles), language_(language) {
    setWindowTitle(UiText(TextId::ProgramProfilesTitle, language));
    UseProgramColours(*this);
    auto* layout = new QVBoxLayout(this);

    note_ = new QLabel(this);
    note_->setWordWrap(true);
    layout->addWidget(note_);

    follow_ = new QCheckBox(UiText(TextId::FollowPrograms, language), this);
    layout->addWidget(follow_);

    list_ = new QTreeWidget(this);
    list_->setColumnCount(3);
    list_->setHeaderLabels({UiText(TextId::ProgramColumn, language), UiText(TextId::WindowClassColumn, language),
                            UiText(TextId::ProfileColumn, language)});
    list_->setRootIsDecorated(false);
    list_->setAllColumnsShowFocus(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list_->installEventFilter(this);
    layout->addWidget(list_);

    auto* buttons = new QHBoxLayout;
    add_ = new QPushButton(UiText(TextId::AddRule, language), this);
    remove_ = new QPushButton(UiText(TextId::RemoveRule, language), this);
    buttons->addWidget(add_);
    buttons->addWidget(remove_);
    buttons->addStretch();
    layout->addLayout(buttons);

    auto* form = new QFormLayout;
    noRule_ = new QComboBox(this);
    noRule_->addItem(UiText(TextId::KeepProfile, language));
    for (int n = 1; n <= 5; ++n) {
        noRule_->addItem(UiText(TextId::ProfileNumber, language).arg(n));
    }
    auto* noRuleLabel = new QLabel(UiText(TextId::NoRuleChoice, language), this);
    noRuleLabel->setBuddy(noRule_);
    form->addRow(noRuleLabel, noRule_);
    layout->addLayout(form);

    auto* close = new QDialogButtonBox(this);
    close->addButton(UiText(TextId::CloseDialog, language), QDialogButtonBox::RejectRole);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(close);

    ask_ = [this](ProgramRule& rule) { return AskForProgramRule(language_, this, rule); };
    connect(follow_, &QCheckBox::toggled, this, [this](bool on) {
        Save([on](ProgramRules& rules) {
            rules.enabled = on;
            return true;
        });
    });
    connect(noRule_, &QComboBox::currentIndexChanged, this, [this](int index) {
        Save([index](ProgramRules& rules) {
            rules.noRuleProfile = index;
            return true;
        });
    });
    connect(add_, &QPushButton::clicked, this, &ProgramProfilesDialog::AddRuleAsked);
    connect(remove_, &QPushButton::clicked, this, &ProgramProfilesDialog::RemoveSelected);
    connect(list_, &QTreeWidget::itemSelectionChanged, this,
            [this] { remove_->setEnabled(follow_->isEnabled() && !list_->selectedItems().isEmpty()); });
    Refresh();
    DrawWithProgramColours(*this);
    resize(520, 360);
}

void ProgramProfilesDialog::Refresh() {
    refreshing_ = true;
    const ProgramRules& rules = profiles_.Rules();
    const bool usable = profiles_.FileState() == RulesFound::Read || profiles_.FileState() == RulesFound::Missing;
    FrontWatchUnavailable why = profiles_.Unavailable();
    if (why == FrontWatchUnavailable::None) {
        why = FrontWatchSupport();
    }
    QString note;
    if (!usable) {
        note = UiText(profiles_.FileState() == RulesFound::Damaged ? TextId::ProgramRulesDamaged
                                                                   : TextId::ProgramRulesUnreadable,
                      language_)
                   .arg(Qs(PathToUtf8(profiles_.RulesFile())));
    } else if (why == FrontWatchUnavailable::Wayland) {
        note = UiText(TextId::FollowingOnWayland, language_);
    } else if (why == FrontWatchUnavailable::NoDisplay) {
        note = UiText(TextId::FollowingUnavailable, language_);
    }
    note_->setText(note);
    note_->setVisible(!note.isEmpty());

    follow_->setChecked(rules.enabled);
    noRule_->setCurrentIndex(rules.noRuleProfile);
    list_->clear();
    for (const ProgramRule& rule : rules.rules) {
        auto* item =
            new QTreeWidgetItem(list_, {Qs(rule.program), Qs(rule.windowClass), QString::number(rule.profile)});
        item->setTextAlignment(2, Qt::AlignCenter);
    }
    for (QWidget* control : std::initializer_list<QWidget*>{follow_, list_, add_, noRule_}) {
        control->setEnabled(usable);
    }
    remove_->setEnabled(usable && !list_->selectedItems().isEmpty());
    refreshing_ = false;
}

void ProgramProfilesDialog::Save(const std::function<bool(ProgramRules&)>& edit) {
    if (refreshing_) {
        return;
    }
    const RulesSaved saved = profiles_.Edit(edit);
    if (const auto fault = FaultOf(saved)) {
        profiles_.Tell(*fault);
    }
    if (saved != RulesSaved::Saved) {
        // What the file holds now, whoever changed it.
        profiles_.Load();
    }
    Refresh();
}

void ProgramProfilesDialog::AddRuleAsked() {
    ProgramRule rule;
    if (!ask_(rule)) {
        return;
    }
    Save([&rule](ProgramRules& rules) {
        AddRule(rules, rule, ProgramNamesIgnoreCase());
        return true;
    });
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list_->topLevelItem(i);
        if (item->text(0) == Qs(rule.program) && item->text(1) == Qs(rule.windowClass)) {
            list_->setCurrentItem(item);
        }
    }
}

// The selected row is removed, not every rule of its program: the others have their own rows.
void ProgramProfilesDialog::RemoveSelected() {
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    const int row = list_->indexOfTopLevelItem(selected.front());
    const ProgramRule shown = profiles_.Rules().rules.at(static_cast<size_t>(row));
    Save([&shown](ProgramRules& rules) { return std::erase(rules.rules, shown) > 0; });
    if (list_->topLevelItemCount() > 0) {
        list_->setCurrentItem(list_->topLevelItem(std::min(row, list_->topLevelItemCount() - 1)));
    }
}

bool ProgramProfilesDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        RemoveSelected();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool AskForProgramRule(Language language, QWidget* parent, ProgramRule& rule) {
    QDialog dialog(parent);
    dialog.setWindowTitle(UiText(TextId::AddRuleTitle, language));
    UseProgramColours(dialog);
    auto* layout = new QVBoxLayout(&dialog);

    auto* runningLabel = new QLabel(UiText(TextId::RunningProgramsLabel, language), &dialog);
    auto* running = new QListWidget(&dialog);
    for (const std::string& name : RunningPrograms()) {
        running->addItem(Qs(name));
    }
    runningLabel->setBuddy(running);
    layout->addWidget(runningLabel);
    layout->addWidget(running);

    auto* form = new QFormLayout;
    auto* program = new QLineEdit(&dialog);
    auto* browse = new QPushButton(UiText(TextId::BrowseProgram, language), &dialog);
    auto* programRow = new QHBoxLayout;
    programRow->addWidget(program);
    programRow->addWidget(browse);
    auto* programLabel = new QLabel(UiText(TextId::ProgramLabel, language), &dialog);
    programLabel->setBuddy(program);
    form->addRow(programLabel, programRow);
    auto* windowClass = new QLineEdit(&dialog);
    auto* classLabel = new QLabel(UiText(TextId::WindowClassLabel, language), &dialog);
    classLabel->setBuddy(windowClass);
    form->addRow(classLabel, windowClass);
    auto* profile = new QSpinBox(&dialog);
    profile->setRange(1, 5);
    auto* profileLabel = new QLabel(UiText(TextId::ProfileLabel, language), &dialog);
    profileLabel->setBuddy(profile);
    form->addRow(profileLabel, profile);
    layout->addLayout(form);

    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(UiText(TextId::Ok, language), QDialogButtonBox::AcceptRole);
    buttons->addButton(UiText(TextId::Cancel, language), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    layout->addWidget(buttons);

    auto valid = [&] {
        const std::string name = ProgramFileName(program->text().toStdString());
        return IsProgramName(name) && IsWindowClassName(windowClass->text().toStdString());
    };
    auto update = [&] { ok->setEnabled(valid()); };
    QObject::connect(program, &QLineEdit::textChanged, &dialog, update);
    QObject::connect(windowClass, &QLineEdit::textChanged, &dialog, update);
    // Taken when the user selects a program; the list's current row on taking the focus is none.
    QObject::connect(running, &QListWidget::itemSelectionChanged, &dialog, [&] {
        if (const QList<QListWidgetItem*> chosen = running->selectedItems(); !chosen.isEmpty()) {
            program->setText(chosen.front()->text());
        }
    });
    QObject::connect(running, &QListWidget::itemActivated, &dialog, [&] {
        if (valid()) {
            dialog.accept();
        }
    });
    QObject::connect(browse, &QPushButton::clicked, &dialog, [&] {
        const QString chosen = QFileDialog::getOpenFileName(&dialog, UiText(TextId::AddRuleTitle, language));
        if (!chosen.isEmpty()) {
            program->setText(chosen);
        }
    });
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    update();
    DrawWithProgramColours(dialog);
    running->setFocus();
    if (dialog.exec() != QDialog::Accepted || !valid()) {
        return false;
    }
    rule = {ProgramFileName(program->text().toStdString()), windowClass->text().toStdString(), profile->value()};
    return true;
}

}  // namespace orv
