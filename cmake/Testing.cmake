# Unit-test plumbing.
#
# mrlyrics_add_gtest(<name> SOURCES <files...> [LIBS <libs...>])
#   Builds a GoogleTest program linked with GTest::gtest_main and registers it
#   with ctest. Tests run in the top-level build directory and get:
#     MRLYRICS_SOURCE_DIR      repository root as a host path ("/work/main").
#                              Under Wine this also works as long as the
#                              current drive is Z: (true for the build dir),
#                              because Wine resolves "/a/b" against it.
#     MRLYRICS_SOURCE_DIR_WIN  Windows builds only: the same as a drive path
#                              ("Z:/work/main"), valid regardless of the
#                              current directory.
#   Natively each test case becomes its own ctest entry. For Windows builds
#   each program is a single ctest entry run through the emulator, since
#   Wine start-up is far too slow to pay once per test case (64-bit Wine for
#   the win64 build, 32-bit Wine for the i686 release build). Without an
#   emulator the programs are built as a link check and not registered.

if(BUILD_TESTING)
  enable_testing()
  include(GoogleTest)
endif()

set(MRLYRICS_NATIVE_TEST_TIMEOUT 300 CACHE STRING "Per-test-case timeout (s), native")
set(MRLYRICS_WINE_TEST_TIMEOUT 1200 CACHE STRING "Per-program timeout (s) under Wine")

function(mrlyrics_add_gtest name)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "" "SOURCES;LIBS")
  if(ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "mrlyrics_add_gtest(${name}): unexpected arguments ${ARG_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT ARG_SOURCES)
    message(FATAL_ERROR "mrlyrics_add_gtest(${name}): no SOURCES")
  endif()

  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    MRLYRICS_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  if(WIN32)
    target_compile_definitions(${name} PRIVATE
      MRLYRICS_SOURCE_DIR_WIN="Z:${PROJECT_SOURCE_DIR}")
  endif()

  if(NOT CMAKE_CROSSCOMPILING)
    gtest_discover_tests(${name}
      WORKING_DIRECTORY "${PROJECT_BINARY_DIR}"
      DISCOVERY_TIMEOUT 60
      PROPERTIES TIMEOUT ${MRLYRICS_NATIVE_TEST_TIMEOUT})
  elseif(CMAKE_CROSSCOMPILING_EMULATOR)
    # add_test() puts the emulator in front of the target's path by itself.
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no
             WORKING_DIRECTORY "${PROJECT_BINARY_DIR}")
    set_tests_properties(${name} PROPERTIES TIMEOUT ${MRLYRICS_WINE_TEST_TIMEOUT})
  endif()
endfunction()
