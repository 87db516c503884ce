# Reading observed data files.
zv_add_bench(bench_datafiles ${CMAKE_CURRENT_LIST_DIR}/bench_datafiles.cpp DEPS zv_model)
