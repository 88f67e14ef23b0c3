# 32-bit Windows build: the release build, since the player is a 32-bit
# process and can only load a 32-bit plug-in DLL.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MRLYRICS_MINGW_TRIPLE i686-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake")
