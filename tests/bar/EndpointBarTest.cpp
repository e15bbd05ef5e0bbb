// The bar created in this process on the product's own mixer, the endpoint mixer, over fake Core
// Audio: a change that another program makes on a Core Audio thread arrives as one posted
// notification on the bar's thread and moves the real bar's slider; a mute shows the muted
// picture (icon 161) in the tray icon of the output master; Windows' broadcast of a change of any
// device restarts nothing, the mixer's notice of a changed endpoint restarts the bar once; the
// last endpoints unplugged leave one bar that says there is no driver, and their return brings
// the set back. The programs that play on the card are a group of the menu, and the bar drives
// the one chosen, follows it while it plays, stops and plays again, and remembers it.
#include "app/StartupValues.h"
#include "bar/ProgramEntries.h"
#include "bar/BarDlg.h"
#include "bar/TrayIcon.h"
#include "fw/WinApp.h"
#include "mixer/MixerCards.h"
#include "mixer/MixerDevice.h"
#include "mixer/MixerTestSupport.h"
#include "mixer/endpoint/FakeCoreAudio.h"
#include "res/resource.h"
#include "support/MenuEntries.h"
#include "support/StandInBar.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <dbt.h>

#include <string>
#include <thread>
#include <vector>

namespace {

// The colour pixels of an icon, to tell two loads of one picture from different pictures.
std::vector<DWORD> IconPixels(HICON hIcon)
{
    ICONINFO info{};
    if (hIcon == nullptr || !::GetIconInfo(hIcon, &info))
        return {};
    std::vector<DWORD> pixels(16 * 16);
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = 16;
    bmi.bmiHeader.biHeight = 16;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    const HDC hDC = ::GetDC(nullptr);
    ::GetDIBits(hDC, info.hbmColor, 0, 16, pixels.data(), &bmi, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, hDC);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return pixels;
}

std::vector<DWORD> PictureOf(WORD nIconID)
{
    CTrayIcon icon;
    icon.Prepare(::GetDesktopWindow(), 1, nIconID, nullptr);
    return IconPixels(icon.m_nid.hIcon);
}

class EndpointBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quillmark");
        Speakers().SetLevelElsewhere(0.5f);
        Speakers().SetMuteElsewhere(FALSE);
        m_app.m_strAppName = "Sonobar";
        m_app.SetRegistryKey("Quillmark");
        TakeCommandLine("sonobar.exe");
        g_bFirstInstance = 1;
        g_hBarWnd = nullptr;
        ASSERT_TRUE(m_bar.Create(IDD_BAR));
        ASSERT_EQ(ProcessMixerChoice().kind, MixerKind::Endpoint) << ProcessMixerChoice().strReason;
        Dispatch();
    }

    void TearDown() override
    {
        if (m_bar.m_hWnd)
            m_bar.DestroyWindow();
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quillmark");
    }

    static CFakeEndpointVolume& Speakers() { return ProcessLaptop().Volume(L"spk"); }

    // Handles what waits in the bar's queue; answers how many mixer notifications were among it.
    unsigned Dispatch()
    {
        unsigned nNotifications = 0;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == MM_MIXM_CONTROL_CHANGE && msg.hwnd == m_bar.m_hWnd)
                ++nNotifications;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        return nNotifications;
    }

    LRESULT SliderPosition() const { return ::SendMessageA(m_bar.m_sliderVolume.m_hWnd, TBM_GETPOS, 0, 0); }

    CWinApp m_app;
    // Notes the copy that a bar would start, with the number of cards then, and starts none: the
    // program here is the test itself.
    CRunningCopies::CCopyStarter RecordStarts()
    {
        return [this](const std::string& strRoleWord) {
            m_vecStarted.push_back(strRoleWord + " with " + std::to_string(CountMixerCards()) + " cards");
            return CScopedKernelHandle();
        };
    }

    std::vector<std::string> m_vecStarted;
    CRunningCopies m_copies{RecordStarts()};
    CBarDlg m_bar{m_copies};
};

