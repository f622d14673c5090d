# The Tiles and Tessellations page's repaint through Qt's painter.
if(TARGET quorvel_ui)
    quorvel_bench(geometry_view_bench ${CMAKE_CURRENT_SOURCE_DIR}/geometry_view_bench.cpp)
    target_link_libraries(geometry_view_bench PRIVATE quorvel_ui)
endif()
