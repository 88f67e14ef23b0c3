# 32-bit Windows build: the release build, since the player is a 32-bit
# process and can only load a 32-bit plug-in DLL. Its test programs run under
# 32-bit Wine through tools/wine-run, which picks the 32-bit loader for them.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MRLYRICS_MINGW_TRIPLE i686-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake")

get_filename_component(_mrlyrics_repo "${CMAKE_CURRENT_LIST_DIR}/../.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${_mrlyrics_repo}/tools/wine-run")
