// What playing from a copy costs: at the start of every pass, playback copies the slot it
// plays under the store's slot lock. A pass lasts at least 20 ms (two 10 ms release pauses),
// so the copy is measured against that.
#include <thread>

#include <benchmark/benchmark.h>

#include "macro/MacroStore.h"

namespace {

void CopySlotUnderLock(benchmark::State& state) {
    orv::MacroStore store;
    for (size_t k = 0; k < orv::MacroSlot::kMaxEvents; ++k)
        store.User(0).SetEvent(k, static_cast<uint8_t>(k), 1, static_cast<uint16_t>(k));
    store.User(0).SetEventCount(255);
    for (auto _ : state) {
        orv::MacroSlot copy = store.CopyOf(store.User(0));
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(CopySlotUnderLock);

// The same while another thread keeps taking the lock for edits, as the window does while a
// macro plays (a delete moves up to eleven slots under it).
void CopySlotWhileEditing(benchmark::State& state) {
    static orv::MacroStore store;
    if (state.thread_index() == 0) {
        for (auto _ : state) {
            orv::MacroSlot copy = store.CopyOf(store.User(0));
            benchmark::DoNotOptimize(copy);
        }
    } else {
        for (auto _ : state) {
            const auto held = store.lock.Hold();
            for (int i = 0; i + 1 < orv::MacroStore::kUserSlots; ++i)
                store.User(i) = store.User(i + 1);
        }
    }
}
BENCHMARK(CopySlotWhileEditing)->Threads(2);

}  // namespace
