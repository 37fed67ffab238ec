#pragma once

namespace win32 {

// Asks the shell to open the address with its default program, with the default verb and a
// normal window, from a COM apartment, and returns once the launch is finished.
void OpenWithShell(const char* file);

} // namespace win32
