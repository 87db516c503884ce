# The canvas against QPainter: 1,000,000 line segments into a 1000 x 600 bitmap.
find_package(Qt6 REQUIRED COMPONENTS Gui Widgets)
zv_add_bench(bench_canvas ${CMAKE_CURRENT_LIST_DIR}/bench_canvas.cpp DEPS zv_gfx Qt6::Gui Qt6::Widgets)
