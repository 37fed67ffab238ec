// What code compiled by Clang calls that GCC's does not, given here so that the program still
// takes nothing from the C++ library's exception machinery and imports nothing more than
// cmake/allowed-imports.txt allows. Built into the program only when Clang compiles it
// (cmake/program.cmake).
#include "win32/failure.h"

#include <cstddef>
#include <cstring>

// The compiler calls these by their reserved names (memset's parameters are named in the
// program's words, not the C library header's).
// clang-format off
// NOLINTBEGIN(bugprone-reserved-identifier, misc-use-internal-linkage, readability-inconsistent-declaration-parameter-name)
// clang-format on

// Clang fills a zero-initialised object (a structure for a Windows call, a buffer of text) by
// calling memset where GCC stores inline, and msvcrt.dll's memset would be one import more. The
// loop must not be turned back into a call to itself.
extern "C" __attribute__((no_builtin("memset"))) void* memset(void* destination, int value,
                                                              std::size_t size) {
    auto* bytes = static_cast<unsigned char*>(destination);
    while (size-- > 0)
        *bytes++ = static_cast<unsigned char>(value);
    return destination;
}

// A pure virtual function called while an object is being built or torn down: a fault of the
// program, reported as any other failure. Clang refers to this from the vtable of every abstract
// class whose destructor still stores that vtable (app::Form's, as its members are destroyed
// after); the library's own handler would print to stderr and call std::terminate, bringing in the
// demangler, stdio and the threads layer with them.
extern "C" [[noreturn]] void __cxa_pure_virtual() {
    SetLastError(ERROR_INVALID_FUNCTION);
    win32::Fail(L"__cxa_pure_virtual");
}

// clang-format off
// NOLINTEND(bugprone-reserved-identifier, misc-use-internal-linkage, readability-inconsistent-declaration-parameter-name)
// clang-format on
