// A user at a real copy of the test build, with the real mouse and keyboard of the X display:
// the thumb dragged, the mute button clicked, a change made by another program, the wheel
// turned, the bar moved, hidden, brought back and closed. Screenshots of the bar go to
// build/screens.
#include "BarProcess.h"
#include "XInput.h"
#include "fw/ScopedHandles.h"
#include "mixer/VolumeScale.h"
#include "res/resource.h"
#include "sim/SampleCards.h"
#include "sim/SimDriver.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shellapi.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

RECT ScreenRect(HWND hWnd)
{
    RECT rc{};
    ::GetWindowRect(hWnd, &rc);
    return rc;
}

POINT Centre(const RECT& rc)
{
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

POINT Offset(POINT pt, int dx, int dy)
{
    return {pt.x + dx, pt.y + dy};
}

bool WaitFor(const std::function<bool()>& condition)
{
    for (int nWaited = 0; nWaited < 5000; nWaited += 50) {
        if (condition())
            return true;
        ::Sleep(50);
    }
    return condition();
}

int SliderPos(HWND hSlider)
{
    return static_cast<int>(::SendMessageA(hSlider, TBM_GETPOS, 0, 0));
}

struct CCloseHandle {
    void operator()(HANDLE h) const { ::CloseHandle(h); }
};
using CScopedProcess = CScopedHandle<HANDLE, CCloseHandle>;

// The thumb on the screen. The trackbar writes the rectangle into memory of its own process.
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

// Which row of its strip the mute button shows, told by the glyph's colour on the screen: the
// bright row draws it in cyan (red on the recording side), the dim row in teal (dark red). The
// focus frame is dotted in the bright colour in either row, so the larger count decides.
enum class MuteRow { Dim, Bright };

MuteRow ShownRow(HWND hButton, bool bInput)
{
    const RECT rc = ScreenRect(hButton);
    const int cx = rc.right - rc.left;
    const int cy = rc.bottom - rc.top;
    const CWindowDC screen(nullptr);
    const CScopedMemoryDC memory(::CreateCompatibleDC(screen.Get()));
    const CScopedBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), cx, cy));
    const CSelectObject select(memory.Get(), bitmap.Get());
    ::BitBlt(memory.Get(), 0, 0, cx, cy, screen.Get(), rc.left, rc.top, SRCCOPY);

    const COLORREF clrBright = bInput ? RGB(0xFF, 0, 0) : RGB(0, 0xFF, 0xFF);
    const COLORREF clrDim = bInput ? RGB(0x80, 0, 0) : RGB(0, 0x80, 0x80);
    int nBright = 0;
    int nDim = 0;
    for (int y = 0; y < cy; ++y) {
        for (int x = 0; x < cx; ++x) {
            const COLORREF clr = ::GetPixel(memory.Get(), x, y);
            nBright += clr == clrBright;
            nDim += clr == clrDim;
        }
    }
    return nDim > nBright ? MuteRow::Dim : MuteRow::Bright;
}

// The first values that this copy wrote to a control, in the order of the writes.
std::vector<DWORD> ProgramWrites(const std::string& strLog, DWORD dwControlID)
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
        if (fields >> strOrigin >> dwProcessId >> nCard >> dwControl >> dwValue && strOrigin == "program" &&
            dwControl == dwControlID)
            writes.push_back(dwValue);
    }
    return writes;
}

// The place for screenshots: build/screens, beside this test program.
std::string ScreensDirectory()
{
    char szPath[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    std::string strDirectory = szPath;
    strDirectory = strDirectory.substr(0, strDirectory.find_last_of("\\/") + 1) + "screens\\";
    ::CreateDirectoryA(strDirectory.c_str(), nullptr);
    return strDirectory;
}

// Whether the shell shows the bar's icon, asked for a change of nothing.
bool IconShown(HWND hBar)
{
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = hBar;
    nid.uID = IDI_BAR;
    return ::Shell_NotifyIconA(NIM_MODIFY, &nid) != FALSE;
}

// A point of the bar's body, above the slider and clear of every control.
POINT BodyPoint(HWND hBar, HWND hSlider)
{
    return {Centre(ScreenRect(hSlider)).x, (ScreenRect(hBar).top + ScreenRect(hSlider).top) / 2};
}

class VolumeJourneyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_settings.Clear();
        m_strSession = UseSimulatedCards(kMutesEverywhereCard);
        m_strLog = UseSimulatorLog();
    }
    void TearDown() override
    {
        ::SetEnvironmentVariableA("SONOBAR_SIM_LOG", nullptr);
        m_settings.Clear();
    }

    CSharedSettings m_settings;
    std::string m_strSession;
    std::string m_strLog;
};

