# Run right after the program is linked: the build fails when the program imports a function that
# cmake/allowed-imports.txt does not list, or is larger than LIMIT bytes. Each such import is
# named with the files that brought it in, read from the linker's map, so that whoever builds with
# another compiler learns at once what its libraries added.
# cmake -DPROGRAM=... -DMAP=... -DALLOWED=... [-DALSO_ALLOWED="dll function;..."] -DOBJDUMP=...
#       -DLIMIT=65536 -P program-check.cmake
cmake_minimum_required(VERSION 3.25)

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
# of binutils 2.40 ("vma hint name") or 2.44 ("vma <none> hint name"), or of LLVM's llvm-objdump
# ("hint name", the hint in decimal).
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
    elseif(dll AND line MATCHES "^[ \t]+[0-9]+[ \t]+([^ \t]+)[ \t]*$")
        list(APPEND imports "${dll} ${CMAKE_MATCH_1}")
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
        # The file's name ends where its symbol begins: at the first " (", as a demangled C++
        # symbol may hold one too.
        if(entry MATCHES "^([^\t]+)\t([^(].* \\(.*)$")
            list(APPEND members "${CMAKE_MATCH_1}")
            set(rest "${CMAKE_MATCH_2}")
            string(FIND "${rest}" " (" end)
            string(SUBSTRING "${rest}" 0 ${end} referrer)
            string(SUBSTRING "${rest}" ${end} -1 symbol)
            list(APPEND referrers "${referrer}")
            # An import's stub is wanted by its name or its _imp_ pointer, decorated for stdcall.
            string(REPLACE " (symbol from plugin)" "" symbol "${symbol}")
            string(REGEX REPLACE "^ \\((_imp__|__imp_)?(.*)\\)$" "\\2" symbol "${symbol}")
            string(REGEX REPLACE "@[0-9]+$" "" symbol "${symbol}")
            list(APPEND symbols "${symbol}")
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
# system's import library up to the program's own code.
set(problems "")
foreach(import IN LISTS unlisted)
    string(REGEX REPLACE "^.* " "" function "${import}")
    list(FIND symbols "${function}" found)
    set(chain "")
    while(found GREATER_EQUAL 0)
        list(GET referrers ${found} file)
        readable("${file}" name)
        list(APPEND chain "${name}")
        list(FIND members "${file}" found)
    endwhile()
    # The file nearest the import, and the last two: what the program asked for, and from where.
    list(LENGTH chain length)
    if(length GREATER 3)
        list(SUBLIST chain 0 1 nearest)
        math(EXPR from "${length} - 2")
        list(SUBLIST chain ${from} 2 last)
        set(chain ${nearest} ... ${last})
    endif()
    list(JOIN chain " <- " chain)
    if(chain)
        set(chain " <- ${chain}")
    endif()
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
