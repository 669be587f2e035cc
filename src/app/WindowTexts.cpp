#include "app/WindowTexts.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace orv {

namespace {

constexpr const char* kProduct = "TALVEN Q7";

}  // namespace

QString MainWindowTitle(int language) {
    return language != 0 ? QStringLiteral("TALVEN Q7 Gaming Mouse") : QStringLiteral("岚峰Q7电竞游戏鼠标");
}

QString PlugInPrompt(int language) {
    const QString product = QString::fromLatin1(kProduct);
    return language != 0 ? QStringLiteral("Please plug-in【") + product + QStringLiteral("】USB Mouse")
                         : QStringLiteral("请插入【") + product + QStringLiteral("】USB鼠标");
}

QString ShowWindowText(int language) {
    return language != 0 ? QStringLiteral("Show Window") : QStringLiteral("显示窗口   ");
}

QString ExitDriverText(int language) {
    return language != 0 ? QStringLiteral("Exit Driver") : QStringLiteral("关闭驱动");
}

QString AboutMenuText() { return QStringLiteral("&About ORV_GMouse..."); }
QString AboutTitle() { return QStringLiteral("About ORV_GMouse"); }
QString AboutVersionText() { return QStringLiteral("ORV_GMouse Version 1.0"); }

QString ProgramName() {
    const QString path = QCoreApplication::applicationFilePath();
    return path.isEmpty() ? QStringLiteral("ORV_GMouse") : QFileInfo(path).completeBaseName();
}

}  // namespace orv
