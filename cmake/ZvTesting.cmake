# Test helpers for the cross build: each test binary is one CTest test, run once under Wine.
set(ZV_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
if(NOT TARGET gtest)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(${ZV_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

# zv_add_wine_test(NAME src... [LIBS lib...])
function(zv_add_wine_test name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE gtest gtest_main ${ARG_LIBS})
  # gtest_main's main(), not wmain: no -municode entry for tests.
  target_link_options(${name} PRIVATE -mconsole)
  add_test(NAME ${name} COMMAND ${name})
  # All Wine tests share one X display, cursor and focus: even under ctest -j they run one at a time.
  set_tests_properties(${name} PROPERTIES TIMEOUT 300 RESOURCE_LOCK zv_wine_display)
endfunction()
