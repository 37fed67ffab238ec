# The finale's settings: the site it advertises and opens (SITE_HOST) and the last line of its
# message (CREDIT_LINE). Fills in the defaults for those left empty, stops with a message that
# names the rule and a value that passes for any other that the program cannot show as it should,
# and derives the domain that the console types as the volume label.
# Also runs on its own, as ./run does before it builds anything:
#   cmake -DSITE_HOST=... -DCREDIT_LINE=... -P cmake/site-check.cmake
# which prints the settings it would build with ("-- site ...", "-- credit ..."). With -DOPTIONS=run,
# the messages' examples are given as ./run's options rather than as CMake's variables.
if(CMAKE_SCRIPT_MODE_FILE)
    cmake_policy(VERSION 3.25)
endif()
set(site_option "-DSITE_HOST=")
set(credit_option "-DCREDIT_LINE=")
if(OPTIONS STREQUAL "run")
    set(site_option "--site ")
    set(credit_option "--credit ")
endif()
if(NOT DEFINED SITE_HOST OR SITE_HOST STREQUAL "")
    set(SITE_HOST "www.example.com")
endif()
set(host_label "[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?")
string(REGEX MATCHALL "[^.]+" labels "${SITE_HOST}")
set(longest_label 0)
foreach(label IN LISTS labels)
    string(LENGTH "${label}" length)
    if(length GREATER longest_label)
        set(longest_label ${length})
    endif()
endforeach()
if(NOT SITE_HOST MATCHES "^${host_label}(\\.${host_label})+$" OR longest_label GREATER 63)
    message(FATAL_ERROR "The site \"${SITE_HOST}\" is not a plain host name: letters, digits and hyphens in "
        "labels of 1 to 63 characters, which neither begin nor end with a hyphen, at least two labels joined by "
        "dots, and nothing else (no \"http://\", no \"/\"). For example:\n  ${site_option}www.example.com")
endif()
string(REGEX MATCH "\\.(.*)$" site_domain "${SITE_HOST}")
set(site_domain "${CMAKE_MATCH_1}")
string(LENGTH "${site_domain}" site_domain_length)
if(NOT site_domain_length EQUAL 11)
    message(FATAL_ERROR "The site \"${SITE_HOST}\": the console types the host without its first label as the "
        "new volume label, which must be exactly 11 characters; \"${site_domain}\" has ${site_domain_length}. "
        "For example (\"example.com\" has 11):\n  ${site_option}www.example.com")
endif()

if(NOT DEFINED CREDIT_LINE OR CREDIT_LINE STREQUAL "")
    set(CREDIT_LINE "Vytvořil autor tohoto programu, kontakt: vtipy@${site_domain}")
endif()
set(credit_example "For example:\n  ${credit_option}\"Vytvořil Jan Novák, kontakt: jan@${site_domain}\"")
# Read byte by byte: CMake counts bytes, and a Czech letter is two of them in UTF-8.
string(HEX "${CREDIT_LINE}" credit_bytes)
string(REGEX MATCHALL ".." credit_bytes "${credit_bytes}")
list(JOIN credit_bytes " " credit_bytes)
set(continuation "[89ab].")
if(NOT "${credit_bytes} " MATCHES
   "^(([2-7].|[c-d]. ${continuation}|e. ${continuation} ${continuation}|f[0-4] ${continuation} ${continuation} ${continuation}) )+$"
   OR credit_bytes MATCHES "(^| )(7f|c2 [89].)( |$)")
    message(FATAL_ERROR "The credit must be a single line of text in UTF-8: no line break, tab "
        "or other control character. ${credit_example}")
endif()
string(REGEX REPLACE "(^| )${continuation}" "" credit_characters "${credit_bytes}")
string(REGEX MATCHALL "[^ ]+" credit_characters "${credit_characters}")
list(LENGTH credit_characters credit_length)
if(credit_length GREATER 60)
    message(FATAL_ERROR "The credit has ${credit_length} characters; the finale's message box keeps "
        "it on one line, its last, only up to 60. ${credit_example}")
endif()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    message(STATUS "site ${SITE_HOST}")
    message(STATUS "credit ${CREDIT_LINE}")
endif()
