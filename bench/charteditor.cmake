# A fast line series of 10^6 points written to a chart file and read back into
# a fresh chart, against the same 2 x 10^6 doubles through the file streams.
zv_add_bench(bench_chartfile ${CMAKE_CURRENT_LIST_DIR}/bench_chartfile.cpp DEPS zv_charteditor)
