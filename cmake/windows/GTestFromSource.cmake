# GoogleTest and GoogleMock built from Debian's source package (libgtest-dev, libgmock-dev) with the
# Windows compiler, under the names find_package(GTest) gives on Linux.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(library gtest gtest_main gmock gmock_main)
  # Their own sources are not ours to warn about.
  target_compile_options(${library} PRIVATE -w)
  add_library(GTest::${library} ALIAS ${library})
endforeach()

# Test programs are listed when the tests run (under Wine), never while building.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
