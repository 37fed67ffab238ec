# Both Windows builds of the program, driven from the native build so that one `ctest` runs
# everything: the shipped 32-bit program, and a 64-bit build of the same sources for machines
# whose kernel cannot run 32-bit code (there only 64-bit Wine works). Then the shipped program once
# more, as Clang builds it, held by the build's own check to the same size and imports.
include(ExternalProject)

foreach(arch IN ITEMS i686 x86_64)
    ExternalProject_Add(windows-${arch}
        SOURCE_DIR ${CMAKE_SOURCE_DIR}
        BINARY_DIR ${CMAKE_BINARY_DIR}/windows-${arch}
        CMAKE_ARGS
            -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-${arch}.cmake
            -DCMAKE_BUILD_TYPE=Release
            -DSITE_HOST=${SITE_HOST}
            -DCREDIT_LINE=${CREDIT_LINE}
            -DCMAKE_EXPORT_COMPILE_COMMANDS=ON # for clang-tidy over the Windows runtime
        INSTALL_COMMAND ""
        BUILD_ALWAYS ON
        USES_TERMINAL_BUILD ON)
    set(WINDOWS_${arch}_DIR ${CMAKE_BINARY_DIR}/windows-${arch})
endforeach()

ExternalProject_Add(windows-i686-clang
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/windows-i686-clang
    CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/clang-mingw-i686.cmake
        -DCMAKE_BUILD_TYPE=Release
        -DSITE_HOST=${SITE_HOST}
        -DCREDIT_LINE=${CREDIT_LINE}
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target nastaveni
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    USES_TERMINAL_BUILD ON)
set(WINDOWS_i686_clang_DIR ${CMAKE_BINARY_DIR}/windows-i686-clang)
