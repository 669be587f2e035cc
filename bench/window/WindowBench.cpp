// The window program as the user runs it (ORV_GMouse --simulate, on the display in DISPLAY, with
// a notification area): time from start to the first painted frame; resident memory shown, after
// page switches and hover passes driven with xdotool, and hidden in the notification area;
// processor time and wake-ups while hidden. Prints one row per measurement, tab-separated: what,
// value, unit, goal.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>

#include "common/Messages.h"
#include "settings/ConfigFile.h"
#include "skin/Regions.h"
#include "skin/SkinLayout.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kWaitMs = 60000;
constexpr int kPaintWaitMs = 20000;

class NoMessages : public orv::MessageSink {
public:
    void ShowMessage(std::string_view, std::string_view) override {}
};

void Row(const char* what, double value, const char* unit, const char* goal) {
    std::printf("%s\t%.2f\t%s\t%s\n", what, value, unit, goal);
    std::fflush(stdout);
}

long long SteadyNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A field of /proc/PID/status, in its own unit (kB for memory).
long StatusField(qint64 pid, const std::string& path, const std::string& field) {
    std::ifstream status("/proc/" + std::to_string(pid) + path);
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::stol(line.substr(field.size() + 1));
        }
    }
    return 0;
}

double RssMegabytes(qint64 pid) { return StatusField(pid, "/status", "VmRSS") / 1024.0; }

// User and system time of the whole process.
double CpuSeconds(qint64 pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    double ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14 || i == 15) {
            ticks += std::stod(field);
        }
    }
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Context switches of each thread: each is a wake-up of that thread.
std::map<std::string, long> WakeUps(qint64 pid) {
    std::map<std::string, long> counts;
    const fs::path tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code error;
    for (const auto& task : fs::directory_iterator(tasks, error)) {
        const std::string tid = task.path().filename().string();
        const std::string path = "/task/" + tid + "/status";
        counts[tid] =
            StatusField(pid, path, "voluntary_ctxt_switches") + StatusField(pid, path, "nonvoluntary_ctxt_switches");
    }
    return counts;
}

// Threads that ended meanwhile are left out; threads started meanwhile count whole.
long WakeUpsBetween(const std::map<std::string, long>& before, const std::map<std::string, long>& after) {
    long total = 0;
    for (const auto& [tid, count] : after) {
        const auto earlier = before.find(tid);
        total += count - (earlier == before.end() ? 0 : earlier->second);
    }
    return total;
}

QString Run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    process.waitForFinished(kWaitMs);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

class Program {
public:
    explicit Program(const QString& dataDir) {
        QStringList env = QProcess::systemEnvironment();
        env << QStringLiteral("ORV_GMOUSE_FIRST_PAINT_MARK=1") << QStringLiteral("ORV_GMOUSE_TEST_HOOKS=1")
            << QStringLiteral("XDG_RUNTIME_DIR=") + runtime_.path();
        QFile::setPermissions(runtime_.path(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        process_.setEnvironment(env);
        process_.setStandardOutputFile(QProcess::nullDevice());
        process_.setReadChannel(QProcess::StandardError);
        started_ = SteadyNanoseconds();
        process_.start(QStringLiteral(ORV_GMOUSE_EXE),
                       {QStringLiteral("--simulate"), QStringLiteral("--dir"), dataDir});
    }
    ~Program() {
        if (process_.state() != QProcess::NotRunning) {
            Send("tray-exit");
            if (!process_.waitForFinished(kWaitMs)) {
                process_.kill();
                process_.waitForFinished(kWaitMs);
            }
        }
    }

    // Milliseconds from the start to the first painted frame; negative when none came.
    double WaitForFirstPaint() {
        QByteArray err;
        while (process_.waitForReadyRead(kPaintWaitMs) || process_.bytesAvailable() > 0) {
            err += process_.readAllStandardError();
            const qsizetype at = err.indexOf("first-paint ");
            const qsizetype end = at < 0 ? -1 : err.indexOf('\n', at);
            if (end > at) {
                const long long painted = err.mid(at + 12, end - at - 12).toLongLong();
                return static_cast<double>(painted - started_) / 1e6;
            }
        }
        return -1;
    }
    bool Send(const char* command) {
        QLocalSocket socket;
        socket.connectToServer(QDir(runtime_.path()).filePath(QStringLiteral("CORV_GMouseApp")));
        if (!socket.waitForConnected(kWaitMs)) {
            return false;
        }
        socket.write(QByteArray(command) + '\n');
        const bool written = socket.waitForBytesWritten(kWaitMs);
        socket.disconnectFromServer();
        return written;
    }
    qint64 Pid() const { return process_.processId(); }

private:
    QTemporaryDir runtime_;
    QProcess process_;
    long long started_ = 0;
};

QString MainWindowId() {
    for (const QString& id : Run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                             QStringLiteral("--name"), QStringLiteral("Q7")})
                                 .split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        return id;
    }
    return {};
}

