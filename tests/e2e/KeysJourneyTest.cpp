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
constexpr char kNotepad[] = "C:\\windows\\system32\\notepad.exe";
constexpr char kKeysTitle[] = "Keys: Speakers";

std::string TextOf(HWND hWnd)
{
    char szText[128] = {};
    ::GetWindowTextA(hWnd, szText, sizeof szText);
    return szText;
}

class KeysJourneyTest : public CCopyTestOn<kMutesEverywhereCard> {
protected:
    // "&Keys...", the sixth entry from the menu's end: the wave line, the master, the two sides
    // and Always OnTop come after it.
    static HWND OpenKeys(const CBarProcess& bar)
    {
        HWND hKeys = nullptr;
        const bool bOpen = ChooseFromTheEnd(bar, 6) &&
                           WaitFor([&] { return (hKeys = ::FindWindowA(nullptr, kKeysTitle)) != nullptr; });
        return bOpen ? hKeys : nullptr;
    }
    static bool HasKeyboard(const CBarProcess& program)
    {
        DWORD dwProcessId = 0;
        ::GetWindowThreadProcessId(::GetForegroundWindow(), &dwProcessId);
        return dwProcessId == program.ProcessId();
    }
    DWORD StoredKey(const char* pszName) const
    {
        return m_keys.ReadInt("Keys", pszName).value_or(0xDEADBEEF);
    }

    CRegistryProfile m_keys{"Quillmark", "Sonobar"};
};

TEST_F(KeysJourneyTest, SetInTheDialogTheyActFromAnotherProgramShowTheHiddenBarAndOutliveARestart)
{
    {
        CRunningBar bar;
        const HWND hBar = bar.hBar;
        ASSERT_NE(nullptr, hBar);

        // 1. Ctrl+Alt+Up for Volume Up, Ctrl+Alt+M for Mute and Ctrl+Alt+S for Show or Hide, typed
        //    into the dialog's controls; OK stores them for the bar's card and side (the arrow
        //    with the flag of an extended key or without).
        HWND hKeys = OpenKeys(bar);
        ASSERT_NE(nullptr, hKeys);
        ASSERT_TRUE(XKeys("ctrl+alt+Up Tab Tab ctrl+alt+m Tab ctrl+alt+s Return"));
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(hKeys); }));
        EXPECT_EQ(0x0626u, StoredKey("Volume Up v0") & 0x06FF);
        EXPECT_EQ(0u, StoredKey("Volume Down v0"));
        EXPECT_EQ(0x064Du, StoredKey("Mute v0"));
        EXPECT_EQ(0x0653u, StoredKey("Show or Hide v0"));

        // 2. With another program in front, two steps up write louder values and Mute mutes; the
        //    program keeps the keyboard.
        CBarProcess notepad("", kNotepad);
        ASSERT_TRUE(WaitFor([&] { return HasKeyboard(notepad); }));
        ASSERT_TRUE(XKeys("ctrl+alt+Up ctrl+alt+Up ctrl+alt+m"));
        ASSERT_TRUE(WaitFor([&] { return ProgramWrites(m_strLog, kMasterMute) == std::vector<DWORD>{1}; }));
        const std::vector<DWORD> writes = ProgramWrites(m_strLog, kMasterVolume);
        ASSERT_EQ(2u, writes.size());
        // Two positions are less than one of the card's 32 steps: louder after both.
        EXPECT_LE(writes[0], writes[1]);
        EXPECT_LT(0x8000u, writes[1]);
        EXPECT_TRUE(HasKeyboard(notepad));

        // 3. Show or Hide hides the bar into the tray. A volume key shows it where it stood, on top
        //    and without the keyboard, its icon still in the tray; then it hides again by itself.
        const RECT rcBar = WindowRect(hBar);
        ASSERT_TRUE(XKeys("ctrl+alt+s"));
        ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(hBar) && IconShown(hBar); }));
        ASSERT_TRUE(XKeys("ctrl+alt+Up"));
        ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(hBar) != FALSE; }));
        const RECT rcShown = WindowRect(hBar);
        EXPECT_TRUE(::EqualRect(&rcBar, &rcShown));
        EXPECT_TRUE(::GetWindowLongA(hBar, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_TRUE(IconShown(hBar) && HasKeyboard(notepad));
        EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(hBar); }));

        // 4. Ctrl+Alt+D typed for Volume Down and taken by this test before OK: the dialog says so
        //    and stays open; Escape cancels it, and nothing is stored.
        ASSERT_TRUE(XKeys("ctrl+alt+s"));
        ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(hBar) != FALSE; }));
        hKeys = OpenKeys(bar);
        ASSERT_NE(nullptr, hKeys);
        ASSERT_TRUE(XKeys("Tab ctrl+alt+d"));
        ASSERT_TRUE(
            WaitFor([&] { return ::SendDlgItemMessageA(hKeys, IDC_KEY_VOLUME_DOWN, HKM_GETHOTKEY, 0, 0); }));
        ASSERT_TRUE(::RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'D'));
        ASSERT_TRUE(XKeys("Return"));
        const HWND hMessage = ::GetDlgItem(hKeys, IDC_KEYS_MESSAGE);
        EXPECT_TRUE(WaitFor([&] { return TextOf(hMessage) == "Ctrl+Alt+D is used by another program"; }))
            << TextOf(hMessage);
        ASSERT_TRUE(XKeys("Escape"));
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(hKeys); }));
        ::UnregisterHotKey(nullptr, 1);
        EXPECT_EQ(0u, StoredKey("Volume Down v0"));
        ASSERT_TRUE(bar.Close());
        // Notepad has no bar to be closed by.
        notepad.Kill();
    }

    // 5. A copy started again takes the stored keys: Mute works from another program in front.
    const CRunningBar again;
    ASSERT_NE(nullptr, again.hBar);
    CBarProcess notepad("", kNotepad);
    ASSERT_TRUE(WaitFor([&] { return HasKeyboard(notepad); }));
    ASSERT_TRUE(XKeys("ctrl+alt+m"));
    EXPECT_TRUE(WaitFor([&] { return ProgramWrites(m_strLog, kMasterMute).size() == 2; }));
    notepad.Kill();
}

} // namespace
