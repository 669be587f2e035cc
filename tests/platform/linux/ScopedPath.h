#pragma once
#include <cstdlib>
#include <string>

namespace orv::test {

// PATH set to value for the life of the object.
class ScopedPath {
public:
    explicit ScopedPath(const std::string& value) : old_(std::getenv("PATH") ? std::getenv("PATH") : "") {
        setenv("PATH", value.c_str(), 1);
    }
    ~ScopedPath() { setenv("PATH", old_.c_str(), 1); }
    ScopedPath(const ScopedPath&) = delete;
    ScopedPath& operator=(const ScopedPath&) = delete;

private:
    std::string old_;
};

}  // namespace orv::test
