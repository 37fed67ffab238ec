# The finale's settings: checked here so that a bad value stops the build with a clear message,
# then handed to the program as a generated header.
include(${CMAKE_CURRENT_LIST_DIR}/site-check.cmake)
string(REPLACE "\\" "\\\\" credit_line_literal "${CREDIT_LINE}")
string(REPLACE "\"" "\\\"" credit_line_literal "${credit_line_literal}")
configure_file(${CMAKE_SOURCE_DIR}/src/console/site_config.h.in
    ${CMAKE_CURRENT_BINARY_DIR}/generated/site_config.h @ONLY)
