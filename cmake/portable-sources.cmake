# The program's sources that know nothing of Windows: its windows' layouts and behaviour, and the
# sequence of windows. The program builds them with its Windows runtime; the unit tests, with a
# fake one.
set(portable_sources
    ${CMAKE_SOURCE_DIR}/src/app/form.cpp
    ${CMAKE_SOURCE_DIR}/src/app/window_sequence.cpp
    ${CMAKE_SOURCE_DIR}/src/app/number_text.cpp
    ${CMAKE_SOURCE_DIR}/src/settings/form1.cpp
    ${CMAKE_SOURCE_DIR}/src/question/form2.cpp
    ${CMAKE_SOURCE_DIR}/src/console/form3.cpp)
