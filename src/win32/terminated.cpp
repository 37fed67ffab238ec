#include "win32/terminated.h"

#include "win32/failure.h"

namespace win32 {

app::Text<app::kLongestText> Terminated(std::wstring_view text) {
    app::Text<app::kLongestText> copy;
    if (!copy.Append(text)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        Fail(L"win32::Terminated");
    }
    return copy;
}

} // namespace win32
