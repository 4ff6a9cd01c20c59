# Shared by the mingw-w64 toolchain files, which set TVX_MINGW_TRIPLET and
# CMAKE_SYSTEM_PROCESSOR first. The posix thread flavour is required:
# GoogleTest needs std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TVX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TVX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TVX_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TVX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# ctest runs the Windows test programs under Wine; wine-exec picks the loader
# that fits each program (32- or 64-bit).
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec")
