# Cross build of the Windows product with mingw-w64: the 32-bit exe that ships.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TVX_MINGW_TRIPLET i686-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake")
