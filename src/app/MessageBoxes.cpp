#include "app/MessageBoxes.h"

#include <QMessageBox>
#include <QString>

namespace orv {

void MessageBoxes::ShowMessage(std::string_view caption, std::string_view text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QMessageBox::Ok);
    box.exec();
}

}  // namespace orv
