# Builds the shipped program again from a copy of the sources in another folder and compares it
# byte for byte with the one the build made: the same sources must give the same file.
# cmake -DSOURCE=... -DREFERENCE=.../nastaveni.exe -DPLACE=... [-DSITE_HOST=...]
#       [-DTOOLCHAIN=clang-mingw-i686.cmake, the toolchain file that built REFERENCE] -P reproducible-check.cmake
if(NOT TOOLCHAIN)
    set(TOOLCHAIN mingw-i686.cmake)
endif()
file(REMOVE_RECURSE "${PLACE}")
file(MAKE_DIRECTORY "${PLACE}/elsewhere")
foreach(part CMakeLists.txt cmake src assets bench tests/e2e/helper tests/e2e/allowed-imports.txt)
    get_filename_component(parent "${PLACE}/elsewhere/${part}" DIRECTORY)
    file(COPY "${SOURCE}/${part}" DESTINATION "${parent}")
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -S "${PLACE}/elsewhere" -B "${PLACE}/build" -G Ninja
                        -DCMAKE_TOOLCHAIN_FILE=${SOURCE}/cmake/${TOOLCHAIN} -DCMAKE_BUILD_TYPE=Release
                        -DSITE_HOST=${SITE_HOST} -DCREDIT_LINE=${CREDIT_LINE}
                COMMAND_ERROR_IS_FATAL ANY OUTPUT_QUIET)
execute_process(COMMAND ${CMAKE_COMMAND} --build "${PLACE}/build" --target nastaveni
                COMMAND_ERROR_IS_FATAL ANY OUTPUT_QUIET)
file(SHA256 "${REFERENCE}" expected)
file(SHA256 "${PLACE}/build/nastaveni.exe" rebuilt)
if(NOT expected STREQUAL rebuilt)
    message(FATAL_ERROR "the program built in ${PLACE} differs: ${rebuilt}, not ${expected}")
endif()
message(STATUS "the same bytes from another folder: SHA-256 ${expected}")
file(REMOVE_RECURSE "${PLACE}")
