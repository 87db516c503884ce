# Reading and writing a large engine input file.
zv_add_bench(bench_model ${CMAKE_CURRENT_LIST_DIR}/bench_model.cpp DEPS zv_model)
