#include "commands.hpp"
#include "json_writer.hpp"
#include "text.hpp"

#include <windows.h>

#include <exception>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kUsageText[] =
    L"usage: e2e_helper COMMAND [ARGS]\n"
    L"  windows\n"
    L"  wait TITLE MS | wait-class CLASS MS | gone TITLE MS\n"
    L"  dump TITLE|#HWND | focus TITLE|#HWND\n"
    L"  keys TITLE|#HWND|- KEY...   (TAB, SHIFT+TAB, ALT+F4, text:ABC, repeat:3:DOWN, sleep:200)\n"
    L"  click TITLE|#HWND X Y [COUNT] | click-control TITLE|#HWND #ID|TEXT [COUNT]\n"
    L"  close TITLE|#HWND | post TITLE|#HWND MSG WPARAM LPARAM\n"
    L"  screen | pixel X Y\n";

// A console shows wide text as is; a pipe gets UTF-8 bytes, which is what the test scripts read.
void writeOut(DWORD which, const std::string& utf8) {
    const HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(handle, &mode)) {
        const std::wstring wide = fromUtf8(utf8);
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

std::string errorDocument(const std::wstring& message) {
    JsonWriter json;
    json.beginObject().field("error", message).endObject();
    return json.finish();
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        if (argc < 2) {
            writeOut(STD_ERROR_HANDLE, toUtf8(kUsageText));
            writeOut(STD_OUTPUT_HANDLE, errorDocument(L"missing command"));
            return kUsage;
        }
        const std::vector<std::wstring> args(argv + 2, argv + argc);
        JsonWriter json;
        try {
            const ExitCode code = runCommand(argv[1], args, json);
            writeOut(STD_OUTPUT_HANDLE, json.finish());
            return code;
        } catch (const UsageError& error) {
            writeOut(STD_ERROR_HANDLE, toUtf8(kUsageText));
            writeOut(STD_OUTPUT_HANDLE, errorDocument(error.message));
            return kUsage;
        }
    } catch (const std::exception& error) {
        writeOut(STD_OUTPUT_HANDLE, errorDocument(fromUtf8(error.what())));
    } catch (...) {
        writeOut(STD_OUTPUT_HANDLE, errorDocument(L"unexpected failure"));
    }
    return kNotMet;
}
