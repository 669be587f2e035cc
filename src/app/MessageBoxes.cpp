#include "app/MessageBoxes.h"

#include <QMessageBox>
#include <QString>
#include <cstdio>

namespace orv {

void MessageBoxes::ShowMessage(std::string_view caption, std::string_view text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QMessageBox::Ok);
    box.exec();
}

void ErrorOutputMessages::ShowMessage(std::string_view caption, std::string_view text) {
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
                 static_cast<int>(text.size()), text.data());
}

}  // namespace orv
