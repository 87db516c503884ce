# A chart with 100,000 points in the test point series painted to a 1000 x 600 bitmap.
zv_add_bench(bench_chart ${CMAKE_CURRENT_LIST_DIR}/bench_chart.cpp
  ${PROJECT_SOURCE_DIR}/tests/chart/core/testseries.cpp
  ${PROJECT_SOURCE_DIR}/tests/chart/core/recordingcanvas.cpp
  DEPS zv_chartcore)
target_include_directories(bench_chart PRIVATE ${PROJECT_SOURCE_DIR}/tests)
