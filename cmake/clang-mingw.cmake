# Cross build for Windows with Clang instead of GCC, for the target `triple` that the including
# toolchain file sets (clang-mingw-i686.cmake: the shipped program; clang-mingw-x86_64.cmake: for
# machines whose kernel runs no 32-bit code, where only 64-bit Wine can run it). The same program,
# as LLVM-MinGW, MSYS2's Clang environments or Zig's `cc` would compile it. Clang compiles; GCC's
# MinGW-w64 installation gives the C++ library, libgcc and the C runtime, as Debian packages no
# other.
#
# The linker is GNU ld, as for GCC: the same bytes from any folder, and a map that says which file
# made it take which library member, so that the build's own check (cmake/program-check.cmake)
# names what brought an import in. LLD links a program 2 KiB smaller (53,248 bytes against 55,296
# with Clang 14), as only it does Clang's link-time optimisation, but its map does not name that
# file. Without link-time optimisation the program is still well within 64 KiB.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${triple})
set(CMAKE_CXX_COMPILER_TARGET ${triple})
set(CMAKE_RC_COMPILER ${triple}-windres)
# The imports are read with LLVM's own reader where it is there, else with GNU's.
find_program(CMAKE_OBJDUMP NAMES llvm-objdump ${triple}-objdump)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Clang does not find Debian's MinGW-w64 GCC by itself (its folder is named "12-win32", not a
# version) and would search the host's /usr/include. So: MinGW-w64's headers and libraries as the
# sysroot, and GCC's C++ headers and library folder where that GCC itself says they are.
execute_process(COMMAND ${triple}-g++ -print-file-name=libstdc++.a
                OUTPUT_VARIABLE gcc_libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(gcc_library_dir "${gcc_libstdcxx}" DIRECTORY)
execute_process(COMMAND ${triple}-g++ -x c++ -E -v - INPUT_FILE /dev/null OUTPUT_QUIET ERROR_VARIABLE gcc_search)
string(REGEX MATCH "#include <...> search starts here:\n(.*)End of search list" gcc_search "${gcc_search}")
string(REGEX MATCHALL "[^ \n]+/c\\+\\+[^ \n]*" gcc_cxx_includes "${CMAKE_MATCH_1}")
if(NOT IS_ABSOLUTE "${gcc_libstdcxx}" OR NOT EXISTS "${gcc_libstdcxx}" OR NOT gcc_cxx_includes)
    message(FATAL_ERROR "Clang for ${triple} takes the C++ library and its headers from GCC's MinGW-w64 "
        "installation (Debian: g++-mingw-w64-i686 or g++-mingw-w64-x86-64), and ${triple}-g++ did not name them.")
endif()
set(cxx_includes "")
foreach(dir IN LISTS gcc_cxx_includes)
    get_filename_component(dir "${dir}" REALPATH)
    string(APPEND cxx_includes " -isystem ${dir}")
endforeach()
set(CMAKE_C_FLAGS_INIT "--sysroot=/usr/${triple}")
set(CMAKE_CXX_FLAGS_INIT "--sysroot=/usr/${triple}${cxx_includes}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=bfd -L${gcc_library_dir}")
