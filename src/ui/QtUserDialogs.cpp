#include "ui/QtUserDialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

#include "common/Texts.h"
#include "common/Utf.h"

namespace orv {

namespace {

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

std::optional<std::filesystem::path> Run(QWidget* owner, const FileDialogOptions& options,
                                         QFileDialog::AcceptMode mode) {
    QFileDialog dialog(owner);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(QtNameFilters(options.filter).split(QStringLiteral(";;")));
    dialog.setDirectory(QString::fromStdString(PathToUtf8(options.initialFolder)));
    dialog.setDefaultSuffix(QString::fromStdString(options.defaultExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return PathFromUtf8(dialog.selectedFiles().constFirst().toStdString());
}

}  // namespace

std::optional<std::filesystem::path> QtUserDialogs::ChooseFileToOpen(const FileDialogOptions& options) {
    return Run(owner_, options, QFileDialog::AcceptOpen);
}

// Qt's save dialog asks before replacing an existing file unless told not to.
std::optional<std::filesystem::path> QtUserDialogs::ChooseFileToSave(const FileDialogOptions& options) {
    return Run(owner_, options, QFileDialog::AcceptSave);
}

// The buttons carry the program's own texts: Qt's would stay in the language of its translations.
bool QtUserDialogs::AskYesNo(std::string_view caption, std::string_view text, Language language) {
    QMessageBox box(QMessageBox::Question, FromUtf8(caption), FromUtf8(text), QMessageBox::Yes | QMessageBox::No,
                    owner_);
    box.button(QMessageBox::Yes)->setText(FromUtf8(Text(TextId::Yes, language)));
    box.button(QMessageBox::No)->setText(FromUtf8(Text(TextId::No, language)));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

// Save is the default, as the user came to do something with the macros; Escape and the
// window's close button cancel.
UnsavedChoice QtUserDialogs::AskToSave(std::string_view caption, std::string_view text, Language language) {
    QMessageBox box(QMessageBox::Warning, FromUtf8(caption), FromUtf8(text),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, owner_);
    box.button(QMessageBox::Save)->setText(FromUtf8(Text(TextId::Save, language)));
    box.button(QMessageBox::Discard)->setText(FromUtf8(Text(TextId::Discard, language)));
    box.button(QMessageBox::Cancel)->setText(FromUtf8(Text(TextId::Cancel, language)));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return UnsavedChoice::Save;
    case QMessageBox::Discard:
        return UnsavedChoice::Discard;
    default:
        return UnsavedChoice::Cancel;
    }
}

QString QtNameFilters(std::string_view windowsFilter) {
    const QStringList parts = FromUtf8(windowsFilter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
        if (description.isEmpty() && patterns.isEmpty())
            break;  // the closing "||"
        if (description.endsWith(QLatin1Char('(') + patterns + QLatin1Char(')')))
            filters << description;
        else
            filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

}  // namespace orv
