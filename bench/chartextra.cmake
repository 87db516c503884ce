# The lighting tool on a 1000 x 600 chart beside the chart's own repaint.
zv_add_bench(bench_lighting ${CMAKE_CURRENT_LIST_DIR}/bench_lighting.cpp DEPS zv_chartextra)
