# The same sources built as a 64-bit exe. It exists to run the Windows suite
# under 64-bit Wine on machines that cannot run 32-bit code; the product that
# ships stays the 32-bit build, and code that differs between the two keeps
# its 32-bit meaning here.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TVX_MINGW_TRIPLET x86_64-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake")
