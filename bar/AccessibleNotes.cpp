#include "bar/AccessibleNotes.h"

#include "fw/ComApartment.h"
#include "fw/ComPtr.h"

// The annotation service's class, interfaces and property ids are defined here, the one user.
#include <initguid.h>

#include <oleacc.h>

// The C++ name of the state servers' interface, which oleacc.h leaves out.
__CRT_UUID_DECL(IAccPropServer, 0x76c0dbbb, 0x15e0, 0x4e7b, 0xb6, 0x1b, 0x20, 0xee, 0xea, 0x20, 0x01, 0xe0)

#include <map>
#include <utility>
#include <vector>

namespace {

std::wstring Widen(const std::string& str)
{
    const int cch = ::MultiByteToWideChar(CP_ACP, 0, str.data(), static_cast<int>(str.size()), nullptr, 0);
    std::wstring wstr(static_cast<size_t>(cch), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, str.data(), static_cast<int>(str.size()), wstr.data(), cch);
    return wstr;
}

// The Active Accessibility state (STATE_SYSTEM_ flags) of a pressed push button: what the
// platform's own button object reports, and pressed.
LONG PressedButtonState(bool bVisible, bool bEnabled, bool bFocused)
{
    LONG nState = STATE_SYSTEM_PRESSED | (bEnabled ? STATE_SYSTEM_FOCUSABLE : STATE_SYSTEM_UNAVAILABLE);
    if (!bVisible)
        nState |= STATE_SYSTEM_INVISIBLE;
    if (bFocused)
        nState |= STATE_SYSTEM_FOCUSED;
    return nState;
}

// Answers the state of one button while it is pressed; otherwise the platform's own answer
// stands. A state changes with the focus, so it is asked for each time instead of stored: the
// service calls this object through COM on the bar's thread, where the focus is known.
class CPressedStateServer final : public CComObject<IAccPropServer> {
public:
    explicit CPressedStateServer(HWND hWnd) : m_hWnd(hWnd) {}

    void SetPressed(bool bPressed) { m_bPressed = bPressed; }

    HRESULT STDMETHODCALLTYPE GetPropValue(const BYTE*, DWORD, MSAAPROPID idProp, VARIANT* pvarValue,
                                           BOOL* pfHasProp) override
    {
        pvarValue->vt = VT_EMPTY;
        *pfHasProp = FALSE;
        if (idProp != PROPID_ACC_STATE || !m_bPressed || !::IsWindow(m_hWnd))
            return S_OK;
        pvarValue->vt = VT_I4;
        pvarValue->lVal =
            PressedButtonState(::IsWindowVisible(m_hWnd), ::IsWindowEnabled(m_hWnd), ::GetFocus() == m_hWnd);
        *pfHasProp = TRUE;
        return S_OK;
    }

private:
    const HWND m_hWnd;
    bool m_bPressed = false;
};

class CSystemAccessibleNotes : public IAccessibleNotes {
public:
    CSystemAccessibleNotes()
    {
        if (m_apartment)
            ::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                               m_pServices.PutVoid());
    }
    ~CSystemAccessibleNotes() override
    {
        // The notes stay with a window until they are cleared, and the state servers with them.
        static const MSAAPROPID kProps[] = {PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION, PROPID_ACC_STATE};
        for (const HWND hWnd : m_vecAnnotated)
            m_pServices->ClearHwndProps(hWnd, OBJID_CLIENT, CHILDID_SELF, kProps, ARRAYSIZE(kProps));
    }
    CSystemAccessibleNotes(const CSystemAccessibleNotes&) = delete;
    CSystemAccessibleNotes& operator=(const CSystemAccessibleNotes&) = delete;

    // False where the system lacks the service.
    bool HasService() const { return static_cast<bool>(m_pServices); }

    void SetName(HWND hWnd, const std::string& strName) override { SetText(hWnd, PROPID_ACC_NAME, strName); }
    void SetDescription(HWND hWnd, const std::string& strDescription) override
    {
        SetText(hWnd, PROPID_ACC_DESCRIPTION, strDescription);
    }
    void SetPressed(HWND hWnd, bool bPressed) override
    {
        auto it = m_mapStateServers.find(hWnd);
        if (it == m_mapStateServers.end()) {
            auto pServer = MakeComObject<CPressedStateServer>(hWnd);
            const MSAAPROPID idState = PROPID_ACC_STATE;
            m_pServices->SetHwndPropServer(hWnd, OBJID_CLIENT, CHILDID_SELF, &idState, 1, pServer.Get(),
                                           ANNO_THIS);
            Remember(hWnd);
            it = m_mapStateServers.emplace(hWnd, std::move(pServer)).first;
        }
        it->second->SetPressed(bPressed);
    }

private:
    void SetText(HWND hWnd, const MSAAPROPID& idProp, const std::string& strText)
    {
        m_pServices->SetHwndPropStr(hWnd, OBJID_CLIENT, CHILDID_SELF, idProp, Widen(strText).c_str());
        Remember(hWnd);
    }
    void Remember(HWND hWnd)
    {
        for (const HWND hKnown : m_vecAnnotated)
            if (hKnown == hWnd)
                return;
        m_vecAnnotated.push_back(hWnd);
    }

    // The bar's thread is a single-threaded apartment, as user-interface threads are; a mixer
    // that made it one already makes this one answer S_FALSE, which counts all the same. Declared
    // first, so that COM ends after the service and the state servers are released.
    const CComApartment m_apartment;
    CComPtr<IAccPropServices> m_pServices;
    std::vector<HWND> m_vecAnnotated;
    std::map<HWND, CComPtr<CPressedStateServer>> m_mapStateServers;
};

} // namespace

std::unique_ptr<IAccessibleNotes> CreateSystemAccessibleNotes()
{
    auto pNotes = std::make_unique<CSystemAccessibleNotes>();
    if (!pNotes->HasService())
        return nullptr;
    return pNotes;
}
