// Every text that the program's dialogs show fits its control in the font the dialog gives it,
// and the about box names the version the program is built as.
#include "draw/AboutBox.h"
#include "fw/ScopedHandles.h"
#include "res/resource.h"
#include "res/version.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string WindowText(HWND hWnd)
{
    std::string strText(static_cast<size_t>(::GetWindowTextLengthA(hWnd)) + 1, '\0');
    strText.resize(
        static_cast<size_t>(::GetWindowTextA(hWnd, strText.data(), static_cast<int>(strText.size()))));
    return strText;
}

// The lines as drawn: split at line breaks, and "&x" shown as x unless prefixes are off.
std::vector<std::string> ShownLines(const std::string& strText, bool bPrefixes)
{
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < strText.size(); ++i) {
        if (strText[i] == '\n')
            lines.emplace_back();
        else if (strText[i] == '&' && bPrefixes && i + 1 < strText.size())
            lines.back() += strText[++i];
        else if (strText[i] != '\r')
            lines.back() += strText[i];
    }
    return lines;
}

// The room a control gives its text, or nothing for a control that shows no text of its own
// (icons, owner-drawn buttons, trackbars).
bool TextRoom(HWND hControl, SIZE& room, bool& bPrefixes)
{
    char szClass[32] = {};
    ::GetClassNameA(hControl, szClass, sizeof szClass);
    const LONG style = ::GetWindowLongA(hControl, GWL_STYLE);
    RECT rc{};
    ::GetClientRect(hControl, &rc);
    room = {rc.right, rc.bottom};
    if (lstrcmpiA(szClass, "Static") == 0) {
        switch (style & SS_TYPEMASK) {
        case SS_LEFT:
        case SS_CENTER:
        case SS_RIGHT:
        case SS_SIMPLE:
        case SS_LEFTNOWORDWRAP:
            bPrefixes = (style & SS_NOPREFIX) == 0;
            return true;
        default:
            return false;
        }
    }
    if (lstrcmpiA(szClass, "Button") == 0 && (style & BS_TYPEMASK) != BS_OWNERDRAW) {
        // A push button draws its text inside its 3-D edge.
        room.cx -= 2 * ::GetSystemMetrics(SM_CXEDGE);
        room.cy -= 2 * ::GetSystemMetrics(SM_CYEDGE);
        bPrefixes = true;
        return true;
    }
    return false;
}

// Measures every text of a dialog's controls; returns how many controls showed text.
int ExpectEveryTextFits(HWND hDialog, const char* pszDialog)
{
    int nTexts = 0;
    for (HWND hControl = ::GetWindow(hDialog, GW_CHILD); hControl != nullptr;
         hControl = ::GetWindow(hControl, GW_HWNDNEXT)) {
        SIZE room{};
        bool bPrefixes = true;
        if (!TextRoom(hControl, room, bPrefixes))
            continue;
        ++nTexts;
        const CWindowDC dc(hControl);
        const CSelectObject font(dc.Get(),
                                 reinterpret_cast<HGDIOBJ>(::SendMessageA(hControl, WM_GETFONT, 0, 0)));
        TEXTMETRICA tm{};
        ::GetTextMetricsA(dc.Get(), &tm);
        const auto lines = ShownLines(WindowText(hControl), bPrefixes);
        for (const std::string& strLine : lines) {
            SIZE size{};
            ::GetTextExtentPoint32A(dc.Get(), strLine.c_str(), static_cast<int>(strLine.size()), &size);
            EXPECT_LE(size.cx, room.cx) << pszDialog << ": \"" << strLine << "\" is cut";
        }
        EXPECT_LE(static_cast<LONG>(lines.size()) * tm.tmHeight, room.cy)
            << pszDialog << ": " << lines.size() << " lines of \"" << WindowText(hControl) << "\"";
    }
    return nTexts;
}

TEST(DialogTextTest, EveryTextOfTheDialogsFitsItsControl)
{
    const struct {
        const char* pszDialog;
        UINT nIDTemplate;
        std::function<std::unique_ptr<CDialog>()> make;
        int nTexts;
    } cases[] = {
        // The version lines and the OK button.
        {"about box", IDD_ABOUTBOX, [] { return std::make_unique<CAboutBox>(); }, 2},
        // Owner-drawn buttons and the trackbar only: nothing to cut. The template alone, without
        // the bar's mixer and settings.
        {"bar", IDD_BAR, [] { return std::make_unique<CDialog>(IDD_BAR); }, 0},
    };
    for (const auto& c : cases) {
        const auto pDialog = c.make();
        ASSERT_TRUE(pDialog->Create(c.nIDTemplate)) << c.pszDialog;
        EXPECT_EQ(ExpectEveryTextFits(pDialog->m_hWnd, c.pszDialog), c.nTexts) << c.pszDialog;
        pDialog->DestroyWindow();
    }
}

TEST(DialogTextTest, TheAboutBoxNamesTheVersionTheProgramIsBuiltAs)
{
    CAboutBox about;
    ASSERT_TRUE(about.Create(IDD_ABOUTBOX));
    std::string strVersion;
    for (HWND hControl = ::GetWindow(about.m_hWnd, GW_CHILD); hControl != nullptr && strVersion.empty();
         hControl = ::GetWindow(hControl, GW_HWNDNEXT))
        if (WindowText(hControl).starts_with("Sonobar Version "))
            strVersion = ShownLines(WindowText(hControl), false).front();
    about.DestroyWindow();
    EXPECT_EQ(strVersion, "Sonobar Version " + std::to_string(SONOBAR_VERSION_MAJOR) + "." +
                              std::to_string(SONOBAR_VERSION_MINOR));
}

} // namespace
