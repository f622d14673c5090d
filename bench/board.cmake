# The data board: a board of 2,000 tiles repainted through Qt's painter, and one drag step.
if(TARGET quorvel_ui)
    quorvel_bench(board_bench ${CMAKE_CURRENT_SOURCE_DIR}/board_bench.cpp)
    target_link_libraries(board_bench PRIVATE quorvel_ui)
endif()
