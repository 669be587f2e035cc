// Writes the skin and the delivered data files:
//   orv-skingen DATA_DIR
#include <QGuiApplication>
#include <cstdio>

#include "DataWriter.h"
#include "common/Utf.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: orv-skingen DATA_DIR\n");
        return 2;
    }
    QString error;
    if (!orv::skin::WriteDataFiles(orv::PathFromUtf8(argv[1]), error)) {
        std::fprintf(stderr, "orv-skingen: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
