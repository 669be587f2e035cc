#pragma once
// What the end-to-end tests share: running X tools and reading their answers, the program's
// main window, its data folder, and commands to the running program over its instance socket.
#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace e2e {

inline constexpr int kLongWaitMs = 60000;

// What the tool printed; empty when it did not finish in time.
inline QString RunTool(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(kLongWaitMs)) {
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QString RootTree() {
    return RunTool(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")});
}

// The id of the first window whose line in the tree matches.
inline QString WindowId(const QString& tree, const QRegularExpression& line) {
    for (const QString& l : tree.split(QLatin1Char('\n'))) {
        if (line.match(l).hasMatch()) {
            return l.trimmed().section(QLatin1Char(' '), 0, 0);
        }
    }
    return {};
}

// The main window is the program's window with the size of the skin.
inline QString MainWindowId() {
    return WindowId(RootTree(), QRegularExpression(QStringLiteral("\\(\"ORV_GMouse\" \"ORV_GMouse\"\\)\\s+800x600")));
}

inline void CopyFolder(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + file.mid(from.size());
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(file, target);
    }
}

// One command line to the program whose instance socket lies in runtimeDir, as a later start
// or a test hook sends it.
inline bool Send(const QString& runtimeDir, const QByteArray& command) {
    QLocalSocket socket;
    socket.connectToServer(QDir(runtimeDir).filePath(QStringLiteral("CORV_GMouseApp")));
    if (!socket.waitForConnected(kLongWaitMs)) {
        return false;
    }
    socket.write(command + '\n');
    const bool written = socket.waitForBytesWritten(kLongWaitMs);
    socket.disconnectFromServer();
    return written;
}

}  // namespace e2e
