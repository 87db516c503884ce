# The refinement window's own work per cycle (agreement-factor rows, watch
# list, replot of the pattern plot) beside the engine's cycle in the same run.
if(TARGET zv_zudezez_core AND TARGET zv_app)
  zv_add_bench(bench_refinewindow ${CMAKE_CURRENT_LIST_DIR}/bench_refinewindow.cpp
    DEPS zv_app zv_zudezez_core zv_guitestsupport zv_testsupport)
  target_include_directories(bench_refinewindow PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(bench_refinewindow PRIVATE ZELVORA_EXAMPLES="${PROJECT_SOURCE_DIR}/examples/")
  add_dependencies(bench_refinewindow zudezez)
endif()

# One Fourier slice drawn as contours beside the engine's map call.
if(TARGET zv_app)
  zv_add_bench(bench_fourier ${CMAKE_CURRENT_LIST_DIR}/bench_fourier.cpp
    DEPS zv_app zv_guitestsupport zv_testsupport)
  target_include_directories(bench_fourier PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(bench_fourier PRIVATE ZELVORA_EXAMPLES="${PROJECT_SOURCE_DIR}/examples/")
  add_dependencies(bench_fourier zudezez)
endif()
