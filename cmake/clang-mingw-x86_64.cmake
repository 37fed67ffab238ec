# The same sources for 64-bit Windows, built by Clang (see clang-mingw.cmake): what the tests run
# under 64-bit Wine where the kernel runs no 32-bit code.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(triple x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/clang-mingw.cmake)
