// Stand-ins for the product exe. The end-to-end tests must fail against a
// program that shows no window: one that exits at once with a fixed code, or
// one that crashes (Wine passes on the low byte of the status, so an access
// violation exits with 5, the code of "Exit setup").
#include <windows.h>

#ifdef STANDIN_CRASH
// Volatile, so that the compiler cannot see the null and emit a trap
// instead of the store: the crash is a real access violation.
static int* volatile g_nowhere = nullptr;
#endif

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
#ifdef STANDIN_CRASH
    *g_nowhere = 1;
#endif
    return STANDIN_EXIT_CODE;
}
