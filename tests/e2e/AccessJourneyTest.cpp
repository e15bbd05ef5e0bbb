// The bar for a user of the keyboard alone and of a screen reader, with real copies and the real
// keyboard of the X display: Tab reaches every control and shows where the focus is, Space and
// Enter work the picture buttons, a bar never takes the keyboard from the program in use, and a
// screen reader in another process reads the controls through Active Accessibility.
#include "BarProcess.h"
#include "BarScreen.h"
#include "CopyTest.h"
#include "XInput.h"
#include "res/resource.h"
#include "sim/SampleCards.h"
#include "sim/SimDriver.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <string>

namespace {

constexpr DWORD kSpeakersMute = 2;

using AccessJourneyTest = CCopyTestOn<kMutesEverywhereCard>;

// How many pixels of the ring two tile pixels inside the button differ from the black of the
// mute tile there: the dots of the focus cue, or none.
size_t FocusCueDots(HWND hButton)
{
    const RECT rc = WindowRect(hButton);
    const int cx = rc.right - rc.left;
    const std::vector<COLORREF> pixels = ScreenPixels(rc);
    const COLORREF clrTile = ::GetSysColor(COLOR_BTNTEXT);
    size_t nDots = 0;
    for (int i = 2; i < cx - 2; ++i)
        for (const auto& [x, y] :
             {std::pair{i, 2}, std::pair{i, cx - 3}, std::pair{2, i}, std::pair{cx - 3, i}})
            nDots += pixels[static_cast<size_t>(y * cx + x)] != clrTile;
    return nDots;
}

// Opens the menu with keys on the focused menu button; TRUE when it opened below the button and
// closed again on a click beside it.
bool KeysOpenTheMenuBelow(const CBarProcess& bar, HWND hMenuButton, const char* pszKeys)
{
    if (!XKeys(pszKeys))
        return false;
    HWND hMenu = nullptr;
    if (!WaitFor([&] { return (hMenu = OpenMenuOf(bar.ProcessId())) != nullptr; }))
        return false;
    const RECT rcMenu = WindowRect(hMenu);
    const RECT rcButton = WindowRect(hMenuButton);
    EXPECT_EQ(rcButton.left, rcMenu.left) << pszKeys;
    EXPECT_EQ(rcButton.bottom + 1, rcMenu.top) << pszKeys;
    // Escape inside the menu is the bar's hide key: a click beside it closes the menu.
    return XClick(POINT{600, 500}) && WaitFor([&] { return OpenMenuOf(bar.ProcessId()) == nullptr; });
}

TEST_F(AccessJourneyTest, TabReachesEveryControlSpaceMutesOnceAndSpaceOrEnterOpensTheMenu)
{
    CRunningBar bar;
    ASSERT_NE(nullptr, bar.hBar);

    // From the slider back to the menu button, then on through the slider to the mute button,
    // which shows the focus cue while it has the keyboard and not after.
    ASSERT_TRUE(XClick(Centre(ThumbRect(bar.hSlider))));
    ASSERT_TRUE(WaitFor([&] { return FocusOf(bar.hBar) == bar.hSlider; }));
    for (const auto& [pszKey, hExpected] : {std::pair{"shift+Tab", bar.hMenuButton},
                                            std::pair{"Tab", bar.hSlider}, std::pair{"Tab", bar.hMute}}) {
        ASSERT_TRUE(XKeys(pszKey));
        ASSERT_TRUE(WaitFor([&, hExpected = hExpected] { return FocusOf(bar.hBar) == hExpected; })) << pszKey;
    }
    EXPECT_TRUE(WaitFor([&] { return FocusCueDots(bar.hMute) > 10; })) << FocusCueDots(bar.hMute);

    // Space mutes, once: the Tab after it has been handled when the focus is on the menu button.
    ASSERT_TRUE(XKeys("space Tab"));
    ASSERT_TRUE(WaitFor([&] { return FocusOf(bar.hBar) == bar.hMenuButton; }));
    EXPECT_TRUE(WaitFor([&] { return ShownRow(bar.hMute, false) == MuteRow::Dim; }));
    EXPECT_EQ(std::vector<DWORD>{1}, ProgramWrites(m_strLog, kSpeakersMute));
    EXPECT_EQ(0u, FocusCueDots(bar.hMute));

    // Space, and Enter after the focus is taken back there, open the menu below the menu button.
    EXPECT_TRUE(KeysOpenTheMenuBelow(bar, bar.hMenuButton, "space"));
    ASSERT_TRUE(XClick(Centre(ThumbRect(bar.hSlider))));
    ASSERT_TRUE(XKeys("shift+Tab"));
    ASSERT_TRUE(WaitFor([&] { return FocusOf(bar.hBar) == bar.hMenuButton; }));
    EXPECT_TRUE(KeysOpenTheMenuBelow(bar, bar.hMenuButton, "Return"));
    EXPECT_TRUE(::IsWindowVisible(bar.hBar));
    EXPECT_EQ(std::vector<DWORD>{1}, ProgramWrites(m_strLog, kSpeakersMute));
}

// A window of this test process standing for the program the user is in, which has the keyboard.
class CProgramInUse {
public:
    CProgramInUse()
        : m_hWnd(::CreateWindowExA(0, "STATIC", "Program in use", WS_POPUP | WS_VISIBLE, 500, 400, 200, 100,
                                   nullptr, nullptr, nullptr, nullptr))
    {
        ::SetForegroundWindow(m_hWnd);
    }
    ~CProgramInUse() { ::DestroyWindow(m_hWnd); }
    CProgramInUse(const CProgramInUse&) = delete;
    CProgramInUse& operator=(const CProgramInUse&) = delete;

