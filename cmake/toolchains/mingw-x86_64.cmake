# 64-bit Windows build. Used for the test build: its test programs run on
# Linux under Wine through tools/wine-run.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MRLYRICS_MINGW_TRIPLE x86_64-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake")

get_filename_component(_mrlyrics_repo "${CMAKE_CURRENT_LIST_DIR}/../.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${_mrlyrics_repo}/tools/wine-run")
