#include "app/WindowTexts.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "ui/UiText.h"

namespace orv {

QString ProgramName() {
    const QString path = QCoreApplication::applicationFilePath();
    return path.isEmpty() ? UiText(TextId::ProgramName) : QFileInfo(path).completeBaseName();
}

}  // namespace orv
