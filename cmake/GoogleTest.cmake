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

# Registers each test of a GoogleTest program with CTest. The list is read when CTest runs
# (not at build time), so a cross build lists its tests through the emulator only when they
# are run, and a program that fails to list them fails the run loudly.
function(pelmora_discover_tests target)
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 ${ARGN})
endfunction()
