# The Numbers machines: the run cycle's model tick, and a crowded workspace repainted through
# Qt's painter.
quorvel_bench(patterns_bench ${CMAKE_CURRENT_SOURCE_DIR}/patterns_bench.cpp)
target_link_libraries(patterns_bench PRIVATE quorvel_patterns)
if(TARGET quorvel_ui)
    quorvel_bench(patterns_view_bench ${CMAKE_CURRENT_SOURCE_DIR}/patterns_view_bench.cpp)
    target_link_libraries(patterns_view_bench PRIVATE quorvel_ui)
endif()
# Machine tables: sorting 10,000 rows and the row a run adds.
quorvel_bench(table_bench ${CMAKE_CURRENT_SOURCE_DIR}/table_bench.cpp)
target_link_libraries(table_bench PRIVATE quorvel_patterns)
