#include "platform/FrontWindow.h"

#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <cwchar>
#include <set>
#include <string>
#include <thread>

#include "common/Utf.h"

namespace orv {

namespace {

std::string Utf8(const wchar_t* text, size_t length) {
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

FrontProgram Describe(HWND window) {
    FrontProgram front;
    if (!window) {
        return front;
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    // Limited information is all a process of another user or of higher integrity grants.
    if (HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid)) {
        wchar_t path[MAX_PATH * 4];
        DWORD length = static_cast<DWORD>(std::size(path));
        if (QueryFullProcessImageNameW(process, 0, path, &length)) {
            const std::wstring_view full(path, length);
            const size_t slash = full.find_last_of(L"\\/");
            const std::wstring_view name = slash == std::wstring_view::npos ? full : full.substr(slash + 1);
            front.program = Utf8(name.data(), name.size());
        }
        CloseHandle(process);
    }
    wchar_t windowClass[256];
    const int classLength = GetClassNameW(window, windowClass, static_cast<int>(std::size(windowClass)));
    if (classLength > 0) {
        front.windowClass = Utf8(windowClass, static_cast<size_t>(classLength));
    }
    return front;
}

class WindowsFrontWindowWatch;
// The hook's callback has no argument of its own; each watch thread knows its watch.
thread_local WindowsFrontWindowWatch* tWatch = nullptr;

class WindowsFrontWindowWatch : public FrontWindowWatch {
public:
    explicit WindowsFrontWindowWatch(Changed changed) : changed_(std::move(changed)) {
        HANDLE started = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this, started] { Run(started); });
        WaitForSingleObject(started, INFINITE);
        CloseHandle(started);
    }

    ~WindowsFrontWindowWatch() override {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }

    bool Hooked() const { return hook_ != nullptr; }

    void Tell(HWND window) { changed_(Describe(window)); }

private:
    void Run(HANDLE started) {
        tWatch = this;
        threadId_ = GetCurrentThreadId();
        MSG message;
        // The thread's message queue exists before anyone posts the quit to it.
        PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
        // Out of context, the system calls back on this thread's message loop, and skips the
        // utility's own windows.
        hook_ = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, &OnForeground, 0, 0,
                                WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
        SetEvent(started);
        if (!hook_) {
            return;
        }
        if (const HWND front = GetForegroundWindow()) {
            DWORD pid = 0;
            GetWindowThreadProcessId(front, &pid);
            if (pid != GetCurrentProcessId()) {
                Tell(front);
            }
        }
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            DispatchMessageW(&message);
        }
        UnhookWinEvent(hook_);
    }

    static void CALLBACK OnForeground(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
        if (tWatch && object == OBJID_WINDOW) {
            tWatch->Tell(window);
        }
    }

    Changed changed_;
    std::thread thread_;
    DWORD threadId_ = 0;
    HWINEVENTHOOK hook_ = nullptr;
};

}  // namespace

bool ProgramNamesIgnoreCase() { return true; }

FrontWatchUnavailable FrontWatchSupport() { return FrontWatchUnavailable::None; }

std::vector<std::string> RunningPrograms() {
    std::set<std::string> names;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return {};
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        names.insert(Utf8(entry.szExeFile, std::wcslen(entry.szExeFile)));
    }
    CloseHandle(snapshot);
    names.erase("");
    return {names.begin(), names.end()};
}

std::unique_ptr<FrontWindowWatch> WatchFrontWindow(FrontWindowWatch::Changed changed, FrontWatchUnavailable& why) {
    auto watch = std::make_unique<WindowsFrontWindowWatch>(std::move(changed));
    if (!watch->Hooked()) {
        why = FrontWatchUnavailable::NoDisplay;
        return nullptr;
    }
    why = FrontWatchUnavailable::None;
    return watch;
}

}  // namespace orv
