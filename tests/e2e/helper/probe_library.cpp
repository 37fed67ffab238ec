// Runs inside the target process. Wine refuses to carry WM_GETFONT between processes and GDI
// and icon handles mean nothing outside their owner, so these questions are answered from within.
#include "probe_protocol.hpp"

#include <cwchar>
#include <iterator>

namespace {

class MappedBlock {
public:
    explicit MappedBlock(DWORD helperPid) {
        wchar_t name[64];
        std::swprintf(name, std::size(name), L"%ls%lu", kProbeMappingPrefix, helperPid);
        mapping_ = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, name);
        if (mapping_)
            block_ = static_cast<ProbeBlock*>(
                MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ProbeBlock)));
    }
    ~MappedBlock() {
        if (block_) UnmapViewOfFile(block_);
        if (mapping_) CloseHandle(mapping_);
    }
    MappedBlock(const MappedBlock&) = delete;
    MappedBlock& operator=(const MappedBlock&) = delete;
    ProbeBlock* get() const { return block_; }

private:
    HANDLE mapping_ = nullptr;
    ProbeBlock* block_ = nullptr;
};

bool readFont(HWND hwnd, ProbeBlock& block) {
    const auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
    return font && GetObjectW(font, sizeof block.font, &block.font) == sizeof block.font;
}

bool readIcon(HICON icon, ProbeBlock& block) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return false;
    BITMAP bitmap{};
    bool known = false;
    if (info.hbmColor && GetObjectW(info.hbmColor, sizeof bitmap, &bitmap)) {
        block.width = bitmap.bmWidth;
        block.height = bitmap.bmHeight;
        known = true;
    } else if (info.hbmMask && GetObjectW(info.hbmMask, sizeof bitmap, &bitmap)) {
        // A monochrome icon stacks its two masks in one bitmap of double height.
        block.width = bitmap.bmWidth;
        block.height = bitmap.bmHeight / 2;
        known = true;
    }
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    block.isIcon = 1;
    return known;
}

bool readImage(HWND hwnd, ProbeBlock& block) {
    const auto type = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE)) & SS_TYPEMASK;
    if (type == SS_ICON) {
        auto icon = reinterpret_cast<HICON>(SendMessageW(hwnd, STM_GETICON, 0, 0));
        if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(hwnd, STM_GETIMAGE, IMAGE_ICON, 0));
        return icon && readIcon(icon, block);
    }
    if (type == SS_BITMAP) {
        const auto handle = reinterpret_cast<HBITMAP>(SendMessageW(hwnd, STM_GETIMAGE, IMAGE_BITMAP, 0));
        BITMAP bitmap{};
        if (!handle || !GetObjectW(handle, sizeof bitmap, &bitmap)) return false;
        block.width = bitmap.bmWidth;
        block.height = bitmap.bmHeight;
        return true;
    }
    return false;
}

void answer(HWND hwnd, DWORD helperPid) {
    const MappedBlock mapped(helperPid);
    ProbeBlock* block = mapped.get();
    if (!block || block->hwnd != static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(hwnd))) return;
    bool found = false;
    if (block->kind == ProbeKind::Font)
        found = readFont(hwnd, *block);
    else if (block->kind == ProbeKind::Image)
        found = readImage(hwnd, *block);
    block->found = found ? 1 : 0;
    block->answered = block->sequence;
}

} // namespace

extern "C" __attribute__((dllexport)) LRESULT CALLBACK e2eProbeHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        static const UINT probeMessage = RegisterWindowMessageW(kProbeMessageName);
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (call->message == probeMessage) answer(call->hwnd, static_cast<DWORD>(call->wParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
