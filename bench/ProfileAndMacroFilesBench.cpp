// The operations the window and the command line run at each click: ApplyProfile on the
// simulated mouse, LoadProfile and SaveProfile of the shipped config.ini, LoadMacroFile and
// SaveMacroFile of twelve full macros. Each works on its own copy in a scratch folder.
#include <filesystem>
#include <string>

#include <unistd.h>

#include <benchmark/benchmark.h>

#include "common/Messages.h"
#include "common/Trace.h"
#include "device/SimulatedMouse.h"
#include "macro/MacroFile.h"
#include "session/Session.h"
#include "settings/ConfigFile.h"

namespace {

namespace fs = std::filesystem;

class NoMessages : public orv::MessageSink {
public:
    void ShowMessage(std::string_view, std::string_view) override {}
};

// A scratch folder with a copy of the shipped config.ini, removed at the end.
struct Folder {
    Folder() {
        dir = fs::temp_directory_path() / ("orv_bench_files_" + std::to_string(::getpid()));
        fs::create_directories(dir);
        fs::copy_file(fs::path(ORV_DATA_DIR) / "config.ini", dir / "config.ini", fs::copy_options::overwrite_existing);
    }
    ~Folder() {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
    fs::path dir;
};

void ApplyProfileOnTheSimulatedMouse(benchmark::State& state) {
    Folder folder;
    std::FILE* nowhere = std::fopen("/dev/null", "w");
    orv::Trace trace(nowhere, false, false);
    NoMessages messages;
    orv::Session session({folder.dir, folder.dir / "config.ini", folder.dir / "skins"}, true, trace, messages,
                         [](std::function<void()> work) { work(); });
    session.LoadConfiguration();
    session.FindDevice();
    for (auto _ : state) {
        benchmark::DoNotOptimize(session.ApplyProfile());
        state.PauseTiming();
        session.Simulated()->ClearReports();
        state.ResumeTiming();
    }
    std::fclose(nowhere);
}
BENCHMARK(ApplyProfileOnTheSimulatedMouse)->Unit(benchmark::kMillisecond);

void LoadProfile(benchmark::State& state) {
    Folder folder;
    orv::ProfileSettings settings;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            orv::LoadProfile(folder.dir / "config.ini", 1, false, orv::Language::English(), settings));
    }
}
BENCHMARK(LoadProfile)->Unit(benchmark::kMillisecond);

void SaveProfile(benchmark::State& state) {
    Folder folder;
    orv::ProfileSettings settings;
    orv::LoadProfile(folder.dir / "config.ini", 1, false, orv::Language::English(), settings);
    for (auto _ : state) {
        benchmark::DoNotOptimize(orv::SaveProfile(folder.dir / "config.ini", 1, settings));
    }
}
BENCHMARK(SaveProfile)->Unit(benchmark::kMillisecond);

// Twelve user macros of 255 events each, named, with repeat settings.
void FillTwelveMacros(orv::MacroStore& store) {
    for (int m = 0; m < orv::MacroStore::kUserSlots; ++m) {
        orv::MacroSlot& slot = store.User(m);
        slot.SetName(u"Macro number " + std::u16string(1, static_cast<char16_t>(u'A' + m)));
        slot.SetRepeatOn(1);
        slot.SetRepeatCount(static_cast<uint16_t>(100 + m));
        for (size_t k = 0; k < orv::MacroSlot::kMaxEvents; ++k) {
            slot.SetEvent(k, static_cast<uint8_t>(4 + k % 40), static_cast<uint8_t>(1 + k % 2),
                          static_cast<uint16_t>(15 + k));
        }
        slot.SetEventCount(static_cast<uint8_t>(orv::MacroSlot::kMaxEvents));
    }
    store.macroCount = orv::MacroStore::kUserSlots;
}

void SaveMacroFileOfTwelveFullMacros(benchmark::State& state) {
    Folder folder;
    orv::MacroStore store;
    FillTwelveMacros(store);
    for (auto _ : state) {
        benchmark::DoNotOptimize(orv::SaveMacroFile(folder.dir / "Macro_EN.dat", store));
    }
}
BENCHMARK(SaveMacroFileOfTwelveFullMacros)->Unit(benchmark::kMillisecond);

void LoadMacroFileOfTwelveFullMacros(benchmark::State& state) {
    Folder folder;
    orv::MacroStore written;
    FillTwelveMacros(written);
    orv::SaveMacroFile(folder.dir / "Macro_EN.dat", written);
    NoMessages messages;
    orv::MacroStore store;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            orv::LoadMacroFile(folder.dir / "Macro_EN.dat", orv::MacroTarget::User, store, messages));
    }
}
BENCHMARK(LoadMacroFileOfTwelveFullMacros)->Unit(benchmark::kMillisecond);

}  // namespace
