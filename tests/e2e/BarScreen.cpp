#include "BarScreen.h"

#include "XInput.h"

#include "fw/ScopedHandles.h"
#include "res/resource.h"

#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

struct CCloseHandle {
    void operator()(HANDLE h) const { ::CloseHandle(h); }
};
using CScopedProcess = CScopedHandle<HANDLE, CCloseHandle>;

} // namespace

POINT Centre(const RECT& rc)
{
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

POINT Offset(POINT pt, int dx, int dy)
{
    return {pt.x + dx, pt.y + dy};
}

bool WaitFor(const std::function<bool()>& condition, DWORD dwMilliseconds)
{
    for (DWORD dwWaited = 0; dwWaited < dwMilliseconds; dwWaited += 10) {
        if (condition())
            return true;
        ::Sleep(10);
    }
    return condition();
}

std::string Lower(std::string strText)
{
    std::transform(strText.begin(), strText.end(), strText.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return strText;
}

HWND FocusOf(HWND hBar)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(hBar, nullptr), &info) ? info.hwndFocus : nullptr;
}

int SliderPos(HWND hSlider)
{
    return static_cast<int>(::SendMessageA(hSlider, TBM_GETPOS, 0, 0));
}

// The trackbar writes the rectangle into memory of its own process.
RECT ThumbRect(HWND hSlider)
{
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hSlider, &dwProcessId);
    RECT rc{};
    const CScopedProcess process(
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, dwProcessId));
    void* pRemote = ::VirtualAllocEx(process.Get(), nullptr, sizeof rc, MEM_COMMIT, PAGE_READWRITE);
    if (!pRemote)
        return rc;
    ::SendMessageA(hSlider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(pRemote));
    ::ReadProcessMemory(process.Get(), pRemote, &rc, sizeof rc, nullptr);
    ::VirtualFreeEx(process.Get(), pRemote, 0, MEM_RELEASE);
    ::MapWindowPoints(hSlider, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

std::vector<COLORREF> ScreenPixels(const RECT& rc)
{
    const int cx = rc.right - rc.left;
    const int cy = rc.bottom - rc.top;
    const CWindowDC screen(nullptr);
    const CScopedMemoryDC memory(::CreateCompatibleDC(screen.Get()));
    const CScopedBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), cx, cy));
    const CSelectObject select(memory.Get(), bitmap.Get());
    ::BitBlt(memory.Get(), 0, 0, cx, cy, screen.Get(), rc.left, rc.top, SRCCOPY);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x)
            pixels.push_back(::GetPixel(memory.Get(), x, y));
    return pixels;
}

// The bright row draws the glyph in cyan (red on the recording side), the dim row in teal (dark
// red). The focus frame is dotted in the bright colour in either row, so the larger count decides.
MuteRow ShownRow(HWND hButton, bool bInput)
{
    const COLORREF clrBright = bInput ? RGB(0xFF, 0, 0) : RGB(0, 0xFF, 0xFF);
    const COLORREF clrDim = bInput ? RGB(0x80, 0, 0) : RGB(0, 0x80, 0x80);
    int nBright = 0;
    int nDim = 0;
    for (const COLORREF clr : ScreenPixels(WindowRect(hButton))) {
        nBright += clr == clrBright;
        nDim += clr == clrDim;
    }
    return nDim > nBright ? MuteRow::Dim : MuteRow::Bright;
}

std::vector<DWORD> ProgramWrites(const std::string& strLog, DWORD dwControlID)
{
    return LoggedWrites(strLog, "program", dwControlID);
}

std::vector<DWORD> LoggedWrites(const std::string& strLog, const char* pszOrigin, DWORD dwControlID)
{
    std::vector<DWORD> writes;
    std::ifstream log(strLog);
    for (std::string strLine; std::getline(log, strLine);) {
        std::istringstream fields(strLine);
        std::string strOrigin;
        DWORD dwProcessId = 0;
        UINT nCard = 0;
        DWORD dwControl = 0;
        DWORD dwValue = 0;
        if (fields >> strOrigin >> dwProcessId >> nCard >> dwControl >> dwValue && strOrigin == pszOrigin &&
            dwControl == dwControlID)
            writes.push_back(dwValue);
    }
    return writes;
}

POINT BodyPoint(HWND hBar, HWND hSlider)
{
    return {Centre(WindowRect(hSlider)).x, (WindowRect(hBar).top + WindowRect(hSlider).top) / 2};
}

std::optional<POINT> FirstTrayIconPoint()
{
    // Without a system tray on the X side, Wine shows the icons in a small window of its own,
    // one square of its client height each.
    const HWND hTray = ::FindWindowA("__winex11_standalone_tray", nullptr);
    if (!hTray || !::IsWindowVisible(hTray))
        return std::nullopt;
    RECT rcClient{};
    ::GetClientRect(hTray, &rcClient);
    POINT ptIcon{rcClient.bottom / 2, rcClient.bottom / 2};
    ::ClientToScreen(hTray, &ptIcon);
    return ptIcon;
}

HWND OpenMenuOf(DWORD dwProcessId)
{
    HWND hWnd = nullptr;
    while ((hWnd = ::FindWindowExA(nullptr, hWnd, "#32768", nullptr)) != nullptr) {
        DWORD dwOwner = 0;
        ::GetWindowThreadProcessId(hWnd, &dwOwner);
        if (dwOwner == dwProcessId && ::IsWindowVisible(hWnd))
            return hWnd;
    }
    return nullptr;
}

// The menu opens with nothing highlighted, and Up from there starts at its last entry, skipping
// separators.
bool ChooseFromTheEnd(const CBarProcess& bar, int nUp)
{
    const HWND hBar = bar.BarWindow();
    if (!XClick(BodyPoint(hBar, ::GetDlgItem(hBar, IDC_VOLUME_SLIDER)), 3))
        return false;
    if (!WaitFor([&] { return OpenMenuOf(bar.ProcessId()) != nullptr; }))
        return false;
    std::string strKeys;
    for (int i = 0; i < nUp; ++i)
        strKeys += "Up ";
    return XKeys(strKeys + "Return") && WaitFor([&] { return OpenMenuOf(bar.ProcessId()) == nullptr; });
}

bool RestoreFromIcon(HWND hBar)
{
    std::optional<POINT> ptIcon;
    return WaitFor([&] { return (ptIcon = FirstTrayIconPoint()).has_value(); }) && XClick(*ptIcon) &&
           WaitFor([&] { return ::IsWindowVisible(hBar) != FALSE; });
}
