// A bar's global keys with the real keyboard of the X display: set in the Keys dialog from the
// menu, acting on the card from another program in front, showing the bar hidden in the tray for
// a moment, a key that another process holds said in the dialog, and the keys at work again after
// a restart. Under Wine a global key reaches the bar while X input goes to a Wine window, here
// Wine's own notepad.
#include "BarProcess.h"
#include "BarScreen.h"
#include "CopyTest.h"
#include "XInput.h"
#include "res/resource.h"
#include "sim/SampleCards.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

constexpr DWORD kMasterVolume = 1;
constexpr DWORD kMasterMute = 2;

// The copy's open Keys dialog, or null.
HWND KeysDialogOf(DWORD dwProcessId)
{
    HWND hWnd = nullptr;
    while ((hWnd = ::FindWindowExA(nullptr, hWnd, "#32770", nullptr)) != nullptr) {
        DWORD dwOwner = 0;
        ::GetWindowThreadProcessId(hWnd, &dwOwner);
        if (dwOwner == dwProcessId && ::IsWindowVisible(hWnd) && ::GetDlgItem(hWnd, IDC_KEY_VOLUME_UP))
            return hWnd;
    }
    return nullptr;
}

// The menu opened with a right click on the bar's body, and "&Keys..." chosen by its access key.
HWND OpenKeysDialog(const CBarProcess& bar)
{
    const HWND hBar = bar.BarWindow();
    HWND hDialog = nullptr;
    if (XClick(BodyPoint(hBar, ::GetDlgItem(hBar, IDC_VOLUME_SLIDER)), 3) &&
        WaitFor([&] { return OpenMenuOf(bar.ProcessId()) != nullptr; }) && XKeys("k"))
        WaitFor([&] { return (hDialog = KeysDialogOf(bar.ProcessId())) != nullptr; });
    return hDialog;
}

// What a hotkey control of the dialog shows, without the flag of an extended key.
WORD ShownKey(HWND hDialog, UINT nID)
{
    return static_cast<WORD>(::SendDlgItemMessageA(hDialog, static_cast<int>(nID), HKM_GETHOTKEY, 0, 0) &
                             ~(HOTKEYF_EXT << 8));
}

std::string TextOf(HWND hWnd)
{
    char szText[128] = {};
    ::GetWindowTextA(hWnd, szText, sizeof szText);
    return szText;
}

// Wine's notepad, a program of its own with the keyboard.
class CNotepad {
public:
    CNotepad()
    {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        char szCommand[] = "notepad.exe";
        if (::CreateProcessA(nullptr, szCommand, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi))
            ::WaitForInputIdle(m_pi.hProcess, 10000);
    }
    ~CNotepad()
    {
        ::TerminateProcess(m_pi.hProcess, 0);
        ::WaitForSingleObject(m_pi.hProcess, 10000);
        ::CloseHandle(m_pi.hThread);
        ::CloseHandle(m_pi.hProcess);
    }
    CNotepad(const CNotepad&) = delete;
    CNotepad& operator=(const CNotepad&) = delete;

    bool HasKeyboard() const
    {
        DWORD dwProcessId = 0;
        ::GetWindowThreadProcessId(::GetForegroundWindow(), &dwProcessId);
        return dwProcessId == m_pi.dwProcessId;
    }

private:
    PROCESS_INFORMATION m_pi{};
};

class KeysJourneyTest : public CCopyTest {
protected:
    KeysJourneyTest() : CCopyTest(kMutesEverywhereCard) {}

    DWORD StoredKey(const char* pszName) const
    {
        return m_keys.ReadInt("Keys", pszName).value_or(0xDEADBEEF);
    }

    CRegistryProfile m_keys{"Quillmark", "Sonobar"};
};

