# Fails when a source of a core subsystem (everything under src/ but ui/ and tools/) includes a
# Qt header (QWidget, <QtCore/...> or the lower-case forms such as <qglobal.h>) or a header of
# the Qt shell under src/ui.
file(GLOB_RECURSE sources ${ROOT}/*.h ${ROOT}/*.cpp)
set(offenders "")
foreach(f IN LISTS sources)
    if(f MATCHES "/src/(ui|tools)/")
        continue()
    endif()
    file(STRINGS ${f} hits REGEX
         "^[ \t]*#[ \t]*include[ \t]*(<Q[A-Za-z]|\"Q[A-Z][A-Za-z]*[\">]|<q[a-z0-9_]+\\.h>|[<\"](\\.\\./)*ui/)")
    if(hits)
        list(APPEND offenders "${f}: ${hits}")
    endif()
endforeach()
if(offenders)
    message(FATAL_ERROR "Core sources must not include Qt or Qt shell headers:\n${offenders}")
endif()
