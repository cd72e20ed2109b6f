# Native tree: portable logic, the art tools, host tests under sanitizers, benchmarks.
set(SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
add_compile_options(-Wall -Wextra)

add_library(morvet_portable STATIC ${MORVET_PORTABLE_SOURCES})
target_include_directories(morvet_portable PUBLIC src)

add_library(morvet_portable_san STATIC ${MORVET_PORTABLE_SOURCES})
target_include_directories(morvet_portable_san PUBLIC src)
target_compile_options(morvet_portable_san PUBLIC ${SANITIZE})
target_link_options(morvet_portable_san PUBLIC ${SANITIZE})

add_subdirectory(tools)

set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE} googletest EXCLUDE_FROM_ALL)

file(GLOB HOST_TEST_SOURCES CONFIGURE_DEPENDS tests/host/*.cpp)
add_executable(morvet-host-tests ${HOST_TEST_SOURCES})
target_link_libraries(morvet-host-tests PRIVATE morvet_portable_san GTest::gtest_main)
target_link_libraries(morvet-host-tests PRIVATE artlib_san)
target_compile_definitions(morvet-host-tests PRIVATE
  MORVET_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
add_test(NAME host-tests COMMAND morvet-host-tests)

find_package(benchmark QUIET)
if(benchmark_FOUND)
  file(GLOB HOST_BENCH_SOURCES CONFIGURE_DEPENDS benchmarks/host/*.cpp)
  if(HOST_BENCH_SOURCES)
    add_executable(morvet-host-bench ${HOST_BENCH_SOURCES})
    target_compile_options(morvet-host-bench PRIVATE -O2)
    target_link_libraries(morvet-host-bench PRIVATE morvet_portable benchmark::benchmark)
  endif()
endif()

add_subdirectory(tests/fuzz)
add_subdirectory(tests/program/host)
