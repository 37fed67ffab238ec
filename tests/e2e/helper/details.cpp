#include "details.hpp"

#include "handles.hpp"
#include "json_writer.hpp"
#include "probe.hpp"
#include "text.hpp"
#include "window_info.hpp"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace {

// Deeper nesting than this only happens with a broken window tree; stop rather than recurse forever.
constexpr int kMaxDepth = 32;
// Keeps one pathological list from drowning the output.
constexpr LRESULT kMaxItems = 2000;

std::optional<SIZE> iconSize(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return std::nullopt;
    const GdiObject color(info.hbmColor);
    const GdiObject mask(info.hbmMask);
    BITMAP bitmap{};
    if (info.hbmColor && GetObjectW(info.hbmColor, sizeof bitmap, &bitmap))
        return SIZE{bitmap.bmWidth, bitmap.bmHeight};
    // A monochrome icon stacks its AND and XOR masks in one bitmap of double height.
    if (info.hbmMask && GetObjectW(info.hbmMask, sizeof bitmap, &bitmap))
        return SIZE{bitmap.bmWidth, bitmap.bmHeight / 2};
    return std::nullopt;
}

void writeUnavailableImage(JsonWriter& json, bool isIcon) {
    json.beginObject().field("type", isIcon ? "icon" : "bitmap");
    json.nullField("w").nullField("h").field("unavailable", true).endObject();
}

void writeStaticImage(JsonWriter& json, HWND control, DWORD style, bool& hung) {
    const DWORD type = style & SS_TYPEMASK;
    json.key("image");
    if (type != SS_ICON && type != SS_BITMAP) {
        json.null();
        return;
    }
    const bool isIcon = type == SS_ICON;
    // Image handles are the target's own; it is asked first because, under Wine, a number that is a
    // bitmap there may name an unrelated object here.
    std::optional<SIZE> size;
    if (const auto reply = askTarget(control, ProbeKind::Image, hung); reply && reply->found)
        size = SIZE{reply->width, reply->height};
    if (!size && !hung) {
        std::optional<LRESULT> handle;
        if (isIcon) {
            handle = sendMessage(control, STM_GETICON, 0, 0, hung);
            if (!handle || *handle == 0) handle = sendMessage(control, STM_GETIMAGE, IMAGE_ICON, 0, hung);
        } else {
            handle = sendMessage(control, STM_GETIMAGE, IMAGE_BITMAP, 0, hung);
        }
        if (handle && *handle == 0) {
            json.null();
            return;
        }
        // Icons are system-wide objects on Windows, so their size can be read from here.
        if (handle && isIcon) size = iconSize(reinterpret_cast<HICON>(*handle));
    }
    if (!size) {
        writeUnavailableImage(json, isIcon);
        return;
    }
    json.beginObject().field("type", isIcon ? "icon" : "bitmap");
    json.field("w", size->cx).field("h", size->cy).endObject();
}

struct ListMessages {
    UINT count;
    UINT textLength;
    UINT text;
    UINT currentSelection;
    LRESULT error;
};

constexpr ListMessages kComboMessages{CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT, CB_GETCURSEL, CB_ERR};
constexpr ListMessages kListMessages{LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT, LB_GETCURSEL, LB_ERR};

void writeItems(JsonWriter& json, HWND control, const ListMessages& messages, bool hasStrings, bool& hung) {
    json.key("items");
    const auto count = sendMessage(control, messages.count, 0, 0, hung);
    // Owner-drawn lists without strings hold pointers, which cannot be read from outside.
    if (!count || *count < 0 || !hasStrings) {
        json.null();
    } else {
        json.beginArray();
        for (LRESULT i = 0; i < *count && i < kMaxItems; ++i) {
            const auto index = static_cast<WPARAM>(i);
            const auto length = sendMessage(control, messages.textLength, index, 0, hung);
            if (!length || *length == messages.error) {
                json.null();
                continue;
            }
            std::wstring buffer(static_cast<size_t>(*length) + 1, L'\0');
            const auto copied =
                sendMessage(control, messages.text, index, reinterpret_cast<LPARAM>(buffer.data()), hung);
            if (!copied || *copied == messages.error) {
                json.null();
                continue;
            }
            buffer.resize(static_cast<size_t>(std::min(*copied, *length)));
            json.value(buffer);
        }
        json.endArray();
    }
    const auto selection = sendMessage(control, messages.currentSelection, 0, 0, hung);
    json.key("cursel");
    if (selection)
        json.value(static_cast<long long>(*selection));
    else
        json.null();
}

void writeClassExtras(JsonWriter& json, HWND control, const std::wstring& cls, DWORD style, bool& hung) {
    if (equalsIgnoreCase(cls, L"Button")) {
        const auto check = sendMessage(control, BM_GETCHECK, 0, 0, hung);
        json.key("check");
        if (check)
            json.value(static_cast<long long>(*check));
        else
            json.null();
    } else if (equalsIgnoreCase(cls, L"ComboBox")) {
        const bool ownerDrawn = style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE);
        writeItems(json, control, kComboMessages, !ownerDrawn || (style & CBS_HASSTRINGS), hung);
        const auto dropped = sendMessage(control, CB_GETDROPPEDSTATE, 0, 0, hung);
        json.key("dropped");
        if (dropped)
            json.value(*dropped != 0);
        else
            json.null();
    } else if (equalsIgnoreCase(cls, L"ListBox")) {
        const bool ownerDrawn = style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE);
        writeItems(json, control, kListMessages, !ownerDrawn || (style & LBS_HASSTRINGS), hung);
    } else if (equalsIgnoreCase(cls, L"Static")) {
        writeStaticImage(json, control, style, hung);
    }
}