    HWND Get() const { return m_hWnd; }

private:
    HWND m_hWnd;
};

TEST_F(AccessJourneyTest, ABarTakesNoKeyboardFromTheProgramInUseAsItStartsOrFollowsAChange)
{
    // Wine without a window manager hands the keyboard to its desktop when another program's
    // window appears, so the program in use is not asked to keep it: the bar must not take it.
    // (Within its own thread the bar has an active window, as every dialog does; that takes
    // nothing from another program.)
    const CProgramInUse program;
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == program.Get(); }));
    CRunningBar bar;
    ASSERT_NE(nullptr, bar.hBar);
    EXPECT_TRUE(::IsWindowVisible(bar.hBar));
    EXPECT_NE(bar.hBar, ::GetForegroundWindow());

    EXPECT_EQ(1, SimDriverSetValues(m_strSession, 0, kSpeakersMute, {1}));
    ASSERT_TRUE(WaitFor([&] { return ShownRow(bar.hMute, false) == MuteRow::Dim; }));
    EXPECT_NE(bar.hBar, ::GetForegroundWindow());
}

// Active Accessibility as a screen reader in another process uses it: oleacc loaded at run time,
// the object of each control asked for its name, shortcut, state and value.
class CScreenReader {
public:
    CScreenReader() : m_hOleacc(::LoadLibraryA("oleacc.dll"))
    {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (m_hOleacc)
            m_pfnFromWindow = reinterpret_cast<FromWindowFn>(
                reinterpret_cast<void*>(::GetProcAddress(m_hOleacc, "AccessibleObjectFromWindow")));
    }
    ~CScreenReader()
    {
        if (m_hOleacc)
            ::FreeLibrary(m_hOleacc);
        ::CoUninitialize();
    }
    CScreenReader(const CScreenReader&) = delete;
    CScreenReader& operator=(const CScreenReader&) = delete;

    bool Loaded() const { return m_pfnFromWindow != nullptr; }

