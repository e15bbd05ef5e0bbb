// The program's entry point: hands control to the application object.
#include "fw/WinApp.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->Main(hInstance) : EXIT_FAILURE;
}
