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

# ravelin_test(NAME [LINK libs...])
# One test program made of every .cpp and .rc in tests/NAME, run under Wine as
# one CTest test. It requires the "wine" fixture (prefix, display, wineserver).
function(ravelin_test name)
  cmake_parse_arguments(ARG "" "" "LINK" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.rc)
  if(NOT srcs)
    return() # a test folder that has no cases yet
  endif()
  add_executable(test_${name} ${srcs})
  target_link_libraries(test_${name} PRIVATE ravelin_options ${ARG_LINK} test_support test_main GTest::gtest)
  add_test(NAME ${name} COMMAND test_${name})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine RUN_SERIAL TRUE TIMEOUT 600
    ENVIRONMENT "RAVELIN_TESTDATA=${RAVELIN_TESTDATA}")
endfunction()
