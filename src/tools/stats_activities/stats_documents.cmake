# The documents the Statistics investigations open, built from resources/class-src/statistics
# (*.stats) by the program's own Statistics document, then checked by qvtool.
quorvel_core_library(quorvel_stats_documents_lib ${CMAKE_CURRENT_LIST_DIR}/stats_documents.cpp)
target_link_libraries(quorvel_stats_documents_lib PUBLIC quorvel_classdocs quorvel_statistics)

quorvel_class_tool(quorvel_stats_documents ${CMAKE_CURRENT_LIST_DIR}/stats_documents_main.cpp
                   quorvel_stats_documents_lib)

set(QUORVEL_STATS_SOURCE_DIR ${CMAKE_SOURCE_DIR}/resources/class-src/statistics CACHE INTERNAL "")
file(GLOB _stats_sources CONFIGURE_DEPENDS ${QUORVEL_STATS_SOURCE_DIR}/*.stats)
quorvel_class_outputs(_stats_documents qvs ${_stats_sources})
quorvel_class_documents(quorvel_stats_documents_files TOOL quorvel_stats_documents
    SOURCE_DIR ${QUORVEL_STATS_SOURCE_DIR} OUTPUTS ${_stats_documents}
    DEPENDS quorvel_class_documents quorvel_pattern_documents ${_stats_sources}
    COMMENT "Building the Statistics activity documents")
