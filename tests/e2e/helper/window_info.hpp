#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class JsonWriter;

// Talks to windows of other processes. A frozen target costs one timeout; later calls to the
// same thread fail at once, and `hung` is set so the JSON can say the value is missing for that reason.
std::optional<LRESULT> sendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool& hung);
std::wstring controlText(HWND hwnd, bool& hung);
bool threadHung(DWORD thread);

std::wstring className(HWND hwnd);
// Caption as stored by the system. Never sends a message, so no window can stall a listing.
std::wstring caption(HWND hwnd);
std::int64_t hwndNumber(HWND hwnd);

// A window named on the command line: an exact title, an exact class, or "#123" for a handle.
struct WindowQuery {
    enum class Kind { Title, Class, Handle };
    Kind kind = Kind::Title;
    std::wstring text;
    HWND hwnd = nullptr;
};
WindowQuery titleOrHandle(std::wstring_view argument);
WindowQuery classQuery(std::wstring_view argument);

// Visible top-level windows a test may care about, topmost first; the Wine shell's own are left out.
std::vector<HWND> listedWindows();
HWND findWindow(const WindowQuery& query);

void writeRect(JsonWriter& json, std::string_view name, const RECT& rect);
void writeWindowFields(JsonWriter& json, HWND hwnd);