QStringList MoveTo(const QString& window, const orv::SkinRegion& r) {
    return {QStringLiteral("mousemove"),
            QStringLiteral("--window"),
            window,
            QString::number(r.x + r.width / 2),
            QString::number(r.y + r.height / 2),
            QStringLiteral("sleep"),
            QStringLiteral("0.004")};
}

// Clicks the tabs in turn, main -> advanced -> colour -> main, and between clicks passes the
// pointer over the header's regions.
void SwitchPages(const QString& window, const orv::SkinLayout& skin, int switches) {
    using namespace orv::region::main;
    constexpr int kPerCall = 20;
    for (int done = 0; done < switches;) {
        QStringList args;
        for (int i = 0; i < kPerCall && done < switches; ++i, ++done) {
            const int tab = PageTab((done + 1) % 3);
            args << MoveTo(window, skin.MainRegions[static_cast<size_t>(tab)]) << QStringLiteral("click")
                 << QStringLiteral("1") << QStringLiteral("sleep") << QStringLiteral("0.01");
            for (int hover : {kFirstProfile, kLastProfile, kImportProfile, kExportProfile, kMinimise}) {
                args << MoveTo(window, skin.MainRegions[static_cast<size_t>(hover)]);
            }
        }
        Run(QStringLiteral("xdotool"), args);
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QTemporaryDir data;
    fs::copy(ORV_DATA_DIR, data.path().toStdString(), fs::copy_options::recursive);
    const fs::path dir = data.path().toStdString();

    std::vector<double> starts;
    for (int run = 0; run < 5; ++run) {
        Program program(data.path());
        starts.push_back(program.WaitForFirstPaint());
    }
    std::sort(starts.begin(), starts.end());
    Row("start to first paint, median of 5", starts[2], "ms", "<= 300");
    Row("start to first paint, slowest of 5", starts.back(), "ms", "");

    Program program(data.path());
    if (program.WaitForFirstPaint() < 0) {
        std::fprintf(stderr, "the window did not paint\n");
        return 1;
    }
    std::this_thread::sleep_for(2s);
    const qint64 pid = program.Pid();
    Row("RSS shown, main page", RssMegabytes(pid), "MB", "");

    orv::SkinLayout skin;
    NoMessages messages;
    const QString window = MainWindowId();
    if (window.isEmpty() || !orv::LoadSkin(dir / "skins", orv::LoadLanguage(dir / "config.ini"), skin, messages, "")) {
        std::fprintf(stderr, "no window or skin to drive\n");
        return 1;
    }
    SwitchPages(window, skin, 30);
    std::this_thread::sleep_for(1s);
    const double afterFew = RssMegabytes(pid);
    Row("RSS shown, after 30 page switches", afterFew, "MB", "");
    SwitchPages(window, skin, 1000);
    std::this_thread::sleep_for(1s);
    const double afterMany = RssMegabytes(pid);
    Row("RSS shown, after 1,000 page switches and hover passes", afterMany, "MB", "no growth");
    Row("RSS growth from 30 to 1,030 switches", afterMany - afterFew, "MB", "~0");

    program.Send("close");
    std::this_thread::sleep_for(3s);
    if (!MainWindowId().isEmpty()) {
        std::fprintf(stderr, "the window did not hide (no notification area?)\n");
    }
    Row("RSS hidden", RssMegabytes(pid), "MB", "<= 40");
    constexpr double kIdleSeconds = 30;
    const double cpuBefore = CpuSeconds(pid);
    const auto wakeBefore = WakeUps(pid);
    std::this_thread::sleep_for(std::chrono::duration<double>(kIdleSeconds));
    Row("idle CPU over 30 s, hidden", CpuSeconds(pid) - cpuBefore, "s", "~0");
    Row("idle wake-ups, hidden", static_cast<double>(WakeUpsBetween(wakeBefore, WakeUps(pid))) / kIdleSeconds, "1/s",
        "~0");
    return 0;
}
