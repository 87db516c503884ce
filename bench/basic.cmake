# Benchmarks of the macro interpreter.
zv_add_bench(bench_basic ${CMAKE_CURRENT_LIST_DIR}/bench_basic.cpp DEPS zv_basic)
