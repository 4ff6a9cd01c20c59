// Calls for the delay-load library test (delay_imports_test.cmake): one
// through a dllimport pointer, as the Windows headers declare user32, and one
// by plain name, as GDI+'s flat API is declared.
#include <windows.h>

extern "C" void* __stdcall GdipAlloc(SIZE_T size);

int main() {
#ifndef TVX_WITHOUT_BEEP
    if (!MessageBeep(MB_OK))
        return 1;
#endif
    return GdipAlloc(0) == nullptr ? 0 : 2;
}
