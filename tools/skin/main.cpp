// Writes the skin, the delivered data files and the program's icon files:
//   orv-skingen DATA_DIR ICON_DIR
#include <QGuiApplication>
#include <cstdio>

#include "DataWriter.h"
#include "IconWriter.h"
#include "common/Utf.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: orv-skingen DATA_DIR ICON_DIR\n");
        return 2;
    }
    QString error;
    if (!orv::skin::WriteDataFiles(orv::PathFromUtf8(argv[1]), error) ||
        !orv::skin::WriteIconFiles(orv::PathFromUtf8(argv[2]), error)) {
        std::fprintf(stderr, "orv-skingen: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
