# Helpers shared by the test, fuzz and benchmark folders.

# quarry_add_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [ENV VAR=VALUE ...])
# One GoogleTest executable; each TEST becomes its own ctest entry.
function(quarry_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "${T_ENV}")
endfunction()

# quarry_add_fuzz_target(NAME SOURCE fuzz.cpp LIBS libs CORPUS dir)
# The source defines LLVMFuzzerTestOneInput. With QUARRY_FUZZ it becomes a
# libFuzzer binary; otherwise it is linked with a replay driver and every
# file of the seed corpus runs through it as an ordinary test.
function(quarry_add_fuzz_target name)
  cmake_parse_arguments(F "" "SOURCE;CORPUS" "LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCE})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  if(QUARRY_FUZZ)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  else()
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/fuzz_replay_main.cpp)
    add_test(NAME ${name}.corpus COMMAND ${name} ${F_CORPUS})
  endif()
endfunction()

# quarry_add_bench(NAME SOURCES a.cpp LIBS libs)
function(quarry_add_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark Threads::Threads)
endfunction()

# quarry_calls_editor_unlinked(TARGET)
# TARGET calls the editor only through IGraphics's virtual operations and
# does not link the editor library. The undefined-behaviour sanitizer's
# dynamic-type check would make each such call need IGraphics's type
# information, which only the editor library holds, so that one check is
# left out of TARGET's own sources.
function(quarry_calls_editor_unlinked target)
  if(QUARRY_SANITIZE OR QUARRY_FUZZ)
    target_compile_options(${target} PRIVATE -fno-sanitize=vptr)
  endif()
endfunction()
