// The program is built without exceptions: where the standard library would throw (out of
// memory, a length past the limit), the program reports the failure and ends like any other
// failing call. Defining these here also keeps the library's exception and unwinding machinery,
// several times the size of the program itself, out of the executable.
#include "win32/failure.h"

#include <cstddef>
#include <new>

namespace {
[[noreturn]] void OutOfMemory() {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    win32::Fail(L"operator new");
}
[[noreturn]] void LibraryFailure(const wchar_t* what) {
    SetLastError(ERROR_INVALID_PARAMETER);
    win32::Fail(what);
}
} // namespace

void* operator new(std::size_t size) {
    if (void* memory = HeapAlloc(GetProcessHeap(), 0, size ? size : 1)) return memory;
    OutOfMemory();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return HeapAlloc(GetProcessHeap(), 0, size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& nothrow) noexcept {
    return operator new(size, nothrow);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
    operator delete(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    operator delete(memory);
}
// The signature is the standard's own.
// cppcheck-suppress constParameterPointer
void operator delete(void* memory) noexcept {
    if (memory) HeapFree(GetProcessHeap(), 0, memory);
}
void operator delete[](void* memory) noexcept {
    operator delete(memory);
}
// NOLINTNEXTLINE(misc-use-internal-linkage): replaces the library's, as the others do
void operator delete(void* memory, std::size_t) noexcept {
    operator delete(memory);
}
// NOLINTNEXTLINE(misc-use-internal-linkage)
void operator delete[](void* memory, std::size_t) noexcept {
    operator delete(memory);
}

// The library calls these by their reserved names; replacing them is the point.
// NOLINTBEGIN(bugprone-reserved-identifier, misc-use-internal-linkage)
namespace std {
void __throw_bad_alloc() {
    OutOfMemory();
}
void __throw_bad_array_new_length() {
    OutOfMemory();
}
void __throw_length_error(const char*) {
    LibraryFailure(L"std::length_error");
}
void __throw_logic_error(const char*) {
    LibraryFailure(L"std::logic_error");
}
void __throw_out_of_range(const char*) {
    LibraryFailure(L"std::out_of_range");
}
void __throw_out_of_range_fmt(const char*, ...) {
    LibraryFailure(L"std::out_of_range");
}
void __throw_invalid_argument(const char*) {
    LibraryFailure(L"std::invalid_argument");
}
} // namespace std
// NOLINTEND(bugprone-reserved-identifier, misc-use-internal-linkage)
