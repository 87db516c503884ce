# The engine's calculated pattern and one least-squares cycle.
if(TARGET zv_zudezez_core)
  zv_add_bench(bench_engine ${CMAKE_CURRENT_LIST_DIR}/bench_engine.cpp DEPS zv_zudezez_core)
endif()
