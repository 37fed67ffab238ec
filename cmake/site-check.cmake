# The finale's settings: the site it advertises and opens (SITE_HOST), the new volume label the
# console types (VOLUME_LABEL) and the last line of its message (CREDIT_LINE). Fills in the
# defaults for those left empty, and stops with a message that names the rule and a value that
# passes for any other that the program cannot show as it should.
# Also runs on its own, as ./run does before it builds anything:
#   cmake -DSITE_HOST=... -DVOLUME_LABEL=... -DCREDIT_LINE=... -P cmake/site-check.cmake
# which prints the settings it would build with ("-- site ...", "-- label ...", "-- label rule ...",
# "-- credit ..."). With -DOPTIONS=run, the messages' examples are given as ./run's options rather
# than as CMake's variables, and a label given empty (LABEL_GIVEN) is refused rather than defaulted.
if(CMAKE_SCRIPT_MODE_FILE)
    cmake_policy(VERSION 3.25)
endif()
set(site_option "-DSITE_HOST=")
set(label_option "-DVOLUME_LABEL=")
set(credit_option "-DCREDIT_LINE=")
if(OPTIONS STREQUAL "run")
    set(site_option "--site ")
    set(label_option "--label ")
    set(credit_option "--credit ")
endif()

# text_characters(TEXT OUT): the characters of a line of UTF-8 text, as a list of their bytes in
# hex ("c5_99" for ř), or "bad" when it is not one line of text: a byte that is no part of a
# character, a C0 or C1 control character, or DEL. CMake counts bytes, and a Czech letter is two.
function(text_characters text out)
    string(HEX "${text}" bytes)
    string(REGEX MATCHALL ".." bytes "${bytes}")
    list(JOIN bytes " " bytes)
    set(more "[89ab].")
    set(character "[2-7].|[c-d]. ${more}|e. ${more} ${more}|f[0-4] ${more} ${more} ${more}")
    if(NOT "${bytes} " MATCHES "^((${character}) )+$" OR bytes MATCHES "(^| )(7f|c2 [89].)( |$)")
        set(${out} bad PARENT_SCOPE)
        return()
    endif()
    string(REGEX REPLACE " (${more})" "_\\1" bytes "${bytes}")
    string(REPLACE " " ";" characters "${bytes}")
    set(${out} "${characters}" PARENT_SCOPE)
endfunction()

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
string(LENGTH "${SITE_HOST}" host_length)
if(NOT SITE_HOST MATCHES "^${host_label}(\\.${host_label})+$" OR longest_label GREATER 63 OR host_length GREATER 253)
    message(FATAL_ERROR "The site \"${SITE_HOST}\" is not a plain host name: letters, digits and hyphens in "
        "labels of 1 to 63 characters, which neither begin nor end with a hyphen, at least two labels joined by "
        "dots, at most 253 characters in all, and nothing else (no \"http://\", no \"/\"). For example:\n"
        "  ${site_option}www.seznam.cz")
endif()

# The site's domain: the host without its first label, as long as two labels are left.
list(LENGTH labels label_count)
if(label_count GREATER 2)
    string(FIND "${SITE_HOST}" "." dot)
    math(EXPR dot "${dot} + 1")
    string(SUBSTRING "${SITE_HOST}" ${dot} -1 site_domain)
else()
    set(site_domain "${SITE_HOST}")
endif()

# The new volume label, which has at most 11 characters, as a real one: the site's domain, or as
# many of its labels from the left as fit, whole; or the first 11 characters of its first label,
# should that alone be longer.
set(volume_label_rule "as given")
if(NOT LABEL_GIVEN AND "${VOLUME_LABEL}" STREQUAL "")
    string(LENGTH "${site_domain}" length)
    if(length LESS_EQUAL 11)
        set(VOLUME_LABEL "${site_domain}")
        set(volume_label_rule "the site's domain")
    else()
        string(REGEX MATCHALL "[^.]+" domain_labels "${site_domain}")
        list(POP_FRONT domain_labels VOLUME_LABEL)
        string(LENGTH "${VOLUME_LABEL}" length)
        if(length GREATER 11)
            string(SUBSTRING "${VOLUME_LABEL}" 0 11 VOLUME_LABEL)
            string(REGEX REPLACE "-+$" "" VOLUME_LABEL "${VOLUME_LABEL}")
            set(volume_label_rule "the first 11 characters of ${site_domain}")
        else()
            foreach(label IN LISTS domain_labels)
                string(LENGTH "${VOLUME_LABEL}.${label}" length)
                if(length GREATER 11)
                    break()
                endif()
                string(APPEND VOLUME_LABEL ".${label}")
            endforeach()
            set(volume_label_rule "the labels of ${site_domain} that fit in 11 characters, whole")
        endif()
    endif()
endif()
# Plain printable ASCII, as the rest of the console's text and a real volume label.
string(LENGTH "${VOLUME_LABEL}" label_length)
if(NOT "${VOLUME_LABEL}" MATCHES "^[ -~]+$" OR label_length GREATER 11)
    message(FATAL_ERROR "The label \"${VOLUME_LABEL}\" is not a volume label the console can type: 1 to 11 "
        "characters, each a letter without diacritics, a digit, a space or a punctuation mark of ASCII, on one "
        "line. For example:\n  ${label_option}SYSTEM")
endif()

# By default a credit with a contact on the site's domain: the longest of these that fits in 60
# characters (the domain is plain ASCII, so its bytes are its characters).
if(NOT DEFINED CREDIT_LINE OR CREDIT_LINE STREQUAL "")
    foreach(credit "Vytvořil autor tohoto programu, kontakt: vtipy@${site_domain}" "Kontakt: vtipy@${site_domain}"
            "vtipy@${site_domain}" "Vytvořil autor tohoto programu")
        set(CREDIT_LINE "${credit}")
        string(LENGTH "${credit}" length)
        if(length LESS_EQUAL 61) # ř is two bytes
            break()
        endif()
    endforeach()
endif()
set(credit_example "For example:\n  ${credit_option}\"Vytvořil Jan Novák, kontakt: jan@${site_domain}\"")
text_characters("${CREDIT_LINE}" credit_characters)
if(credit_characters STREQUAL "bad")
    message(FATAL_ERROR "The credit must be a single line of text in UTF-8: no line break, tab "
        "or other control character. ${credit_example}")
endif()
list(LENGTH credit_characters credit_length)
if(credit_length GREATER 60)
    message(FATAL_ERROR "The credit has ${credit_length} characters; the finale's message box keeps "
        "it on one line, its last, only up to 60. ${credit_example}")
endif()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    message(STATUS "site ${SITE_HOST}")
    message(STATUS "label ${VOLUME_LABEL}")
    message(STATUS "label rule ${volume_label_rule}")
    message(STATUS "credit ${CREDIT_LINE}")
endif()
