# Core libraries are plain C++20: strict warnings, and a build-time check that no core
# source includes a Qt header (the core reaches the screen only through its own interfaces).

# The same set holds for the shell, the tools, the tests, the fuzz targets and the benchmarks.
set(QUORVEL_CORE_WARNINGS -Wall -Wextra -Werror -Wpedantic)
# Clang (the fuzz build) does not know GCC's spelling of the local shadowing warning.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    list(APPEND QUORVEL_CORE_WARNINGS -Wshadow=local)
    # GCC 12's libstdc++ string concatenation trips its own overlap check at -O3 (a known
    # false alarm in the compiler, not in our code).
    if(CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12 AND
       CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        list(APPEND QUORVEL_CORE_WARNINGS -Wno-restrict)
    endif()
endif()

add_custom_target(core_layering_check
    COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_SOURCE_DIR}/src -P ${CMAKE_SOURCE_DIR}/cmake/CheckNoQt.cmake
    COMMENT "Checking that core sources include no Qt headers")

function(quorvel_core_library name)
    add_library(${name} STATIC ${ARGN})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_compile_options(${name} PRIVATE ${QUORVEL_CORE_WARNINGS})
    add_dependencies(${name} core_layering_check)
endfunction()

# quorvel_gtest(name LIBS ... SOURCES ...): a GoogleTest executable registered with ctest.
function(quorvel_gtest name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    if(NOT T_SOURCES)
        return()
    endif()
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src)
    target_compile_options(${name} PRIVATE ${QUORVEL_CORE_WARNINGS})
    include(GoogleTest)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 600)
endfunction()
