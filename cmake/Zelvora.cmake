# Build settings shared by every target, and small helpers for the subsystem folders.

find_program(ZELVORA_CCACHE ccache)
if(ZELVORA_CCACHE)
  # Paths are made relative to the checkout so a clone in another folder hits the cache.
  set(_zv_launcher ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${CMAKE_SOURCE_DIR} CCACHE_NOHASHDIR=1 ${ZELVORA_CCACHE})
  set(CMAKE_C_COMPILER_LAUNCHER ${_zv_launcher})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${_zv_launcher})
endif()

add_compile_options(-Wall -Wextra)
if(ZELVORA_ASAN)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# zv_add_library(<target> <folder> [DEPS <targets...>])
# A static library of every .cpp in <folder> (not recursive), with src/ on the include path.
function(zv_add_library target folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB _sources CONFIGURE_DEPENDS ${folder}/*.cpp)
  add_library(${target} STATIC ${_sources})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
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
