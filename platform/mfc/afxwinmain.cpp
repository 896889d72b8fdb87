// The program's entry point. Alone in its file: a program that brings its own
// wWinMain never pulls this one from the library.
#include "platform/mfc/afxapp.h"

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow)
{
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
