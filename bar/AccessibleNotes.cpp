#include "bar/AccessibleNotes.h"

// The annotation service's class, interfaces and property ids are defined here, the one user.
#include <initguid.h>

#include <oleacc.h>

#include <map>
#include <utility>
#include <vector>

namespace {

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
class CPressedStateServer final : public IAccPropServer {
public:
    explicit CPressedStateServer(HWND hWnd) : m_hWnd(hWnd) {}
    CPressedStateServer(const CPressedStateServer&) = delete;
    CPressedStateServer& operator=(const CPressedStateServer&) = delete;

    void SetPressed(bool bPressed) { m_bPressed = bPressed; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid != IID_IUnknown && riid != IID_IAccPropServer) {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        *ppv = static_cast<IAccPropServer*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_nRefs)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG nRefs = ::InterlockedDecrement(&m_nRefs);
        if (nRefs == 0)
            delete this;
        return static_cast<ULONG>(nRefs);
    }

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
    ~CPressedStateServer() = default;

    const HWND m_hWnd;
    bool m_bPressed = false;
    LONG m_nRefs = 1;
};

class CSystemAccessibleNotes : public IAccessibleNotes {
public:
    // Takes over one reference to the service and one successful CoInitializeEx.
    explicit CSystemAccessibleNotes(IAccPropServices* pServices) : m_pServices(pServices) {}
    ~CSystemAccessibleNotes() override
    {
        // The notes stay with a window until they are cleared, and the state servers with them.
        static const MSAAPROPID kProps[] = {PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION, PROPID_ACC_STATE};
        for (const HWND hWnd : m_vecAnnotated)
            m_pServices->ClearHwndProps(hWnd, OBJID_CLIENT, CHILDID_SELF, kProps, ARRAYSIZE(kProps));
        for (auto& [hWnd, pServer] : m_mapStateServers)
            pServer->Release();
        m_pServices->Release();
        ::CoUninitialize();
    }
    CSystemAccessibleNotes(const CSystemAccessibleNotes&) = delete;
    CSystemAccessibleNotes& operator=(const CSystemAccessibleNotes&) = delete;

    void SetName(HWND hWnd, const std::wstring& wstrName) override
    {
        SetText(hWnd, PROPID_ACC_NAME, wstrName);
    }
    void SetDescription(HWND hWnd, const std::wstring& wstrDescription) override
    {
        SetText(hWnd, PROPID_ACC_DESCRIPTION, wstrDescription);
    }
    void SetPressed(HWND hWnd, bool bPressed) override
    {
        auto it = m_mapStateServers.find(hWnd);
        if (it == m_mapStateServers.end()) {
            auto* pServer = new CPressedStateServer(hWnd);
            const MSAAPROPID idState = PROPID_ACC_STATE;
            m_pServices->SetHwndPropServer(hWnd, OBJID_CLIENT, CHILDID_SELF, &idState, 1, pServer, ANNO_THIS);
            Remember(hWnd);
            it = m_mapStateServers.emplace(hWnd, pServer).first;
        }
        it->second->SetPressed(bPressed);
    }

private:
    void SetText(HWND hWnd, const MSAAPROPID& idProp, const std::wstring& wstrText)
    {
        m_pServices->SetHwndPropStr(hWnd, OBJID_CLIENT, CHILDID_SELF, idProp, wstrText.c_str());
        Remember(hWnd);
    }
    void Remember(HWND hWnd)
    {
        for (const HWND hKnown : m_vecAnnotated)
            if (hKnown == hWnd)
                return;
        m_vecAnnotated.push_back(hWnd);
    }

    IAccPropServices* const m_pServices;
    std::vector<HWND> m_vecAnnotated;
    std::map<HWND, CPressedStateServer*> m_mapStateServers;
};

} // namespace

std::unique_ptr<IAccessibleNotes> CreateSystemAccessibleNotes()
{
    // The bar's thread is a single-threaded apartment, as user-interface threads are; a mixer
    // that made it one already makes this call answer S_FALSE, which counts all the same.
    if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return nullptr;
    IAccPropServices* pServices = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                  reinterpret_cast<void**>(&pServices)))) {
        ::CoUninitialize();
        return nullptr;
    }
    return std::make_unique<CSystemAccessibleNotes>(pServices);
}
