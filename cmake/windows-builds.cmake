# Both Windows builds of the program, driven from the native build so that one `ctest` runs
# everything: the shipped 32-bit program, and a 64-bit build of the same sources for machines
# whose kernel cannot run 32-bit code (there only 64-bit Wine works). Then the shipped program once
# more, as Clang builds it, held by the build's own check to the same size and imports.
include(ExternalProject)

# The tests run the 32-bit build under Wine where this kernel runs 32-bit code, else the 64-bit one.
execute_process(COMMAND python3 ${CMAKE_SOURCE_DIR}/scripts/can-run-32bit.py RESULT_VARIABLE runs_32bit
                OUTPUT_QUIET ERROR_QUIET)
if(runs_32bit EQUAL 0)
    set(tested_arch i686)
else()
    set(tested_arch x86_64)
endif()

foreach(arch IN ITEMS i686 x86_64)
    # The other build needs neither the fault-injection program nor the tests' helper.
    set(targets "")
    if(NOT arch STREQUAL tested_arch)
        set(targets --target nastaveni bare_window settings_dialog window_watch)
    endif()
    ExternalProject_Add(windows-${arch}
        SOURCE_DIR ${CMAKE_SOURCE_DIR}
        BINARY_DIR ${CMAKE_BINARY_DIR}/windows-${arch}
        CMAKE_ARGS
            -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-${arch}.cmake
            -DCMAKE_BUILD_TYPE=Release
            -DSITE_HOST=${SITE_HOST}
            -DVOLUME_LABEL=${VOLUME_LABEL}
            -DCREDIT_LINE=${CREDIT_LINE}
            -DCMAKE_EXPORT_COMPILE_COMMANDS=ON # for clang-tidy over the Windows runtime
        BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> ${targets}
        INSTALL_COMMAND ""
        BUILD_ALWAYS ON
        USES_TERMINAL_BUILD ON)
    set(WINDOWS_${arch}_DIR ${CMAKE_BINARY_DIR}/windows-${arch})
endforeach()

# Clang's shipped 32-bit program always; and where this kernel runs no 32-bit code, so that the
# tests can run Clang's program under 64-bit Wine, its 64-bit build too.
set(clang_archs i686)
if(tested_arch STREQUAL x86_64)
    list(APPEND clang_archs x86_64)
endif()
foreach(arch IN LISTS clang_archs)
    ExternalProject_Add(windows-${arch}-clang
        SOURCE_DIR ${CMAKE_SOURCE_DIR}
        BINARY_DIR ${CMAKE_BINARY_DIR}/windows-${arch}-clang
        CMAKE_ARGS
            -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/clang-mingw-${arch}.cmake
            -DCMAKE_BUILD_TYPE=Release
            -DSITE_HOST=${SITE_HOST}
            -DVOLUME_LABEL=${VOLUME_LABEL}
            -DCREDIT_LINE=${CREDIT_LINE}
        BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target nastaveni
        INSTALL_COMMAND ""
        BUILD_ALWAYS ON
        USES_TERMINAL_BUILD ON)
    set(WINDOWS_${arch}_clang_DIR ${CMAKE_BINARY_DIR}/windows-${arch}-clang)
endforeach()