TEST_F(KeysJourneyTest, SetInTheDialogTheyActFromAnotherProgramShowTheHiddenBarAndOutliveARestart)
{
    {
        CBarProcess bar;
        const HWND hBar = bar.BarWindow();
        ASSERT_NE(nullptr, hBar);
        const HWND hSlider = ::GetDlgItem(hBar, IDC_VOLUME_SLIDER);
        ASSERT_EQ(50, SliderPos(hSlider));

        // 1. Ctrl+Alt+Up for Volume Up, Ctrl+Alt+M for Mute and Ctrl+Alt+S for Show or Hide, typed
        //    into the dialog's controls; OK stores them for the bar's card and side.
        HWND hKeys = OpenKeysDialog(bar);
        ASSERT_NE(nullptr, hKeys);
        EXPECT_EQ("Keys: Speakers", TextOf(hKeys));
        ASSERT_TRUE(XKeys("ctrl+alt+Up Tab Tab ctrl+alt+m Tab ctrl+alt+s"));
        ASSERT_TRUE(WaitFor([&] { return ShownKey(hKeys, IDC_KEY_SHOW_OR_HIDE) != 0; }));
        EXPECT_EQ(0x0626, ShownKey(hKeys, IDC_KEY_VOLUME_UP));
        EXPECT_EQ(0, ShownKey(hKeys, IDC_KEY_VOLUME_DOWN));
        EXPECT_EQ(0x064D, ShownKey(hKeys, IDC_KEY_MUTE));
        EXPECT_EQ(0x0653, ShownKey(hKeys, IDC_KEY_SHOW_OR_HIDE));
        ASSERT_TRUE(XKeys("Return"));
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(hKeys); }));
        EXPECT_EQ(0x0626u, StoredKey("Volume Up v0") & 0x06FF);
        EXPECT_EQ(0u, StoredKey("Volume Down v0"));
        EXPECT_EQ(0x064Du, StoredKey("Mute v0"));

        // 2. With another program in front, two steps up write louder values, and Mute mutes.
        const CNotepad notepad;
        ASSERT_TRUE(WaitFor([&] { return notepad.HasKeyboard(); }));
        ASSERT_TRUE(XKeys("ctrl+alt+Up ctrl+alt+Up"));
        ASSERT_TRUE(WaitFor([&] { return ProgramWrites(m_strLog, kMasterVolume).size() == 2; }));
        const std::vector<DWORD> writes = ProgramWrites(m_strLog, kMasterVolume);
        // Two positions are less than one of the card's 32 steps: louder after both.
        EXPECT_LE(writes[0], writes[1]);
        EXPECT_LT(0x8000u, writes[1]);
        EXPECT_EQ(54, SliderPos(hSlider));
        ASSERT_TRUE(XKeys("ctrl+alt+m"));
        ASSERT_TRUE(WaitFor([&] { return ProgramWrites(m_strLog, kMasterMute).size() == 1; }));
        EXPECT_EQ(1u, ProgramWrites(m_strLog, kMasterMute).back());
        EXPECT_TRUE(notepad.HasKeyboard());

        // 3. Show or Hide hides the bar into the tray. A volume key shows it where it stood, on top
        //    and without the keyboard, its icon still in the tray; then it hides again by itself.
        const RECT rcBar = WindowRect(hBar);
        ASSERT_TRUE(XKeys("ctrl+alt+s"));
        ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(hBar) && IconShown(hBar); }));
        ASSERT_TRUE(XKeys("ctrl+alt+Up"));
        ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(hBar) != FALSE; }));
        EXPECT_TRUE(::GetWindowLongA(hBar, GWL_EXSTYLE) & WS_EX_TOPMOST);
        const RECT rcShown = WindowRect(hBar);
        EXPECT_TRUE(::EqualRect(&rcBar, &rcShown));
        EXPECT_TRUE(IconShown(hBar));
        EXPECT_TRUE(notepad.HasKeyboard());
        EXPECT_EQ(3u, ProgramWrites(m_strLog, kMasterVolume).size());
        EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(hBar); }));
        EXPECT_TRUE(IconShown(hBar));

        // 4. Ctrl+Alt+D typed for Volume Down and taken by this test before OK: the dialog says so
        //    and stays open; Escape cancels it, and nothing is stored.
        ASSERT_TRUE(XKeys("ctrl+alt+s"));
        ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(hBar) && !IconShown(hBar); }));
        hKeys = OpenKeysDialog(bar);
        ASSERT_NE(nullptr, hKeys);
        ASSERT_TRUE(XKeys("Tab ctrl+alt+d"));
        ASSERT_TRUE(WaitFor([&] { return ShownKey(hKeys, IDC_KEY_VOLUME_DOWN) == 0x0644; }));
        ASSERT_TRUE(::RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'D'));
        ASSERT_TRUE(XKeys("Return"));
        const HWND hMessage = ::GetDlgItem(hKeys, IDC_KEYS_MESSAGE);
        EXPECT_TRUE(WaitFor([&] { return TextOf(hMessage) == "Ctrl+Alt+D is used by another program"; }))
            << TextOf(hMessage);
        EXPECT_TRUE(::IsWindowVisible(hKeys));
        ASSERT_TRUE(XKeys("Escape"));
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(hKeys); }));
        ::UnregisterHotKey(nullptr, 1);
        EXPECT_EQ(0u, StoredKey("Volume Down v0"));
        EXPECT_TRUE(::IsWindowVisible(hBar));
        ASSERT_TRUE(bar.Close());
    }

    // 5. A copy started again takes the stored keys: Mute works from another program in front.
    CBarProcess again;
    ASSERT_NE(nullptr, again.BarWindow());
    const CNotepad notepad;
    ASSERT_TRUE(WaitFor([&] { return notepad.HasKeyboard(); }));
    ASSERT_TRUE(XKeys("ctrl+alt+m"));
    EXPECT_TRUE(WaitFor([&] { return ProgramWrites(m_strLog, kMasterMute).size() == 2; }));
}

} // namespace
