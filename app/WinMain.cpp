// The program's entry point: hands control to the application object.
#include "fw/WinApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->Main() : EXIT_FAILURE;
}
