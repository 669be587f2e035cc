#pragma once
// Some window behaviour is the system's own on Windows (moving a window, its system menu, a
// minimised window's picture, a keyboard grab through the low-level hook); the tests of the
// program's own stand-ins skip themselves there.
#include <QOperatingSystemVersion>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>

namespace orv::test {

inline bool OnWindows() { return QOperatingSystemVersion::currentType() == QOperatingSystemVersion::Windows; }

// Wine keeps its own settings in the registry it gives programs.
inline bool UnderWine() {
    return OnWindows() && !QSettings(QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Wine"), QSettings::NativeFormat)
                               .childGroups()
                               .isEmpty();
}

// Under Wine a named pipe whose server and client are one thread never connects; the programs'
// own second start, from another process, is tried under Wine instead.
#define ORV_SKIP_ONE_PROCESS_PIPE_UNDER_WINE()                             \
    do {                                                                   \
        if (orv::test::UnderWine()) {                                      \
            QSKIP("Wine does not connect a named pipe within one thread"); \
        }                                                                  \
    } while (false)

// A single-instance name of the test's own: a socket in the folder on Linux, a named pipe (whose
// names are not paths) on Windows.
inline QString InstanceNameIn(const QTemporaryDir& dir) {
    if (OnWindows()) {
        return QStringLiteral("orv-test-") + dir.path().section(QLatin1Char('/'), -1);
    }
    return dir.filePath(QStringLiteral("CORV_GMouseApp"));
}

}  // namespace orv::test
