# Shared part of the MinGW-w64 cross toolchains. The including file sets
# CMAKE_SYSTEM_PROCESSOR and MRLYRICS_MINGW_TRIPLE first.
#
# The player loads the plug-in into its own process and we cannot rely on any
# MinGW runtime DLL being on the user's machine, so everything (libgcc,
# libstdc++, winpthread) is linked statically into the DLL and test programs.

set(CMAKE_SYSTEM_NAME Windows)

set(_triple "${MRLYRICS_MINGW_TRIPLE}")
# The -posix variants use winpthreads, which gives us std::thread/std::mutex.
set(CMAKE_C_COMPILER   "${_triple}-gcc-posix")
set(CMAKE_CXX_COMPILER "${_triple}-g++-posix")
set(CMAKE_RC_COMPILER  "${_triple}-windres")
set(CMAKE_AR           "/usr/bin/${_triple}-ar" CACHE FILEPATH "")
set(CMAKE_RANLIB       "/usr/bin/${_triple}-ranlib" CACHE FILEPATH "")
set(CMAKE_ASM_NASM_COMPILER nasm)

set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Third-party libraries are built by tools/setup into a per-user cache, one
# prefix per Debian source package and version. Every completed prefix is
# searched, newest version first, so no -D arguments are needed at configure
# time.
if(DEFINED ENV{MRLYRICS_CACHE} AND NOT "$ENV{MRLYRICS_CACHE}" STREQUAL "")
  set(MRLYRICS_CACHE "$ENV{MRLYRICS_CACHE}")
else()
  set(MRLYRICS_CACHE "$ENV{HOME}/.cache/mrlyrics")
endif()
set(MRLYRICS_DEPS_PREFIXES "")
file(GLOB _mrlyrics_stamps LIST_DIRECTORIES false
     "${MRLYRICS_CACHE}/deps/${_triple}/*/.complete")
list(SORT _mrlyrics_stamps COMPARE NATURAL ORDER DESCENDING)
foreach(_stamp IN LISTS _mrlyrics_stamps)
  get_filename_component(_prefix "${_stamp}" DIRECTORY)
  list(APPEND MRLYRICS_DEPS_PREFIXES "${_prefix}")
endforeach()

set(CMAKE_FIND_ROOT_PATH "/usr/${_triple}" ${MRLYRICS_DEPS_PREFIXES})
# Prefixes are also given as prefix paths so that config packages
# (GTestConfig.cmake) are found; they are inside the root path, so they are
# not re-rooted.
set(CMAKE_PREFIX_PATH ${MRLYRICS_DEPS_PREFIXES})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The MinGW sysroot has both libz.a and libz.dll.a; take the static one.
set(ZLIB_USE_STATIC_LIBS ON)
