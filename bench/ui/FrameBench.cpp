// The window on the shipped skin (offscreen): composing one whole frame of each page, and a
// hover repaint of each page, i.e. one mouse move from one region to another with the paint it
// brings at once.
#include <filesystem>
#include <memory>
#include <string>

#include <QApplication>
#include <QMouseEvent>

#include <benchmark/benchmark.h>
#include <unistd.h>

#include "app/CORV_GMouseDlg.h"
#include "app/PostToEventLoop.h"
#include "common/Messages.h"
#include "common/Trace.h"
#include "session/Session.h"
#include "skin/Regions.h"
#include "skin/SkinLayout.h"
#include "ui/ComposeFrame.h"
#include "ui/MainWindowPages.h"

namespace {

namespace fs = std::filesystem;

class NoMessages : public orv::MessageSink {
public:
    void ShowMessage(std::string_view, std::string_view) override {}
};

// The started window over the simulated mouse, on a scratch copy of the shipped files (start-up
// saves the applied profile).
struct Window {
    Window() : dir(fs::temp_directory_path() / ("orv_bench_frame_" + std::to_string(::getpid()))) {
        fs::create_directories(dir);
        fs::copy(ORV_DATA_DIR, dir, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        session = std::make_unique<orv::Session>(orv::SessionFolders{dir, dir / "config.ini", dir / "skins"}, true,
                                                 trace, messages, orv::PostToEventLoop);
        dialog = std::make_unique<orv::CORV_GMouseDlg>(*session, messages);
        started = dialog->StartUp();
        dialog->show();
        QApplication::processEvents();
    }
    ~Window() {
        dialog.reset();
        session.reset();
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }

    fs::path dir;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> nowhere{std::fopen("/dev/null", "w"), &std::fclose};
    orv::Trace trace{nowhere.get(), false, false};
    NoMessages messages;
    std::unique_ptr<orv::Session> session;
    std::unique_ptr<orv::CORV_GMouseDlg> dialog;
    bool started = false;
};

Window* window = nullptr;

void ShowPage(int page) {
    orv::MainWindowPages& pages = window->dialog->Pages();
    switch (page) {
    case orv::kMainPage:
        pages.ShowMainPage();
        break;
    case orv::kAdvancedPage:
        pages.ShowAdvancedPage();
        break;
    default:
        pages.ShowColorPage();
        break;
    }
    QApplication::processEvents();
}

QPoint Centre(const orv::SkinRegion& r) { return {r.x + r.width / 2, r.y + r.height / 2}; }

void ComposeFrameOfPage(benchmark::State& state) {
    ShowPage(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(window->dialog->Pages().ComposeFrame());
    }
}
BENCHMARK(ComposeFrameOfPage)
    ->Arg(orv::kMainPage)
    ->Arg(orv::kAdvancedPage)
    ->Arg(orv::kColorPage)
    ->Unit(benchmark::kMillisecond);

// Back and forth between two regions of the page: each move changes the hover and paints.
void HoverRepaintOfPage(benchmark::State& state) {
    const int page = static_cast<int>(state.range(0));
    ShowPage(page);
    const orv::SkinLayout& skin = window->dialog->Skin();
    using namespace orv::region;
    const QPoint points[2] = {
        page == orv::kMainPage       ? Centre(skin.MainRegions[main::ButtonBox(0)])
        : page == orv::kAdvancedPage ? Centre(skin.AdvancedRegions[advanced::kAddMacro])
                                     : Centre(skin.ColorRegions[color::ModeTile(0)]),
        page == orv::kMainPage       ? Centre(skin.MainRegions[main::ButtonBox(1)])
        : page == orv::kAdvancedPage ? Centre(skin.AdvancedRegions[advanced::kDeleteMacro])
                                     : Centre(skin.ColorRegions[color::ModeTile(1)]),
    };
    size_t next = 0;
    for (auto _ : state) {
        const QPoint point = points[next];
        next ^= 1;
        QMouseEvent move(QEvent::MouseMove, point, window->dialog->mapToGlobal(point), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(window->dialog.get(), &move);
    }
}
BENCHMARK(HoverRepaintOfPage)
    ->Arg(orv::kMainPage)
    ->Arg(orv::kAdvancedPage)
    ->Arg(orv::kColorPage)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    Window started;
    if (!started.started) {
        std::fprintf(stderr, "the window did not start on the shipped skin\n");
        return 1;
    }
    window = &started;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    window = nullptr;
    return 0;
}
