// A winmm.dll that is not Windows': placed beside the test program that checks that the WINMM
// mixer never loads a winmm.dll from the program's own folder. Its one function answers a device
// count that no machine has.
#include <windows.h>

extern "C" __declspec(dllexport) UINT WINAPI mixerGetNumDevs()
{
    return 77;
}
