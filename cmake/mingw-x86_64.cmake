# Cross toolchain: 64-bit Windows with mingw-w64 (posix threads). Tests run under wine64.
set(BK_TRIPLET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(BK_WIDL_ARCH --win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