TEST_F(EndpointBarTest, AVolumeSetElsewhereOnAComThreadMovesTheSlider)
{
    EXPECT_EQ(SliderPosition(), 50);
    std::thread([] { Speakers().SetLevelElsewhere(0.2f); }).join();
    EXPECT_EQ(Dispatch(), 1u);
    EXPECT_EQ(SliderPosition(), 20);
    std::thread([] { Speakers().SetLevelElsewhere(1.0f); }).join();
    EXPECT_EQ(Dispatch(), 1u);
    EXPECT_EQ(SliderPosition(), 100);
}

TEST_F(EndpointBarTest, AMuteSetElsewhereShowsTheMutedTrayPicture)
{
    ASSERT_EQ(m_bar.m_pMixer->m_dwComponentType, static_cast<DWORD>(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS));
    const std::vector<DWORD> muted = PictureOf(IDI_MUTED);
    ASSERT_NE(muted, PictureOf(IDI_BAR));
    std::thread([] { Speakers().SetMuteElsewhere(TRUE); }).join();
    EXPECT_EQ(Dispatch(), 1u);
    EXPECT_EQ(IconPixels(m_bar.m_pTrayIcon->m_nid.hIcon), muted);
    std::thread([] { Speakers().SetMuteElsewhere(FALSE); }).join();
    EXPECT_EQ(Dispatch(), 1u);
    EXPECT_EQ(IconPixels(m_bar.m_pTrayIcon->m_nid.hIcon), PictureOf(IDI_BAR));
}

TEST_F(EndpointBarTest, OnlyTheMixersNoticeOfChangedEndpointsRestartsTheBarOnce)
{
    // Another bar stands, so this one ends without starting the fresh set.
    const CStandInBar otherBar(0, 0);
    // Windows' broadcast for a USB stick or a mouse, whose endpoints are as they were.
    ::SendMessageA(m_bar.m_hWnd, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    Dispatch();
    ASSERT_TRUE(::IsWindow(m_bar.m_hWnd));

    // A headset plugged in: an endpoint added and the console default changed, one notice.
    SFakeEndpointSetup headset{L"hs", eRender, L"Headset", L"USB Audio"};
    std::thread([&] {
        ProcessLaptop().Fake().AddLater(headset, DEVICE_STATE_ACTIVE);
        ProcessLaptop().SetDefault(eRender, L"hs");
    }).join();
    RunHandedOver();
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, m_bar.m_hWnd, WM_DEVICECHANGE, WM_DEVICECHANGE, PM_REMOVE));
    EXPECT_FALSE(::PeekMessageA(&msg, m_bar.m_hWnd, WM_DEVICECHANGE, WM_DEVICECHANGE, PM_NOREMOVE));
    ::DispatchMessageA(&msg);
    EXPECT_FALSE(::IsWindow(msg.hwnd));

    std::thread([] {
        ProcessLaptop().SetDefault(eRender, L"spk");
        ProcessLaptop().Fake().Remove(L"hs");
    }).join();
    RunHandedOver();
}

