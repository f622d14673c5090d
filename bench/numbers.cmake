quorvel_bench(number_bench ${CMAKE_CURRENT_SOURCE_DIR}/number_bench.cpp)
target_link_libraries(number_bench PRIVATE quorvel_numbers)