void writeControl(JsonWriter& json, HWND parent, HWND control, int depth);

void writeChildrenOf(JsonWriter& json, HWND parent, int depth) {
    json.beginArray();
    if (depth < kMaxDepth) {
        for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            writeControl(json, parent, child, depth + 1);
    }
    json.endArray();
}

void writeControl(JsonWriter& json, HWND parent, HWND control, int depth) {
    bool hung = false;
    const std::wstring cls = className(control);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));

    json.beginObject();
    json.field("hwnd", hwndNumber(control));
    json.field("id", GetDlgCtrlID(control));
    json.field("class", cls);
    json.field("text", controlText(control, hung));

    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    writeRect(json, "rect", rect);

    json.field("style", style);
    json.field("exstyle", static_cast<DWORD>(GetWindowLongPtrW(control, GWL_EXSTYLE)));
    json.field("visible", IsWindowVisible(control) != FALSE);
    json.field("enabled", IsWindowEnabled(control) != FALSE);
    json.field("tabstop", (style & WS_TABSTOP) != 0);
    json.field("group", (style & WS_GROUP) != 0);
    json.key("font");
    writeFontValue(json, control, hung);
    writeClassExtras(json, control, cls, style, hung);
    json.key("children");
    writeChildrenOf(json, control, depth);
    if (hung) json.field("hung", true);
    json.endObject();
}

void collectDescendants(HWND parent, int depth, std::vector<HWND>& out) {
    if (depth >= kMaxDepth) return;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        out.push_back(child);
        collectDescendants(child, depth + 1, out);
    }
}

} // namespace

UINT windowDpi(HWND hwnd) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    // Looked up at run time: the call only exists on newer systems.
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const auto getDpiForWindow = user32 ? reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void (*)()>(
                                              GetProcAddress(user32, "GetDpiForWindow")))
                                        : nullptr;
    UINT dpi = getDpiForWindow ? getDpiForWindow(hwnd) : 0;
    if (dpi == 0) {
        const WindowDc dc(hwnd);
        dpi = dc.get() ? static_cast<UINT>(GetDeviceCaps(dc.get(), LOGPIXELSX)) : 0;
    }
    return dpi;
}

void writeFontValue(JsonWriter& json, HWND hwnd, bool& hung) {
    // The target is asked first: Wine does not carry WM_GETFONT between processes, and a font
    // handle is only readable by the process that owns it.
    bool known = false;
    std::optional<LOGFONTW> logFont;
    if (const auto reply = askTarget(hwnd, ProbeKind::Font, hung)) {
        known = true;
        if (reply->found) logFont = reply->font;
    } else if (!hung) {
        // Without the probe, only the system's shared stock fonts can be read from here.
        const auto font = sendMessage(hwnd, WM_GETFONT, 0, 0, hung);
        LOGFONTW direct{};
        if (font && *font == 0) {
            known = true; // the window draws with the system font
        } else if (font &&
                   GetObjectW(reinterpret_cast<HFONT>(*font), sizeof direct, &direct) == sizeof direct) {
            known = true;
            logFont = direct;
        }
    }
    if (known && !logFont) {
        json.null();
        return;
    }
    json.beginObject();
    if (logFont) {
        json.field("face", std::wstring_view(logFont->lfFaceName));
        json.field("height", logFont->lfHeight);
        json.field("weight", logFont->lfWeight);
        json.field("charset", logFont->lfCharSet);
        json.field("italic", logFont->lfItalic != 0);
    } else {
        json.nullField("face").nullField("height").nullField("weight").nullField("charset").nullField(
            "italic");
        json.field("unavailable", true);
    }
    json.endObject();
}

void writeFocusValue(JsonWriter& json, HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (thread == 0 || !GetGUIThreadInfo(thread, &info) || !info.hwndFocus) {
        json.null();
        return;
    }
    bool hung = false;
    const HWND focus = info.hwndFocus;
    const bool isChild = GetWindowLongPtrW(focus, GWL_STYLE) & WS_CHILD;
    json.beginObject();
    json.field("hwnd", hwndNumber(focus));
    json.field("id", GetDlgCtrlID(focus));
    json.field("class", className(focus));
    json.field("text", controlText(focus, hung));
    json.field("parent", hwndNumber(isChild ? GetAncestor(focus, GA_PARENT) : nullptr));
    json.field("root", hwndNumber(GetAncestor(focus, GA_ROOT)));
    json.field("active", hwndNumber(info.hwndActive));
    if (hung) json.field("hung", true);
    json.endObject();
}

void writeChildrenValue(JsonWriter& json, HWND parent) {
    writeChildrenOf(json, parent, 0);
}

HWND findControl(HWND root, std::wstring_view which) {
    std::optional<long long> wantedId;
    if (which.size() > 1 && which.front() == L'#') wantedId = parseInteger(which.substr(1));

    std::vector<HWND> all;
    collectDescendants(root, 0, all);
    HWND hiddenMatch = nullptr;
    for (HWND control : all) {
        bool matched;
        if (wantedId) {
            matched = GetDlgCtrlID(control) == *wantedId;
        } else {
            bool hung = false;
            const std::wstring text = controlText(control, hung);
            matched = text == which || stripMnemonics(text) == which;
        }
        if (!matched) continue;
        if (IsWindowVisible(control)) return control;
        if (!hiddenMatch) hiddenMatch = control;
    }
    return hiddenMatch;
}
