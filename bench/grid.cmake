# Painting the visible area of a 100-row and a 1,000,000-row grid.
find_package(Qt6 REQUIRED COMPONENTS Gui Widgets)
zv_add_bench(bench_grid ${CMAKE_CURRENT_LIST_DIR}/bench_grid.cpp DEPS zv_grid zv_ui Qt6::Gui Qt6::Widgets)
