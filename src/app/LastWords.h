#pragma once
#include <functional>

namespace orv {

// Work that must still run when the process ends through exit() without returning to main():
// Qt ends the program so when its connection to the display breaks. While a LastWords lives, its
// work runs at such an exit, once, on the thread that called exit(); once it is destroyed, the
// work no longer runs. One lives at a time.
class LastWords {
public:
    explicit LastWords(std::function<void()> work);
    ~LastWords();
    LastWords(const LastWords&) = delete;
    LastWords& operator=(const LastWords&) = delete;
};

}  // namespace orv
