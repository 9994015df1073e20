# GoogleTest: the system's package natively; for a cross build, Debian's googletest sources
# compiled with the cross compiler.
if(CMAKE_CROSSCOMPILING)
  set(PELMORA_GTEST_SOURCE /usr/src/googletest CACHE PATH "googletest sources for the cross build")
  if(NOT EXISTS ${PELMORA_GTEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "The cross build compiles GoogleTest from ${PELMORA_GTEST_SOURCE}; "
                        "install it with: apt-get install googletest")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(${PELMORA_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  # GoogleTest's own build names its targets GTest::... too (1.11 on); older ones do not.
  foreach(library gtest gtest_main gmock)
    if(NOT TARGET GTest::${library})
      add_library(GTest::${library} ALIAS ${library})
    endif()
  endforeach()
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# Registers a GoogleTest program with CTest. Natively each test case is its own CTest test,
# listed when CTest runs. In a cross build every CTest test is a start of Wine (seconds each,
# and more once another test has taken its display away), so there the whole program is one
# CTest test; GoogleTest's own output still names every case, and any failing case fails it.
function(pelmora_discover_tests target)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${target} COMMAND ${target} --gtest_color=no)
    set_tests_properties(${target} PROPERTIES TIMEOUT 600)
  else()
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 ${ARGN})
  endif()
endfunction()
