# The fast line series and the pattern plot repainted into a 1000 x 600
# bitmap, against bare QPainter drawing one min/max segment per pixel column
# and, where Debian's libqcustomplot-dev is installed, against QCustomPlot
# (a baseline for this benchmark only: nothing else links it).
find_package(Qt6 REQUIRED COMPONENTS Gui Widgets)
zv_add_bench(bench_series ${CMAKE_CURRENT_LIST_DIR}/bench_series.cpp DEPS zv_chartseries zv_gfx Qt6::Gui Qt6::Widgets)
target_include_directories(bench_series PRIVATE ${PROJECT_SOURCE_DIR}/tests)
find_package(Qt6 COMPONENTS PrintSupport QUIET)
if(TARGET Qt6::PrintSupport)
  find_package(QCustomPlotQt6 QUIET)
endif()
if(QCustomPlotQt6_FOUND)
  target_link_libraries(bench_series PRIVATE QCustomPlotQt6::QCustomPlotQt6)
  target_compile_definitions(bench_series PRIVATE ZV_HAVE_QCUSTOMPLOT)
endif()
