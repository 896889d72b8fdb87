#include <windows.h>

// Entry point of the program. The application object takes it over once it
// exists; until then the program starts and ends cleanly.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    return 0;
}
