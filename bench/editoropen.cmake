# Opening and closing the chart editor on a 10^5-point pattern plot against
# one repaint of that plot.
if(TARGET zv_app)
  zv_add_bench(bench_editoropen ${CMAKE_CURRENT_LIST_DIR}/bench_editoropen.cpp
    DEPS zv_app zv_guitestsupport zv_testsupport)
  target_include_directories(bench_editoropen PRIVATE ${PROJECT_SOURCE_DIR}/tests)
endif()
