#pragma once

namespace win32 {

// Asks the shell to open the address with its default program, the way the finale does:
// ShellExecuteA(0, NULL, file, NULL, NULL, SW_SHOWNORMAL), from a COM apartment.
void OpenWithShell(const char* file);

} // namespace win32
