# Statistics: the summary statistics recomputed over a large number column and a column of a
# thousand categories, and a sort of a large table.
quorvel_bench(statistics_bench ${CMAKE_CURRENT_SOURCE_DIR}/statistics_bench.cpp)
target_link_libraries(statistics_bench PRIVATE quorvel_statistics)
