# Cross toolchain: 32-bit Windows with mingw-w64 (posix threads). Built and linked only.
set(BK_TRIPLET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(BK_WIDL_ARCH --win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
