// The least a program doing the bar's job can cost, as the floor the benchmark measures the
// program against: a dialog like the bar's, shown at once, closed by WM_CLOSE. Built twice: as
// is, and with FLOOR_OPENS_MIXER, which also opens mixer device 0 and reads its master volume
// once before the dialog shows.
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

namespace {

#ifdef FLOOR_OPENS_MIXER
DWORD ReadMasterVolume(HWND hWnd)
{
    HMIXER hMixer = nullptr;
    if (mixerOpen(&hMixer, 0, reinterpret_cast<DWORD_PTR>(hWnd), 0, CALLBACK_WINDOW) != MMSYSERR_NOERROR)
        return 0;
    MIXERLINEA line{};
    line.cbStruct = sizeof line;
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    MIXERCONTROLA control{};
    MIXERLINECONTROLSA controls{};
    controls.cbStruct = sizeof controls;
    controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof control;
    controls.pamxctrl = &control;
    MIXERCONTROLDETAILS_UNSIGNED value{};
    MIXERCONTROLDETAILS details{};
    details.cbStruct = sizeof details;
    details.cChannels = 1;
    details.cbDetails = sizeof value;
    details.paDetails = &value;
    const auto hObject = reinterpret_cast<HMIXEROBJ>(hMixer);
    if (mixerGetLineInfoA(hObject, &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) ==
        MMSYSERR_NOERROR) {
        controls.dwLineID = line.dwLineID;
        if (mixerGetLineControlsA(hObject, &controls,
                                  MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) ==
            MMSYSERR_NOERROR) {
            details.dwControlID = control.dwControlID;
            mixerGetControlDetailsA(hObject, &details, MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE);
        }
    }
    return value.dwValue;
}
#endif

INT_PTR CALLBACK DialogProc(HWND hWnd, UINT nMessage, WPARAM, LPARAM)
{
    switch (nMessage) {
    case WM_INITDIALOG:
#ifdef FLOOR_OPENS_MIXER
        ::SendDlgItemMessageA(hWnd, 1006, TBM_SETPOS, TRUE, ReadMasterVolume(hWnd) * 100 / 0xFFFF);
#endif
        return TRUE;
    case WM_CLOSE:
        ::DestroyWindow(hWnd);
        return TRUE;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&classes);
    if (!::CreateDialogParamA(hInstance, MAKEINTRESOURCEA(1), nullptr, &DialogProc, 0))
        return 1;
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return 0;
}
