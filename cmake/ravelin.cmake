# ravelin_library(NAME [LINK libs...])
# A static library made of every .cpp under the calling folder (new files are
# picked up at the next build). A folder with no sources yet still gives a
# library, so the link line of the program never changes.
function(ravelin_library name)
  cmake_parse_arguments(ARG "" "" "LINK" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  if(NOT srcs)
    set(empty ${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp)
    file(WRITE ${empty} "// no sources yet\n")
    set(srcs ${empty})
  endif()
  add_library(${name} STATIC ${srcs})
  target_link_libraries(${name} PUBLIC ravelin_options ${ARG_LINK})
endfunction()

# ravelin_test(NAME [SHARDS n] [COST seconds] [LINK libs...])
# One test program made of every .cpp and .rc in tests/NAME, run under Wine as
# one CTest test, or as n tests NAME-1..NAME-n that each run a share of its
# cases (GoogleTest's sharding). Each test runs in a Wine world of its own
# (scripts/wine-env), so the tests run side by side (ctest -j); they require
# the "wine" fixture, which makes the template prefix the worlds copy.
# COST, about how long the whole program takes, lets a parallel run start the
# long ones first.
function(ravelin_test name)
  cmake_parse_arguments(ARG "" "SHARDS;COST" "LINK" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.rc)
  if(NOT srcs)
    return() # a test folder that has no cases yet
  endif()
  add_executable(test_${name} ${srcs})
  target_link_libraries(test_${name} PRIVATE ravelin_options ${ARG_LINK} test_support test_main GTest::gtest)
  if(NOT ARG_SHARDS)
    set(ARG_SHARDS 1)
  endif()
  if(NOT ARG_COST)
    set(ARG_COST 10)
  endif()
  math(EXPR cost "${ARG_COST} / ${ARG_SHARDS}")
  set(tests)
  if(ARG_SHARDS EQUAL 1)
    add_test(NAME ${name} COMMAND test_${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "RAVELIN_WINE_WORLD=${name}")
    list(APPEND tests ${name})
  else()
    foreach(i RANGE 1 ${ARG_SHARDS})
      math(EXPR index "${i} - 1")
      add_test(NAME ${name}-${i} COMMAND test_${name})
      set_tests_properties(${name}-${i} PROPERTIES ENVIRONMENT
        "RAVELIN_WINE_WORLD=${name}-${i};GTEST_TOTAL_SHARDS=${ARG_SHARDS};GTEST_SHARD_INDEX=${index}")
      list(APPEND tests ${name}-${i})
    endforeach()
  endif()
  # The time-out is told to the program's runner too, which fits its re-runs
  # of real-time cases within it (scripts/wine-env).
  set(timeout 600)
  set_tests_properties(${tests} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT ${timeout} COST ${cost})
  set_property(TEST ${tests} APPEND PROPERTY ENVIRONMENT "RAVELIN_TESTDATA=${RAVELIN_TESTDATA}"
    "RAVELIN_TEST_TIMEOUT=${timeout}")
endfunction()
