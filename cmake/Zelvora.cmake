# Build settings shared by every target, and small helpers for the subsystem folders.

option(ZELVORA_PCH "Precompile the standard, test and Qt headers most units include" ON)

find_program(ZELVORA_CCACHE ccache)
if(ZELVORA_CCACHE)
  # Paths are made relative to the checkout so a clone in another folder hits
  # the cache. With precompiled headers ccache must be told that the
  # header's macros and time stamps may differ from a plain preprocessing
  # (and gcc must name the header in its preprocessed output).
  set(_zv_launcher ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${CMAKE_SOURCE_DIR} CCACHE_NOHASHDIR=1
      CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime ${ZELVORA_CCACHE})
  if(ZELVORA_PCH AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-fpch-preprocess>)
  endif()
  set(CMAKE_C_COMPILER_LAUNCHER ${_zv_launcher})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${_zv_launcher})
endif()

add_compile_options(-Wall -Wextra)
# Before the precompiled headers are made: a header built without the
# sanitizer flags does not serve units built with them.
if(ZELVORA_ASAN)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(ZELVORA_PCH)
  # A header that stops fitting (other flags) is reported, not silently parsed again.
  add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-Winvalid-pch>)
endif()

# The standard headers most units include, precompiled once for the static
# libraries (position-independent code) and once, with GoogleTest, for the
# test programs (position-independent executables): a header made with one
# of those settings does not serve the other.
set(ZV_PCH_STD <algorithm> <any> <array> <cmath> <cstdint> <cstdio> <cstdlib> <cstring> <functional> <map> <memory>
    <optional> <set> <span> <string> <string_view> <utility> <vector>)
if(ZELVORA_PCH)
  add_library(zv_pch_lib STATIC ${CMAKE_CURRENT_LIST_DIR}/pch/host.cpp)
  target_precompile_headers(zv_pch_lib PRIVATE ${ZV_PCH_STD})
endif()

# The test programs' header, made on first use (GoogleTest is found after this file).
function(zv_pch_test_host)
  if(NOT ZELVORA_PCH OR TARGET zv_pch_test)
    return()
  endif()
  add_executable(zv_pch_test ${PROJECT_SOURCE_DIR}/cmake/pch/host.cpp)
  target_link_libraries(zv_pch_test PRIVATE GTest::gtest GTest::gmock)
  target_compile_definitions(zv_pch_test PRIVATE ZELVORA_TEST_LOCPATH="${ZELVORA_TEST_LOCPATH}")
  target_precompile_headers(zv_pch_test PRIVATE ${ZV_PCH_STD} <gtest/gtest.h> <gmock/gmock.h>)
endfunction()

# zv_own_pch(<target> [headers...])
# A header of the target's own, for targets whose flags differ from the shared
# one's (Qt's headers in the platform libraries, hidden visibility).
function(zv_own_pch target)
  if(NOT ZELVORA_PCH)
    return()
  endif()
  target_precompile_headers(${target} PRIVATE ${ZV_PCH_STD} ${ARGN})
endfunction()

# zv_add_library(<target> <folder> [DEPS <targets...>] [PCH <headers...>])
# A static library of every .cpp in <folder> (not recursive), with src/ on the
# include path. It reuses the shared precompiled header, or makes its own of
# the standard headers and the PCH headers.
function(zv_add_library target folder)
  cmake_parse_arguments(ARG "" "" "DEPS;PCH" ${ARGN})
  file(GLOB _sources CONFIGURE_DEPENDS ${folder}/*.cpp)
  add_library(${target} STATIC ${_sources})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  if(ARG_PCH)
    zv_own_pch(${target} ${ARG_PCH})
  elseif(ZELVORA_PCH)
    target_precompile_headers(${target} REUSE_FROM zv_pch_lib)
  endif()
  if(ARG_DEPS)
    target_link_libraries(${target} PUBLIC ${ARG_DEPS})
  endif()
endfunction()

# zv_add_gtest(<target> <folder> [DEPS <targets...>] [MAIN <target>])
# One test program of every .cpp in <folder>, registered with CTest as one test.
# MAIN replaces the default test main (GUI tests bring their own).
# Each test program gets its own configuration and temporary folders, so
# parallel runs never share settings, and finds the build's decimal-comma
# locale (zv_testlocale) through LOCPATH.
function(zv_add_gtest target folder)
  cmake_parse_arguments(ARG "" "MAIN" "DEPS" ${ARGN})
  if(NOT ARG_MAIN)
    set(ARG_MAIN zv_testmain)
  endif()
  file(GLOB _sources CONFIGURE_DEPENDS ${folder}/*.cpp)
  add_executable(${target} ${_sources})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  if(ZELVORA_PCH)
    zv_pch_test_host()
    target_precompile_headers(${target} REUSE_FROM zv_pch_test)
  endif()
  target_link_libraries(${target} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock ${ARG_MAIN})
  target_compile_definitions(${target} PRIVATE ZELVORA_TEST_LOCPATH="${ZELVORA_TEST_LOCPATH}")
  add_dependencies(${target} zv_testlocale)
  set(_home ${CMAKE_BINARY_DIR}/test-home/${target})
  add_test(NAME ${target} COMMAND ${target} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  set(_env "ZELVORA_CONFIG_HOME=${_home}/config;XDG_CACHE_HOME=${_home}/cache;TMPDIR=${_home}/tmp;QT_QPA_PLATFORM=offscreen;ZELVORA_SOURCE_DIR=${PROJECT_SOURCE_DIR};LOCPATH=${ZELVORA_TEST_LOCPATH}")
  if(ZELVORA_ASAN)
    list(APPEND _env "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/support/lsan.supp")
  endif()
  set_tests_properties(${target} PROPERTIES ENVIRONMENT "${_env}")
  file(MAKE_DIRECTORY ${_home}/config ${_home}/cache ${_home}/tmp)
endfunction()

# zv_add_bench(<target> <sources...> DEPS <targets...>)
# A Google Benchmark program; built with the tree, run by hand.
function(zv_add_bench target)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  add_executable(${target} ${ARG_UNPARSED_ARGUMENTS})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${target} PRIVATE ${ARG_DEPS} benchmark::benchmark benchmark::benchmark_main)
endfunction()
