# The chart data grid painting its visible rows of a 10^6-point series at the
# start, the middle and the end of the series, and scrolling through it.
find_package(Qt6 REQUIRED COMPONENTS Gui Widgets)
zv_add_bench(bench_chartgrid ${CMAKE_CURRENT_LIST_DIR}/bench_chartgrid.cpp DEPS zv_charteditor zv_ui Qt6::Gui Qt6::Widgets)