TEST_F(EndpointBarTest, TheLastEndpointsUnpluggedLeaveOneBarThatSaysSoAndTheirReturnBringsTheSetBack)
{
    // 1. Every endpoint goes: the HDMI screen and the webcam are unplugged, then the jack's
    //    speakers and microphone too.
    for (const wchar_t* pszId : {L"hdmi", L"cam", L"spk", L"mic"})
        ProcessLaptop().Fake().SetState(pszId, DEVICE_STATE_UNPLUGGED);
    Dispatch();
    EXPECT_EQ(nullptr, m_bar.m_hWnd);
    EXPECT_EQ(std::vector<std::string>{"v0 with 0 cards"}, m_vecStarted);

    // 2. The bar started for the fresh set has no card and says so; while its message is up, the
    //    speakers and microphone come back.
    bool bMessageWasUp = false;
    bool bTestClosedTheMessage = false;
    std::thread plugBack([&] {
        // Captioned like the bar, but without its slider.
        const auto messageBox = [] {
            HWND hWnd = nullptr;
            while ((hWnd = ::FindWindowExA(nullptr, hWnd, "#32770", "Sonobar")) != nullptr) {
                if (!::GetDlgItem(hWnd, IDC_VOLUME_SLIDER))
                    return hWnd;
            }
            return hWnd;
        };
        for (int i = 0; i < 500 && !messageBox(); ++i)
            ::Sleep(10);
        bMessageWasUp = messageBox() != nullptr;
        ProcessLaptop().Fake().SetState(L"spk", DEVICE_STATE_ACTIVE);
        ProcessLaptop().Fake().SetState(L"mic", DEVICE_STATE_ACTIVE);
        // The bar closes its message itself; one still up after five seconds would hang the test.
        for (int i = 0; i < 500 && messageBox(); ++i)
            ::Sleep(10);
        if (const HWND hBox = messageBox()) {
            bTestClosedTheMessage = true;
            ::PostMessageA(hBox, WM_COMMAND, IDOK, 0);
        }
    });
    TakeCommandLine("sonobar.exe v0");
    CRunningCopies freshCopies(RecordStarts());
    CBarDlg fresh(freshCopies);
    EXPECT_TRUE(fresh.Create(IDD_BAR));
    plugBack.join();
    Dispatch();
    EXPECT_TRUE(bMessageWasUp);
    EXPECT_FALSE(bTestClosedTheMessage);
    EXPECT_EQ(nullptr, fresh.m_hWnd);
    EXPECT_EQ((std::vector<std::string>{"v0 with 0 cards", "v0 with 1 cards"}), m_vecStarted);

    for (const wchar_t* pszId : {L"hdmi", L"cam"})
        ProcessLaptop().Fake().SetState(pszId, DEVICE_STATE_ACTIVE);
    Dispatch();
}

