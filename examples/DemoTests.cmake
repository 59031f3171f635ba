# Tests of the demo inside the whole tree: its own pieces; then install both libraries into a scratch
# prefix, build narv_demo against that installation, run it against the front simulator, check that it
# fails cleanly, and check the installed CMake package and pkg-config files.
if(NOT (NARV_BUILD_TESTS AND BUILD_TESTING))
  return()
endif()

# The demo's pieces that need no library: command line, text display, record descriptions.
find_package(GTest REQUIRED)
add_executable(narv_demo_pieces_test
  DemoPiecesTest.cpp
  DemoOptions.cpp
  DisplayText.cpp
  RecordText.cpp)
target_include_directories(narv_demo_pieces_test PRIVATE
  ${PROJECT_SOURCE_DIR}/traderapi ${PROJECT_SOURCE_DIR}/mdapi)
target_link_libraries(narv_demo_pieces_test PRIVATE GTest::gtest_main)
add_test(NAME narv_demo_pieces_test COMMAND narv_demo_pieces_test)

# Sanitizer builds skip the rest: the installed libraries would need the sanitizer runtime in programs
# built without it, and the libraries are exercised under the sanitizers by their own tests.
if(NARV_SANITIZE)
  message(STATUS "installation and demo session tests skipped in sanitizer builds")
  return()
endif()
if(NOT TARGET narv_front_simulator)
  return()
endif()

set(narv_demo_work ${CMAKE_CURRENT_BINARY_DIR}/check)

add_test(NAME demo_against_installed_libraries
         COMMAND bash ${PROJECT_SOURCE_DIR}/tools/demo-session.sh ${PROJECT_BINARY_DIR})
set_tests_properties(demo_against_installed_libraries PROPERTIES
  ENVIRONMENT "NARV_DEMO_WORK=${narv_demo_work}"
  FIXTURES_SETUP narv_demo_built
  RESOURCE_LOCK narv_install
  TIMEOUT 300)

add_test(NAME demo_fails_cleanly
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/check-demo-failures.sh
                 ${narv_demo_work}/demo-build/narv_demo ${PROJECT_SOURCE_DIR}/tools/demo-session.sh
                 ${PROJECT_BINARY_DIR})
set_tests_properties(demo_fails_cleanly PROPERTIES
  ENVIRONMENT "NARV_DEMO_WORK=${narv_demo_work}"
  FIXTURES_REQUIRED narv_demo_built
  RESOURCE_LOCK narv_install
  TIMEOUT 120)

add_test(NAME installed_package_is_usable
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/check-installed-package.sh ${PROJECT_BINARY_DIR}
                 ${CMAKE_CURRENT_BINARY_DIR}/package-check)
# Every install writes the build tree's install_manifest.txt: one at a time.
set_tests_properties(installed_package_is_usable PROPERTIES RESOURCE_LOCK narv_install TIMEOUT 120)

# Each small example, built beside the demo against the installed libraries and run by the same session
# script against a simulator of its own. The lost-connection example's simulator closes the first trade
# connection after its fourth message, just after the example's first order.
set(narv_example_simulator_options_example_survive_lost_connection
    "--close-after 4 --fault-connections 1 --fault-services trade")
set(examples ${NARV_EXAMPLES})
while(examples)
  list(POP_FRONT examples program source)
  add_test(NAME ${program}_against_installed_libraries
           COMMAND bash ${PROJECT_SOURCE_DIR}/tools/demo-session.sh ${PROJECT_BINARY_DIR})
  set_tests_properties(${program}_against_installed_libraries PROPERTIES
    ENVIRONMENT "NARV_DEMO_WORK=${narv_demo_work};NARV_DEMO_PROGRAM=${program};NARV_SIMULATOR_OPTIONS=${narv_example_simulator_options_${program}}"
    FIXTURES_REQUIRED narv_demo_built
    RESOURCE_LOCK narv_install
    TIMEOUT 120)
endwhile()
