# Finds the third-party libraries and exposes the same imported targets on
# every platform, so the rest of the build never branches on where a library
# came from:
#   ZLIB::ZLIB, JPEG::JPEG, TagLib::tag
#   GTest::gtest, GTest::gtest_main, GTest::gmock   (BUILD_TESTING)
#   benchmark::benchmark                            (MRLYRICS_BENCH, native)
#
# Natively they come from Debian -dev packages; for MinGW from static builds
# that tools/setup puts in the dependency cache (searched by the toolchain
# file). Either way, a missing library is a set-up problem, not a build
# problem, so configure stops and says so.

option(BUILD_TESTING "Build the unit tests" OFF)

function(_mrlyrics_require target what)
  if(NOT TARGET ${target})
    message(FATAL_ERROR
      "${what} not found (no ${target} target) for ${CMAKE_SYSTEM_NAME}/${CMAKE_SYSTEM_PROCESSOR}.\n"
      "Run tools/setup to install the dependencies, then configure again "
      "(for a stale cache: rm -rf build/<preset>).")
  endif()
endfunction()

find_package(ZLIB)
_mrlyrics_require(ZLIB::ZLIB "zlib")

find_package(JPEG)
_mrlyrics_require(JPEG::JPEG "libjpeg")

# TagLib 1.13 installs no CMake package configuration.
if(NOT TARGET TagLib::tag)
  if(WIN32)
    find_path(TAGLIB_INCLUDE_DIR taglib/tag.h)
    find_library(TAGLIB_LIBRARY NAMES tag)
    if(TAGLIB_INCLUDE_DIR AND TAGLIB_LIBRARY)
      add_library(TagLib::tag STATIC IMPORTED)
      set_target_properties(TagLib::tag PROPERTIES
        IMPORTED_LOCATION "${TAGLIB_LIBRARY}"
        # Both <taglib/tag.h> and <tag.h> work, as with pkg-config natively.
        INTERFACE_INCLUDE_DIRECTORIES "${TAGLIB_INCLUDE_DIR};${TAGLIB_INCLUDE_DIR}/taglib"
        # Without it taglib_export.h declares everything dllimport.
        INTERFACE_COMPILE_DEFINITIONS TAGLIB_STATIC
        INTERFACE_LINK_LIBRARIES ZLIB::ZLIB)
    endif()
  else()
    find_package(PkgConfig)
    if(PKG_CONFIG_FOUND)
      pkg_check_modules(TAGLIB IMPORTED_TARGET taglib)
    endif()
    if(TARGET PkgConfig::TAGLIB)
      add_library(TagLib::tag INTERFACE IMPORTED)
      set_target_properties(TagLib::tag PROPERTIES
        INTERFACE_LINK_LIBRARIES PkgConfig::TAGLIB)
    endif()
  endif()
endif()
_mrlyrics_require(TagLib::tag "TagLib")

if(BUILD_TESTING)
  find_package(GTest CONFIG)
  _mrlyrics_require(GTest::gtest "GoogleTest")
  _mrlyrics_require(GTest::gtest_main "GoogleTest (gtest_main)")
  _mrlyrics_require(GTest::gmock "GoogleMock")
endif()

if(MRLYRICS_BENCH AND NOT WIN32)
  find_package(benchmark CONFIG)
  _mrlyrics_require(benchmark::benchmark "Google Benchmark")
  # The callgrind runner (tools/bench) needs the client-request macros.
  find_path(MRLYRICS_CALLGRIND_INCLUDE_DIR valgrind/callgrind.h)
  if(NOT MRLYRICS_CALLGRIND_INCLUDE_DIR)
    message(FATAL_ERROR "valgrind/callgrind.h not found. Run tools/setup to install valgrind.")
  endif()
endif()
