# The documents the Statistics investigations open, built from resources/class-src/statistics
# (*.stats) by the program's own Statistics document, then checked by qvtool.
quorvel_core_library(quorvel_stats_documents_lib ${CMAKE_CURRENT_LIST_DIR}/stats_documents.cpp)
target_link_libraries(quorvel_stats_documents_lib PUBLIC quorvel_classdocs quorvel_statistics)

add_executable(quorvel_stats_documents ${CMAKE_CURRENT_LIST_DIR}/stats_documents_main.cpp)
target_link_libraries(quorvel_stats_documents PRIVATE quorvel_stats_documents_lib)
target_compile_options(quorvel_stats_documents PRIVATE ${QUORVEL_CORE_WARNINGS})
set_target_properties(quorvel_stats_documents PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})

set(QUORVEL_STATS_SOURCE_DIR ${CMAKE_SOURCE_DIR}/resources/class-src/statistics CACHE INTERNAL "")
file(GLOB _stats_sources CONFIGURE_DEPENDS ${QUORVEL_STATS_SOURCE_DIR}/*.stats)
set(_stats_documents)
foreach(_source ${_stats_sources})
    get_filename_component(_name ${_source} NAME_WE)
    list(APPEND _stats_documents ${QUORVEL_CLASS_DIR}/${_name}.qvs)
endforeach()

add_custom_command(OUTPUT ${_stats_documents}
    COMMAND quorvel_stats_documents ${QUORVEL_STATS_SOURCE_DIR} ${QUORVEL_CLASS_DIR}
    COMMAND ${CMAKE_COMMAND} -DQVTOOL=$<TARGET_FILE:qvtool> -DCLASS_DIR=${QUORVEL_CLASS_DIR}
            -P ${CMAKE_SOURCE_DIR}/cmake/ValidateClass.cmake
    DEPENDS quorvel_stats_documents qvtool quorvel_class_documents quorvel_pattern_documents
            ${_stats_sources}
    COMMENT "Building the Statistics activity documents")
add_custom_target(quorvel_stats_documents_files ALL DEPENDS ${_stats_documents})