TEST(ProgramEntriesTest, PlayingProgramsAndTheChosenOneAreListed)
{
    const SProgramLine player{0x10000, 11, "Player", false};
    const SProgramLine browser{0x20000, 22, "Browser", false};
    SProgramLine gone = browser;
    gone.bGone = true;
    const struct {
        const char* pszCase;
        std::vector<SProgramLine> programs;
        DWORD dwChosen;
        std::vector<SProgramEntry> expected;
    } cases[] = {
        {"no program", {}, 0, {}},
        {"two programs, a line chosen",
         {player, browser},
         0,
         {{11, "Player", false, false}, {22, "Browser", false, false}}},
        {"the browser chosen",
         {player, browser},
         22,
         {{11, "Player", false, false}, {22, "Browser", false, true}}},
        {"a program gone is left out", {player, gone}, 0, {{11, "Player", false, false}}},
        {"but for the chosen one, greyed",
         {player, gone},
         22,
         {{11, "Player", false, false}, {22, "Browser", true, true}}},
        {"a chosen program the card never saw",
         {player},
         33,
         {{11, "Player", false, false}, {33, "Chat", true, true}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProgramEntries(c.programs, c.dwChosen, c.dwChosen == 33 ? "Chat" : "Browser"), c.expected)
            << c.pszCase;
}

// The menu's entries from "Master Volme" to the end, each as its text, or "-" for a separator,
// with "(grey)" and "(chosen)" where it is.
std::vector<std::string> EntriesFromTheMaster(HMENU hMenu)
{
    std::vector<std::string> entries;
    for (const SMenuEntry& entry : MenuEntriesFrom(hMenu, ID_MASTER_VOLUME))
        entries.push_back(entry == kMenuSeparator ? std::string("-")
                                                  : entry.strText + (entry.bGrayed ? " (grey)" : "") +
                                                        (entry.bChecked ? " (chosen)" : ""));
    return entries;
}

TEST_F(EndpointBarTest, TheBarDrivesTheProgramChosenFromTheMenuAndRemembersIt)
{
    CFakeSessionManager& sessions = ProcessLaptop().Sessions(L"spk");
    std::thread([&] { sessions.Session(L"web/1").SetLevelElsewhere(0.3f); }).join();
    const auto openMenu = [&](CBarDlg& bar) {
        ::SendMessageA(bar.m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(bar.m_hMenuPopup), 0);
        return EntriesFromTheMaster(bar.m_hMenuPopup);
    };
    const std::vector<std::string> cards = {"-", "&1.  Speakers (Realtek Audio) (chosen)",
                                            "&2.  LG TV (Intel Display Audio)",
                                            "&3.  Microphone (USB Camera)"};
    const auto withCards = [&](std::vector<std::string> entries) {
        entries.insert(entries.end(), cards.begin(), cards.end());
        return entries;
    };
    EXPECT_EQ(openMenu(m_bar), withCards({"Master Volme (chosen)", "-", "Player", "Browser"}));

    // Chosen, the browser is the bar's line: slider, mute button, tray and tooltips.
    ::SendMessageA(m_bar.m_hWnd, WM_COMMAND, ID_PROGRAM_FIRST + 1, 0);
    Dispatch();
    EXPECT_EQ(SliderPosition(), 30);
    ::SendMessageA(m_bar.m_hWnd, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 60),
                   reinterpret_cast<LPARAM>(m_bar.m_sliderVolume.m_hWnd));
    EXPECT_NEAR(sessions.Session(L"web/1").Level(), 0.6f, 0.0001f);
    EXPECT_EQ(sessions.Session(L"player/1").Level(), 1.0f);
    EXPECT_EQ(Speakers().Level(), 0.5f);
    ::SendMessageA(m_bar.m_btnMute.m_hWnd, BM_CLICK, 0, 0);
    EXPECT_TRUE(sessions.Session(L"web/1").Muted());
    EXPECT_EQ(IconPixels(m_bar.m_pTrayIcon->m_nid.hIcon), PictureOf(IDI_MUTED));
    Dispatch();
    EXPECT_EQ(openMenu(m_bar), withCards({"Master Volme", "-", "Player", "Browser (chosen)"}));

    // A change made by the program moves the slider; its end disables the controls and greys
    // its entry; when it plays again the bar drives it at the level it plays at.
    std::thread([&] { sessions.Session(L"web/1").SetLevelElsewhere(0.8f); }).join();
    Dispatch();
    EXPECT_EQ(SliderPosition(), 80);
    std::thread([&] { sessions.Session(L"web/1").Expire(); }).join();
    Dispatch();
    EXPECT_FALSE(::IsWindowEnabled(m_bar.m_sliderVolume.m_hWnd));
    EXPECT_FALSE(::IsWindowEnabled(m_bar.m_btnMute.m_hWnd));
    EXPECT_EQ(openMenu(m_bar), withCards({"Master Volme", "-", "Player", "Browser (grey) (chosen)"}));
    SFakeSessionSetup again{L"web", L"web/2", L"Browser"};
    again.fLevel = 0.45f;
    std::thread([&] { sessions.Play(again); }).join();
    Dispatch();
    EXPECT_TRUE(::IsWindowEnabled(m_bar.m_sliderVolume.m_hWnd));
    EXPECT_EQ(SliderPosition(), 45);

    // The choice lasts: the next bar drives the browser from the start; a line chosen clears it.
    const DWORD dwBrowser = m_bar.m_dwProgram;
    ASSERT_NE(dwBrowser, 0u);
    m_bar.DestroyWindow();
    EXPECT_EQ(static_cast<DWORD>(m_app.GetProfileInt("Settings", "Application", 0)), dwBrowser);
    EXPECT_EQ(m_app.GetProfileString("Settings", "Application Name", ""), "Browser");
    EXPECT_EQ(m_app.GetProfileInt("Settings", "Menu Index", 0), 9);
    CBarDlg next{m_copies};
    ASSERT_TRUE(next.Create(IDD_BAR));
    Dispatch();
    EXPECT_EQ(::SendMessageA(next.m_sliderVolume.m_hWnd, TBM_GETPOS, 0, 0), 45);
    EXPECT_EQ(openMenu(next), withCards({"Master Volme", "-", "Player", "Browser (chosen)"}));
    ::SendMessageA(next.m_hWnd, WM_COMMAND, ID_MASTER_VOLUME, 0);
    EXPECT_EQ(openMenu(next), withCards({"Master Volme (chosen)", "-", "Player", "Browser"}));
    next.DestroyWindow();
    EXPECT_EQ(m_app.GetProfileInt("Settings", "Application", 1), 0);
    std::thread([&] { sessions.Session(L"web/2").Expire(); }).join();
}

} // namespace
