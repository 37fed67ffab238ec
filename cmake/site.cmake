# The finale's settings: checked here so that a bad value stops the build with a clear message,
# then handed to the program as a generated header.
include(${CMAKE_CURRENT_LIST_DIR}/site-check.cmake)
# A label taken from the host is given as its place in the host: the program then types it from
# the host's own characters.
set(given_volume_label "")
string(FIND "${SITE_HOST}" "${VOLUME_LABEL}" volume_label_start)
string(LENGTH "${VOLUME_LABEL}" volume_label_length)
if(volume_label_rule STREQUAL "as given")
    set(given_volume_label "${VOLUME_LABEL}")
    set(volume_label_start 0)
endif()
foreach(setting IN ITEMS given_volume_label CREDIT_LINE)
    string(TOLOWER "${setting}_literal" literal)
    string(REPLACE "\\" "\\\\" ${literal} "${${setting}}")
    string(REPLACE "\"" "\\\"" ${literal} "${${literal}}")
endforeach()
if(NOT site_config_dir)
    set(site_config_dir ${CMAKE_CURRENT_BINARY_DIR}/generated)
endif()
configure_file(${CMAKE_SOURCE_DIR}/src/console/site_config.h.in ${site_config_dir}/site_config.h @ONLY)
