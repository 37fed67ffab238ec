# The web site the finale advertises: checked here so that a bad value stops the build with a
# clear message, then handed to the program as a generated header.
set(host_label "[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?")
if(NOT SITE_HOST MATCHES "^${host_label}(\\.${host_label})+$")
    message(FATAL_ERROR "SITE_HOST \"${SITE_HOST}\" is not a plain host name "
        "(letters, digits and hyphens in dot-separated labels, at least two labels, nothing else).")
endif()
string(REGEX MATCH "\\.(.*)$" site_domain "${SITE_HOST}")
set(site_domain "${CMAKE_MATCH_1}")
string(LENGTH "${site_domain}" site_domain_length)
if(NOT site_domain_length EQUAL 11)
    message(FATAL_ERROR "SITE_HOST \"${SITE_HOST}\": the console types the host without its first label "
        "as the new volume label, which must be exactly 11 characters; \"${site_domain}\" has ${site_domain_length}.")
endif()
if(CREDIT_LINE STREQUAL "")
    message(FATAL_ERROR "CREDIT_LINE must not be empty.")
endif()
if(CREDIT_LINE MATCHES "[\n\r\t]")
    message(FATAL_ERROR "CREDIT_LINE must be a single line.")
endif()
string(REPLACE "\\" "\\\\" credit_line_literal "${CREDIT_LINE}")
string(REPLACE "\"" "\\\"" credit_line_literal "${credit_line_literal}")
configure_file(${CMAKE_SOURCE_DIR}/src/console/site_config.h.in
    ${CMAKE_CURRENT_BINARY_DIR}/generated/site_config.h @ONLY)