    // The control's text property (get_accName and the like); nothing when it has none.
    using TextGetter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
    std::optional<std::string> Text(HWND hControl, TextGetter getter) const
    {
        IAccessible* pAccessible = Object(hControl);
        if (!pAccessible)
            return std::nullopt;
        BSTR bstr = nullptr;
        const HRESULT hr = (pAccessible->*getter)(Self(), &bstr);
        pAccessible->Release();
        if (hr != S_OK || !bstr)
            return std::nullopt;
        std::string str;
        for (const wchar_t* p = bstr; *p; ++p)
            str += static_cast<char>(*p);
        ::SysFreeString(bstr);
        return str;
    }
    LONG State(HWND hControl) const
    {
        IAccessible* pAccessible = Object(hControl);
        if (!pAccessible)
            return -1;
        VARIANT state{};
        const HRESULT hr = pAccessible->get_accState(Self(), &state);
        pAccessible->Release();
        return hr == S_OK && state.vt == VT_I4 ? state.lVal : -1;
    }

private:
    using FromWindowFn = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
    // IID_IAccessible, spelled out: the test links nothing of oleacc.
    static constexpr GUID kIidAccessible{
        0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

    static VARIANT Self()
    {
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        return self;
    }
    IAccessible* Object(HWND hControl) const
    {
        void* pObject = nullptr;
        if (!m_pfnFromWindow ||
            FAILED(m_pfnFromWindow(hControl, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible, &pObject)))
            return nullptr;
        return static_cast<IAccessible*>(pObject);
    }

    HMODULE m_hOleacc;
    FromWindowFn m_pfnFromWindow = nullptr;
};

TEST_F(AccessJourneyTest, AScreenReaderReadsTheControlsNamesTheMuteStateAndTheLevel)
{
    CRunningBar bar;
    ASSERT_NE(nullptr, bar.hBar);
    const CScreenReader reader;
    ASSERT_TRUE(reader.Loaded());

    // Names and shortcuts come from the window texts, which Wine's oleacc reads too.
    const struct {
        HWND hControl;
        const char* pszName;
        const char* pszShortcut;
    } controls[] = {
        {bar.hSlider, "Volume", nullptr}, {bar.hMute, "Mute", "alt+m"}, {bar.hMenuButton, "Menu", "alt+u"}};
    for (const auto& c : controls) {
        EXPECT_EQ(c.pszName, reader.Text(c.hControl, &IAccessible::get_accName).value_or("(none)"));
        const auto shortcut = reader.Text(c.hControl, &IAccessible::get_accKeyboardShortcut);
        EXPECT_EQ(c.pszShortcut ? c.pszShortcut : "(none)", Lower(shortcut.value_or("(none)"))) << c.pszName;
        EXPECT_EQ(STATE_SYSTEM_FOCUSABLE,
                  reader.State(c.hControl) & (STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_UNAVAILABLE))
            << c.pszName;
    }

    // Muted by another program, the mute button reads as pressed, and not any more after.
    // Wine's oleacc answers no annotation (BarAccessibilityTest checks what the bar hands over)
    // and no trackbar value; where it does, they must be right.
    EXPECT_EQ(0, reader.State(bar.hMute) & STATE_SYSTEM_PRESSED);
    EXPECT_EQ(1, SimDriverSetValues(m_strSession, 0, kSpeakersMute, {1}));
    ASSERT_TRUE(WaitFor([&] { return ShownRow(bar.hMute, false) == MuteRow::Dim; }));
    const bool bPressedAnswered = (reader.State(bar.hMute) & STATE_SYSTEM_PRESSED) != 0;
    EXPECT_EQ(1, SimDriverSetValues(m_strSession, 0, kSpeakersMute, {0}));
    ASSERT_TRUE(WaitFor([&] { return ShownRow(bar.hMute, false) == MuteRow::Bright; }));
    EXPECT_EQ(0, reader.State(bar.hMute) & STATE_SYSTEM_PRESSED);
    const auto value = reader.Text(bar.hSlider, &IAccessible::get_accValue);
    if (value) {
        EXPECT_EQ(std::to_string(SliderPos(bar.hSlider)), *value);
    }
    RecordProperty("pressed state answered", bPressedAnswered ? "yes" : "no");
    RecordProperty("slider value answered", value ? "yes" : "no");
}

} // namespace
