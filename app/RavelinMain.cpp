#include "app/AppObjects.h"
#include "platform/mfc/afxapp.h"

// Entry point of the program: the class library's start-up runs the
// application object (a global, made before this is called).
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show)
{
    TheApp(); // links the program's globals in
    return AfxWinMain(instance, previous, commandLine, show);
}
