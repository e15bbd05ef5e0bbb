// The bar as a screen reader hears it: what it hands to the annotation service (the slider's
// name, the line as both controls' descriptions, the mute button pressed while the line is
// muted) and the events that tell a reader of a change, whoever made it.
#include "BarTestSupport.h"

#include "bar/AccessibleNotes.h"
#include "res/resource.h"
#include "sim/SampleCards.h"
#include "sim/SimMixer.h"

#include <functional>
#include <map>
#include <vector>

namespace {

// The sample card's speakers mute and the wave source's.
constexpr DWORD kSpeakersMute = 2;

// What the bar handed over, last value per control, and every pressed state in order.
struct SNotesLog {
    std::map<HWND, std::wstring> mapNames;
    std::map<HWND, std::wstring> mapDescriptions;
    std::vector<bool> vecPressed;
};

class CFakeNotes : public IAccessibleNotes {
public:
    explicit CFakeNotes(SNotesLog& log) : m_log(log) {}
    void SetName(HWND hWnd, const std::wstring& wstrName) override { m_log.mapNames[hWnd] = wstrName; }
    void SetDescription(HWND hWnd, const std::wstring& wstrText) override
    {
        m_log.mapDescriptions[hWnd] = wstrText;
    }
    void SetPressed(HWND, bool bPressed) override { m_log.vecPressed.push_back(bPressed); }

private:
    SNotesLog& m_log;
};

class CNotedBar : public CBarDlg {
public:
    CNotedBar(CRunningCopies& copies, SNotesLog& log) : CBarDlg(copies), m_log(log) {}

protected:
    std::unique_ptr<IAccessibleNotes> CreateAccessibleNotes() override
    {
        return std::make_unique<CFakeNotes>(m_log);
    }

private:
    SNotesLog& m_log;
};

// The events of this process's windows that a screen reader would be told of, while it lives.
class CWinEventRecorder {
public:
    CWinEventRecorder()
    {
        s_pEvents = &m_vecEvents;
        m_hHook = ::SetWinEventHook(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_DESCRIPTIONCHANGE, nullptr,
                                    &Record, ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    }
    ~CWinEventRecorder()
    {
        ::UnhookWinEvent(m_hHook);
        s_pEvents = nullptr;
    }
    CWinEventRecorder(const CWinEventRecorder&) = delete;
    CWinEventRecorder& operator=(const CWinEventRecorder&) = delete;

    bool Hooked() const { return m_hHook != nullptr; }
    size_t Count(DWORD dwEvent, HWND hWnd) const
    {
        size_t n = 0;
        for (const auto& [dwSeen, hSeen] : m_vecEvents)
            n += dwSeen == dwEvent && hSeen == hWnd;
        return n;
    }
    void Clear() { m_vecEvents.clear(); }

private:
    static void CALLBACK Record(HWINEVENTHOOK, DWORD dwEvent, HWND hWnd, LONG idObject, LONG idChild, DWORD,
                                DWORD)
    {
        if (s_pEvents && idObject == OBJID_CLIENT && idChild == CHILDID_SELF)
            s_pEvents->emplace_back(dwEvent, hWnd);
    }

    static inline std::vector<std::pair<DWORD, HWND>>* s_pEvents = nullptr;
    std::vector<std::pair<DWORD, HWND>> m_vecEvents;
    HWINEVENTHOOK m_hHook = nullptr;
};

class BarAccessibilityTest : public BarTest {
protected:
    CBarDlg& StartNotedBar() { return StartBar(std::make_unique<CNotedBar>(m_copies, m_log)); }

    SNotesLog m_log;
};

} // namespace

TEST_F(BarAccessibilityTest, TheSliderIsNamedAndBothControlsNameTheLineTheyDrive)
{
    UseCards(kMutesEverywhereCard);
    CWinEventRecorder events;
    ASSERT_TRUE(events.Hooked());
    CBarDlg& bar = StartNotedBar();
    const HWND hSlider = bar.m_sliderVolume.m_hWnd;
    const HWND hMute = bar.m_btnMute.m_hWnd;
    EXPECT_EQ(L"Volume", m_log.mapNames[hSlider]);
    EXPECT_EQ(1u, m_log.mapNames.size()) << "the buttons' window texts name them";

    // The master line has the tooltips' bare texts; a source line puts its name in front, and
    // a reader watching either control hears of it, but not of the same texts again.
    const struct {
        UINT nCommand;
        const wchar_t* pszSlider;
        const wchar_t* pszMute;
        size_t nEvents;
    } lines[] = {
        {ID_MASTER_VOLUME, L"Volume (Lo...Hi)", L"Mute (M)", 0},
        {ID_CONTROL2, L"Wave Volume (Lo...Hi)", L"Wave Mute (M)", 1},
        {ID_MASTER_VOLUME, L"Volume (Lo...Hi)", L"Mute (M)", 1},
        {ID_MASTER_VOLUME, L"Volume (Lo...Hi)", L"Mute (M)", 0},
    };
    for (const auto& line : lines) {
        events.Clear();
        ::SendMessageA(bar.m_hWnd, WM_COMMAND, line.nCommand, 0);
        Pump();
        EXPECT_EQ(line.pszSlider, m_log.mapDescriptions[hSlider]);
        EXPECT_EQ(line.pszMute, m_log.mapDescriptions[hMute]);
        EXPECT_EQ(line.nEvents, events.Count(EVENT_OBJECT_DESCRIPTIONCHANGE, hSlider)) << line.nCommand;
        EXPECT_EQ(line.nEvents, events.Count(EVENT_OBJECT_DESCRIPTIONCHANGE, hMute)) << line.nCommand;
    }
}

TEST_F(BarAccessibilityTest, TheMuteButtonIsPressedWhileMutedAndEveryFlipIsAnnounced)
{
    UseCards(kMutesEverywhereCard);
    CWinEventRecorder events;
    ASSERT_TRUE(events.Hooked());
    CBarDlg& bar = StartNotedBar();
    const HWND hMute = bar.m_btnMute.m_hWnd;
    ASSERT_EQ(std::vector<bool>{false}, m_log.vecPressed) << "not muted at the start, and no event for it";
    EXPECT_EQ(0u, events.Count(EVENT_OBJECT_STATECHANGE, hMute));

    // The bar's own toggle, another program's change, and a change elsewhere on the card that
    // leaves the mute as it is.
    const struct {
        const char* pszWhat;
        std::function<void()> change;
        std::vector<bool> vecPressed;
        size_t nEvents;
    } steps[] = {
        {"the bar mutes", [this] { ClickMute(); }, {false, true}, 1},
        {"another program unmutes", [] { sim::SetValues(0, kSpeakersMute, {0}); }, {false, true, false}, 2},
        {"another program moves the volume",
         [] {
             sim::SetValues(0, 1, {0x1000, 0x1000});
         },
         {false, true, false},
         2},
        {"another program mutes",
         [] { sim::SetValues(0, kSpeakersMute, {1}); },
         {false, true, false, true},
         3},
    };
    for (const auto& step : steps) {
        step.change();
        Pump();
        EXPECT_EQ(step.vecPressed, m_log.vecPressed) << step.pszWhat;
        EXPECT_EQ(step.nEvents, events.Count(EVENT_OBJECT_STATECHANGE, hMute)) << step.pszWhat;
    }
}
