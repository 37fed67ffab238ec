# Run right after the program is linked: the build fails when the program imports a function that
# tests/e2e/allowed-imports.txt does not list, or is larger than LIMIT bytes. Each such import is
# named with the files that brought it in, read from the linker's map, so that whoever builds with
# another compiler learns at once what its libraries added.
# cmake -DPROGRAM=... -DMAP=... -DALLOWED=... [-DALSO_ALLOWED="dll function;..."] -DOBJDUMP=...
#       -DLIMIT=65536 -P program-check.cmake

# The allow-list: "dll function function ..." a line; lines starting with # are comments.
file(STRINGS "${ALLOWED}" lines REGEX "^[^#]")
set(allowed ${ALSO_ALLOWED})
foreach(line IN LISTS lines)
    string(REGEX MATCHALL "[^ \t]+" words "${line}")
    list(POP_FRONT words dll)
    foreach(function IN LISTS words)
        list(APPEND allowed "${dll} ${function}")
    endforeach()
endforeach()

# The import tables as objdump lists them: "DLL Name: X", then one line a function, in the layout
# of binutils 2.40 ("vma hint name") or 2.44 ("vma <none> hint name").
execute_process(COMMAND "${OBJDUMP}" -p "${PROGRAM}" OUTPUT_VARIABLE dump COMMAND_ERROR_IS_FATAL ANY)
string(REPLACE "[" "" dump "${dump}") # a bracket would keep CMake from splitting the list there
string(REPLACE "]" "" dump "${dump}")
string(REPLACE "\n" ";" dump "${dump}")
set(imports "")
set(dll "")
foreach(line IN LISTS dump)
    if(line MATCHES "DLL Name: ([^ \t]+)")
        string(TOLOWER "${CMAKE_MATCH_1}" dll)
    elseif(dll AND line MATCHES "^[ \t]+[0-9a-f]+[ \t]+(<none>[ \t]+)?[0-9a-f]+[ \t]+([^ \t]+)[ \t]*$")
        list(APPEND imports "${dll} ${CMAKE_MATCH_2}")
    endif()
endforeach()
if(NOT imports)
    message(FATAL_ERROR "No import read from `${OBJDUMP} -p ${PROGRAM}`: is its layout a new one?")
endif()
set(unlisted ${imports})
list(REMOVE_ITEM unlisted ${allowed})

# Which file made the linker take which archive member, from the map's first section: the member
# at the start of a line, then (on the same line or, for a long name, the next) the file that
# referred to it and the symbol it wanted.
set(members "")
set(referrers "")
set(symbols "")
file(READ "${MAP}" map)
string(REPLACE "\r" "" map "${map}")
set(heading "Archive member included to satisfy reference by file (symbol)\n\n")
string(FIND "${map}" "${heading}" start)
if(start GREATER_EQUAL 0)
    string(LENGTH "${heading}" length)
    math(EXPR start "${start} + ${length}")
    string(SUBSTRING "${map}" ${start} -1 map)
    string(FIND "${map}" "\n\n" end)
    string(SUBSTRING "${map}" 0 ${end} map)
    string(REGEX REPLACE "\n +" "\t" map "\n${map}")
    string(REGEX REPLACE "\n([^\t\n ]+)  +" "\n\\1\t" map "${map}")
    string(REPLACE "\n" ";" map "${map}")
    foreach(entry IN LISTS map)
        if(entry MATCHES "^([^\t]+)\t(.+) \\((.+)\\)$")
            list(APPEND members "${CMAKE_MATCH_1}")
            list(APPEND symbols "${CMAKE_MATCH_3}")
            string(REPLACE " (symbol from plugin)" "" referrer "${CMAKE_MATCH_2}")
            list(APPEND referrers "${referrer}")
        endif()
    endforeach()
endif()

# A file as a reader knows it: the program's own objects by their source, a library member by
# its archive's name.
function(readable file out)
    if(file MATCHES "ltrans[0-9]*\\.ltrans\\.o$")
        set(file "the program's code after link-time optimisation")
    elseif(file MATCHES "CMakeFiles/[^/]+\\.dir/(.*)$")
        set(file "${CMAKE_MATCH_1}")
    elseif(file MATCHES "([^/\\\\]+\\(.*\\))$")
        set(file "${CMAKE_MATCH_1}")
    else()
        get_filename_component(file "${file}" NAME)
    endif()
    set(${out} "${file}" PARENT_SCOPE)
endfunction()

# Each import off the list, with the chain of files that brought it in: from its stub in the
# system library's import library up to the program's own code.
set(problems "")
foreach(import IN LISTS unlisted)
    string(REGEX REPLACE "^.* " "" function "${import}")
    set(found -1)
    set(index 0)
    foreach(symbol IN LISTS symbols)
        if(symbol MATCHES "^(_imp__|__imp_)?${function}(@[0-9]+)?$")
            set(found ${index})
            break()
        endif()
        math(EXPR index "${index} + 1")
    endforeach()
    set(chain "")
    foreach(step RANGE 8)
        if(found LESS 0)
            break()
        endif()
        list(GET referrers ${found} file)
        readable("${file}" name)
        string(APPEND chain " <- ${name}")
        list(FIND members "${file}" found)
    endforeach()
    string(APPEND problems "\n  ${import}${chain}")
endforeach()
if(problems)
    string(PREPEND problems "${PROGRAM} imports what ${ALLOWED} does not allow (each with the files "
        "that brought it in, nearest first; the linker's map is ${MAP}):")
    string(APPEND problems "\nAn import that a library member brought in usually means that the program "
        "uses a part of the C++ library that this compiler keeps out of line (of std::basic_string, say), "
        "and with it the library's exceptions, unwinder and stdio.")
endif()

file(SIZE "${PROGRAM}" size)
if(size GREATER LIMIT)
    string(APPEND problems "\n${PROGRAM} is ${size} bytes, more than ${LIMIT}.")
endif()
if(problems)
    string(STRIP "${problems}" problems)
    message(FATAL_ERROR "${problems}")
endif()
