# The fast line series and the pattern plot repainted into a 1000 x 600
# bitmap, against bare QPainter drawing one min/max segment per pixel column.
find_package(Qt6 REQUIRED COMPONENTS Gui)
zv_add_bench(bench_series ${CMAKE_CURRENT_LIST_DIR}/bench_series.cpp DEPS zv_chartseries Qt6::Gui)
target_include_directories(bench_series PRIVATE ${PROJECT_SOURCE_DIR}/tests)
