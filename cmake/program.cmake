# The program: one statically linked GUI executable that imports only Windows system DLLs.
include(cmake/portable-sources.cmake)
set(program_sources
    src/main.cpp
    ${portable_sources}
    src/win32/win32_runtime.cpp
    src/win32/native_window.cpp
    src/win32/dialog_window.cpp
    src/win32/dialog_controls.cpp
    src/win32/dialog_layout.cpp
    src/win32/console_window.cpp
    src/win32/covers.cpp
    src/win32/stacking.cpp
    src/win32/monitors.cpp
    src/win32/shell.cpp
    src/win32/failure.cpp
    src/win32/dpi.cpp
    src/win32/fonts.cpp
    src/win32/terminated.cpp
    src/win32/no_exceptions.cpp
    assets/app.rc)
# What Clang's code calls that GCC's does not: memset, and the handler of a pure virtual call.
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    list(APPEND program_sources src/win32/clang_runtime.cpp)
endif()

# Link-time optimisation where the compiler has it; MSYS2's 32-bit GCC, say, is built without.
include(CheckCXXCompilerFlag)
check_cxx_compiler_flag(-flto HAVE_LTO)
set(lto $<$<BOOL:${HAVE_LTO}>:-flto>)

# add_program(name [imports beyond the allow-list, "dll function" each])
function(add_program name)
    add_executable(${name} WIN32 ${program_sources})
    target_include_directories(${name} PRIVATE src assets ${CMAKE_CURRENT_BINARY_DIR}/generated)
    # The headers of Windows Vista: GCC 14's C++ library (Debian 13) declares the thread support that
    # C++20's <chrono> reaches only from that version on. The program still starts on Windows XP:
    # what it may import is the allow-list's to say (cmake/allowed-imports.txt), and everything
    # newer is looked up while running.
    target_compile_definitions(${name} PRIVATE UNICODE _UNICODE _WIN32_WINNT=0x0600 WINVER=0x0600
        WIN32_LEAN_AND_MEAN NOMINMAX)
    target_compile_options(${name} PRIVATE -Os ${lto} -ffunction-sections -fdata-sections -fno-exceptions -fno-rtti
        -fno-asynchronous-unwind-tables
        -fno-threadsafe-statics) # one UI thread: no locks around local statics
    # Reproducible: no link time stamp in the header (and so no checksum that changes with it),
    # no build folder in the file. The same sources give the same bytes anywhere, at any hour.
    target_compile_options(${name} PRIVATE -ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=.)
    target_link_options(${name} PRIVATE -static -municode -s -Wl,--gc-sections ${lto} -Os -Wl,--no-insert-timestamp)
    target_link_libraries(${name} PRIVATE user32 gdi32 comctl32) # shell32 is loaded at the end
    # Small, and only what the allow-list lets it import, whichever compiler built it: checked
    # right after the link, with the linker's map to tell where anything more came from. (The map
    # is a file of its own: the program's bytes stay the same.)
    set(map ${CMAKE_CURRENT_BINARY_DIR}/${name}.map)
    set(allowed ${CMAKE_SOURCE_DIR}/cmake/allowed-imports.txt)
    target_link_options(${name} PRIVATE -Wl,-Map=${map})
    set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${allowed} ${CMAKE_SOURCE_DIR}/cmake/program-check.cmake)
    add_custom_command(TARGET ${name} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${name}> -DMAP=${map} -DALLOWED=${allowed}
                "-DALSO_ALLOWED=${ARGN}" -DOBJDUMP=${CMAKE_OBJDUMP} -DLIMIT=65536
                -P ${CMAKE_SOURCE_DIR}/cmake/program-check.cmake
        VERBATIM)
endfunction()

add_program(nastaveni)
# For the tests only, never shipped: any checked call can be made to fail on purpose (see
# src/win32/failure.h), to prove that every failure ends in the run-time error message.
# It reads which calls to fail from its environment, and says on standard error which of them it
# never made to fail.
add_program(nastaveni_faults "kernel32.dll GetEnvironmentVariableW" "kernel32.dll lstrcmpW"
    "kernel32.dll GetStdHandle" "kernel32.dll WriteFile" "kernel32.dll lstrlenA" "user32.dll wsprintfA")
target_compile_definitions(nastaveni_faults PRIVATE NASTAVENI_FAULT_INJECTION)

set_source_files_properties(assets/app.rc PROPERTIES
    OBJECT_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/assets/app.manifest;${CMAKE_CURRENT_SOURCE_DIR}/assets/app.ico;${CMAKE_CURRENT_SOURCE_DIR}/assets/netdrive.ico;${CMAKE_CURRENT_SOURCE_DIR}/assets/warning.ico")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001 -I${CMAKE_CURRENT_BINARY_DIR}/generated")

include(cmake/site.cmake)
