/* A library linked to ask for the base address at which 64-bit programs load (the test
   program's own), so that the loader has to place it elsewhere. */
#include <windows.h>

__declspec(dllexport) int RelocatedLibraryMark(void) { return 0x5EED; }
