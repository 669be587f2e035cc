// ORV_GMouse: the utility's window and notification-area icon.
#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/AppOptions.h"
#include "app/CORV_GMouseApp.h"

int main(int argc, char** argv) {
    // Answered before the application connects to a display, so they work without one.
    switch (orv::FindInfoRequest(std::vector<std::string>(argv + std::min(argc, 1), argv + argc))) {
    case orv::InfoRequest::Help:
        std::printf("%s\n%s\n", orv::kAppUsage, orv::kAppOptionsHelp);
        return 0;
    case orv::InfoRequest::Version:
        std::printf("ORV_GMouse %s\n", ORV_VERSION);
        return 0;
    case orv::InfoRequest::None:
        break;
    }
    QApplication application(argc, argv);
    // Lets the desktop match the window to its menu entry, icon included.
    QGuiApplication::setDesktopFileName(QStringLiteral(ORV_APP_ID));
    // The utility lives in the notification area; a hidden window must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    std::vector<std::string> args;
    for (const QString& arg : QApplication::arguments().mid(1)) {
        args.push_back(arg.toStdString());
    }
    const orv::ParsedAppOptions parsed = orv::ParseAppOptions(args);
    if (!parsed.options) {
        std::fprintf(stderr, "%s\n%s\n", parsed.error.c_str(), orv::kAppUsage);
        return 2;
    }
    orv::CORV_GMouseApp app(*parsed.options);
    return app.Run();
}