TEST_F(VolumeJourneyTest, DragMuteFollowMoveAndClose)
{
    CBarProcess bar;
    const HWND hBar = bar.BarWindow();
    ASSERT_NE(nullptr, hBar);
    const HWND hSlider = ::GetDlgItem(hBar, IDC_VOLUME_SLIDER);
    const HWND hMute = ::GetDlgItem(hBar, IDC_MUTE_BUTTON);
    ASSERT_EQ(50, SliderPos(hSlider)); // 16 of 32 steps

    // 1. The thumb dragged to the right writes while it moves, louder each time.
    const POINT ptThumb = Centre(ThumbRect(hSlider));
    ASSERT_TRUE(XButtonDown(ptThumb));
    for (const int dx : {6, 12, 24})
        ASSERT_TRUE(XMove(Offset(ptThumb, dx, 0)));
    EXPECT_TRUE(WaitFor([&] { return ProgramWrites(m_strLog, 1).size() >= 2; }));
    ASSERT_TRUE(XButtonUp(Offset(ptThumb, 24, 0)));
    ASSERT_TRUE(WaitFor([&] { return ProgramWrites(m_strLog, 1).size() >= 3; }));
    const std::vector<DWORD> writes = ProgramWrites(m_strLog, 1);
    EXPECT_LT(0x8000u, writes.front());
    for (size_t i = 1; i < writes.size(); ++i)
        EXPECT_LE(writes[i - 1], writes[i]) << "write " << i;
    const int nPos = SliderPos(hSlider);
    EXPECT_LT(50, nPos);
    EXPECT_EQ(LevelToValue(PositionToSteps(nPos, 1, 32, 100), 32, 0xFFFF), writes.back());

    // 2. A click on the mute button mutes, and its picture turns dim; a second click unmutes.
    ASSERT_EQ(MuteRow::Bright, ShownRow(hMute, false));
    const POINT ptMute = Centre(ScreenRect(hMute));
    size_t nClicks = 0;
    for (const DWORD dwMuted : {1u, 0u}) {
        // Two clicks in quick succession would be a double-click, which a button does not take
        // for a click.
        ::Sleep(::GetDoubleClickTime());
        ASSERT_TRUE(XClick(ptMute));
        ++nClicks;
        ASSERT_TRUE(WaitFor([&] { return ProgramWrites(m_strLog, 2).size() == nClicks; }));
        EXPECT_EQ(dwMuted, ProgramWrites(m_strLog, 2).back());
        const MuteRow expected = dwMuted ? MuteRow::Dim : MuteRow::Bright;
        EXPECT_TRUE(WaitFor([&] { return ShownRow(hMute, false) == expected; })) << "muted " << dwMuted;
    }

    // 3. Another program sets 4 of 32 steps: the thumb follows.
    EXPECT_EQ(1, SimDriverSetValues(m_strSession, 0, 1, {0x2000, 0x2000}));
    EXPECT_TRUE(WaitFor([&] { return SliderPos(hSlider) == 12; })) << SliderPos(hSlider);

    // 4. The wheel turned away from the user over the slider: two notches, two lines louder.
    ASSERT_TRUE(XWheel(Centre(ScreenRect(hSlider)), 2));
    EXPECT_TRUE(WaitFor([&] { return SliderPos(hSlider) == 14; })) << SliderPos(hSlider);

    // 5. A drag on the body moves the bar; Alt+F4 closes it, and the new place is saved.
    const RECT rcBefore = ScreenRect(hBar);
    const POINT ptBody = BodyPoint(hBar, hSlider);
    ASSERT_EQ(hBar, ::WindowFromPoint(ptBody));
    ASSERT_TRUE(XButtonDown(ptBody));
    ASSERT_TRUE(XMove(Offset(ptBody, 20, 10)));
    ASSERT_TRUE(XMove(Offset(ptBody, 60, 40)));
    ASSERT_TRUE(XButtonUp(Offset(ptBody, 60, 40)));
    EXPECT_TRUE(WaitFor([&] { return ScreenRect(hBar).left == rcBefore.left + 60; }));
    EXPECT_EQ(rcBefore.top + 40, ScreenRect(hBar).top);
    ASSERT_TRUE(XKeys("alt+F4"));
    EXPECT_EQ(0u, bar.WaitForExit());
    EXPECT_EQ(static_cast<DWORD>(rcBefore.left + 60), m_settings.Read("X Coordinate"));
    EXPECT_EQ(static_cast<DWORD>(rcBefore.top + 40), m_settings.Read("Y Coordinate"));
}

