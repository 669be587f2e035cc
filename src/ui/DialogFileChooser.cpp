#include "ui/DialogFileChooser.h"

#include <QFileDialog>
#include <QStringList>

#include "common/Utf.h"

namespace orv {

std::optional<std::filesystem::path> DialogFileChooser::ChooseFileToOpen(const FileDialogRequest& request)
{
    return Run(request, false);
}

std::optional<std::filesystem::path> DialogFileChooser::ChooseFileToSave(const FileDialogRequest& request)
{
    return Run(request, true);
}

std::optional<std::filesystem::path> DialogFileChooser::Run(const FileDialogRequest& request, bool save)
{
    QFileDialog dialog(&owner_, QString(), QString::fromStdString(PathToUtf8(request.folder)), request.filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return std::nullopt;
    return PathFromUtf8(chosen.first().toStdString());
}

}  // namespace orv
