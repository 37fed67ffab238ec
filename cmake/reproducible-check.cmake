# Builds the shipped program again from a copy of the sources in another folder and compares it
# byte for byte with the one the build made: the same sources must give the same file.
# cmake -DSOURCE=... -DREFERENCE=.../nastaveni.exe -DPLACE=... [-DSITE_HOST=... -DVOLUME_LABEL=... -DCREDIT_LINE=...]
#       [-DTOOLCHAIN=clang-mingw-i686.cmake, the toolchain file that built REFERENCE] -P reproducible-check.cmake
if(NOT TOOLCHAIN)
    set(TOOLCHAIN mingw-i686.cmake)
endif()
set(parts CMakeLists.txt cmake src assets bench tests/e2e/helper)

# Skipped when the program and every file copied are as they were when the check last passed: the
# second build would be the same as then, and takes a core for half a minute.
file(SHA256 "${REFERENCE}" fingerprint)
foreach(part ${parts})
    if(IS_DIRECTORY "${SOURCE}/${part}")
        file(GLOB_RECURSE files "${SOURCE}/${part}/*")
        list(SORT files)
    else()
        set(files "${SOURCE}/${part}")
    endif()
    foreach(file ${files})
        file(SHA256 "${file}" hash)
        string(APPEND fingerprint " ${file} ${hash}")
    endforeach()
endforeach()
string(APPEND fingerprint " ${TOOLCHAIN} ${SITE_HOST} ${VOLUME_LABEL} ${CREDIT_LINE}")
string(SHA256 fingerprint "${fingerprint}")
if(EXISTS "${PLACE}.clean")
    file(READ "${PLACE}.clean" last)
    if(last STREQUAL fingerprint)
        message(STATUS "the same bytes from another folder: unchanged since the check last passed")
        return()
    endif()
endif()
file(REMOVE "${PLACE}.clean")

file(REMOVE_RECURSE "${PLACE}")
file(MAKE_DIRECTORY "${PLACE}/elsewhere")
foreach(part ${parts})
    get_filename_component(parent "${PLACE}/elsewhere/${part}" DIRECTORY)
    file(COPY "${SOURCE}/${part}" DESTINATION "${parent}")
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -S "${PLACE}/elsewhere" -B "${PLACE}/build" -G Ninja
                        -DCMAKE_TOOLCHAIN_FILE=${SOURCE}/cmake/${TOOLCHAIN} -DCMAKE_BUILD_TYPE=Release
                        -DSITE_HOST=${SITE_HOST} -DVOLUME_LABEL=${VOLUME_LABEL} -DCREDIT_LINE=${CREDIT_LINE}
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
file(WRITE "${PLACE}.clean" "${fingerprint}")
