# A 100 MB download from a loopback HTTP server through the update component
# (byte-sum checksum included) beside the curl program's download of the same
# file to the same folder.
if(TARGET zv_webupdate)
  zv_add_bench(bench_webupdate ${CMAKE_CURRENT_LIST_DIR}/bench_webupdate.cpp
    DEPS zv_webupdate zv_guitestsupport zv_testsupport)
  target_include_directories(bench_webupdate PRIVATE ${PROJECT_SOURCE_DIR}/tests)
endif()
