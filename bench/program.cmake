# The program's start, close and Quick Start against the engine's cycles for
# the same example, in the same run.
if(TARGET zv_zudezez_core AND TARGET zv_app)
  zv_add_bench(bench_program ${CMAKE_CURRENT_LIST_DIR}/bench_program.cpp
    DEPS zv_app zv_guitestsupport zv_testsupport)
  target_include_directories(bench_program PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(bench_program PRIVATE ZELVORA_EXAMPLES="${PROJECT_SOURCE_DIR}/examples/")
  add_dependencies(bench_program zudezez zelvora)
endif()
