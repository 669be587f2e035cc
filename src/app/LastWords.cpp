#include "app/LastWords.h"

#include <cstdlib>
#include <utility>

namespace orv {

namespace {

std::function<void()>& Pending() {
    static std::function<void()>* const work = new std::function<void()>();
    return *work;
}

void SayLastWords() {
    // Taken first, so work that ends in exit() itself does not run twice.
    const std::function<void()> work = std::exchange(Pending(), {});
    if (work) {
        work();
    }
}

}  // namespace

LastWords::LastWords(std::function<void()> work) {
    [[maybe_unused]] static const bool registered = std::atexit(&SayLastWords) == 0;
    Pending() = std::move(work);
}

LastWords::~LastWords() { Pending() = {}; }

}  // namespace orv
