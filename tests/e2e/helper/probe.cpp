#include "probe.hpp"

#include "window_info.hpp"

#include <cstring>
#include <map>
#include <string>

namespace {

class ProbeSession {
public:
    static ProbeSession& get() {
        static ProbeSession session;
        return session;
    }

    std::optional<ProbeBlock> ask(HWND hwnd, ProbeKind kind, bool& hung) {
        if (!block_ || !hook_ || !message_) return std::nullopt;
        const DWORD thread = GetWindowThreadProcessId(hwnd, nullptr);
        if (thread == 0 || !hookThread(thread)) return std::nullopt;

        ProbeBlock question{};
        question.sequence = ++sequence_;
        question.kind = kind;
        question.hwnd = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(hwnd));
        std::memcpy(block_, &question, sizeof question);

        if (!sendMessage(hwnd, message_, GetCurrentProcessId(), 0, hung)) return std::nullopt;
        ProbeBlock reply;
        std::memcpy(&reply, block_, sizeof reply);
        if (reply.answered != question.sequence) return std::nullopt;
        return reply;
    }

    ProbeSession(const ProbeSession&) = delete;
    ProbeSession& operator=(const ProbeSession&) = delete;

private:
    ProbeSession() {
        wchar_t path[MAX_PATH];
        const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return;
        std::wstring libraryPath(path, length);
        libraryPath.erase(libraryPath.find_last_of(L"\\/") + 1);
        libraryPath += kProbeLibraryName;
        library_ = LoadLibraryW(libraryPath.c_str());
        if (!library_) return;
        hook_ = reinterpret_cast<HOOKPROC>(
            reinterpret_cast<void (*)()>(GetProcAddress(library_, kProbeHookExport)));
        message_ = RegisterWindowMessageW(kProbeMessageName);

        const std::wstring name = kProbeMappingPrefix + std::to_wstring(GetCurrentProcessId());
        mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(ProbeBlock),
                                      name.c_str());
        if (mapping_)
            block_ = static_cast<ProbeBlock*>(
                MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ProbeBlock)));
    }

    ~ProbeSession() {
        for (const auto& [thread, hook] : hooks_)
            UnhookWindowsHookEx(hook);
        if (block_) UnmapViewOfFile(block_);
        if (mapping_) CloseHandle(mapping_);
        if (library_) FreeLibrary(library_);
    }

    bool hookThread(DWORD thread) {
        if (hooks_.contains(thread)) return true;
        const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, hook_, library_, thread);
        if (!hook) return false;
        hooks_.emplace(thread, hook);
        return true;
    }

    HMODULE library_ = nullptr;
    HOOKPROC hook_ = nullptr;
    UINT message_ = 0;
    HANDLE mapping_ = nullptr;
    ProbeBlock* block_ = nullptr;
    std::uint32_t sequence_ = 0;
    std::map<DWORD, HHOOK> hooks_;
};

} // namespace

std::optional<ProbeBlock> askTarget(HWND hwnd, ProbeKind kind, bool& hung) {
    return ProbeSession::get().ask(hwnd, kind, hung);
}
