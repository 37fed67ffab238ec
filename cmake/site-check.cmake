# Checks SITE_HOST and derives the domain the console types as the volume label. Also runs on its
# own (cmake -DSITE_HOST=... -P cmake/site-check.cmake), which the tests use.
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