TEST_F(VolumeJourneyTest, EscapeHidesTheBarAndAClickOnItsIconBringsItBack)
{
    CBarProcess bar;
    const HWND hBar = bar.BarWindow();
    ASSERT_NE(nullptr, hBar);
    // A click on the body gives the bar the keyboard (and moves it nowhere).
    ASSERT_TRUE(XClick(BodyPoint(hBar, ::GetDlgItem(hBar, IDC_VOLUME_SLIDER))));
    ASSERT_TRUE(XKeys("Escape"));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(hBar); }));
    EXPECT_TRUE(WaitFor([&] { return IconShown(hBar); }));
    EXPECT_FALSE(bar.WaitForExit(300).has_value());

    // Without a system tray on the X side, Wine shows the icons in a small window of its own,
    // one square of its client height each.
    const HWND hTray = ::FindWindowA("__winex11_standalone_tray", nullptr);
    ASSERT_NE(nullptr, hTray);
    RECT rcClient{};
    ::GetClientRect(hTray, &rcClient);
    POINT ptIcon{rcClient.bottom / 2, rcClient.bottom / 2};
    ::ClientToScreen(hTray, &ptIcon);
    ASSERT_TRUE(XClick(ptIcon));
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(hBar) != FALSE; }));
    EXPECT_TRUE(WaitFor([&] { return !IconShown(hBar); }));
}

TEST_F(VolumeJourneyTest, MutePictureOfEveryKindOfLineDimsWhenAnotherProgramMutes)
{
    const struct {
        const char* pszName;
        DWORD dwInput;
        DWORD dwComponentType;
        DWORD dwMenuIndex;
        DWORD dwMute;
        DWORD dwMutedValue;
    } lines[] = {
        {"output-master", 0, 4, 9, 2, 1},
        {"output-wave", 0, 0x1008, 0, 7, 1},
        {"input-microphone", 1, 0x1003, 0, 4, 0},
    };
    const std::string strScreens = ScreensDirectory();
    for (const auto& line : lines) {
        m_settings.Write("Input Volume", line.dwInput);
        m_settings.Write("Component Type", line.dwComponentType);
        m_settings.Write("Menu Index", line.dwMenuIndex);
        CBarProcess bar;
        const HWND hBar = bar.BarWindow();
        ASSERT_NE(nullptr, hBar) << line.pszName;
        const HWND hMute = ::GetDlgItem(hBar, IDC_MUTE_BUTTON);
        const bool bInput = line.dwInput != 0;
        EXPECT_EQ(MuteRow::Bright, ShownRow(hMute, bInput)) << line.pszName;
        EXPECT_TRUE(XScreenshot(ScreenRect(hBar), strScreens + line.pszName + "-unmuted.png"));

        EXPECT_EQ(1, SimDriverSetValues(m_strSession, 0, line.dwMute, {line.dwMutedValue})) << line.pszName;
        EXPECT_TRUE(WaitFor([&] { return ShownRow(hMute, bInput) == MuteRow::Dim; })) << line.pszName;
        EXPECT_TRUE(XScreenshot(ScreenRect(hBar), strScreens + line.pszName + "-muted.png"));
        ASSERT_TRUE(bar.Close()) << line.pszName;
    }
}

} // namespace
