#include "mixer/endpoint/DeviceChangeClient.h"

#include "mixer/endpoint/ChangeHandover.h"

#include <utility>

namespace {

// Windows tells no client that a stopped audio service runs again: while it is stopped, the
// endpoints are looked at every few seconds, as a notification would have them looked at. A bar
// without a card stands meanwhile, and a listing that fails costs nothing.
constexpr UINT kServiceCheckMs = 2000;

} // namespace

CDeviceChangeClient::CDeviceChangeClient(CComPtr<IMMDeviceEnumerator> pEnumerator, HWND hWndHandover,
                                         std::function<void()> cardsChanged)
    : m_pEnumerator(std::move(pEnumerator)), m_hWndHandover(hWndHandover),
      m_cardsChanged(std::move(cardsChanged))
{
}

void CDeviceChangeClient::ReadingCards()
{
    m_bReported = false;
    m_stateRead = ReadEndpointState(m_pEnumerator.Get());
    WaitForService(m_stateRead.bServiceStopped);
}

void CDeviceChangeClient::CheckEndpoints()
{
    // Cleared first: a notification from now on is looked at again.
    m_bHandedOver = false;
    if (!m_bReported && ReadEndpointState(m_pEnumerator.Get()) != m_stateRead)
        CardsChanged();
}

void CDeviceChangeClient::DeviceFailed()
{
    CardsChanged();
}

HRESULT STDMETHODCALLTYPE CDeviceChangeClient::OnDefaultDeviceChanged(EDataFlow, ERole role, LPCWSTR)
{
    // Windows reports a new default once per role; card 0 follows the console role only.
    return role == eConsole ? HandOver() : S_OK;
}

HRESULT STDMETHODCALLTYPE CDeviceChangeClient::OnPropertyValueChanged(LPCWSTR, const PROPERTYKEY key)
{
    // A new format (the user's speaker configuration) brings the volume a new channel count, so
    // the card is another one. Windows reports many other properties, which change no card.
    return IsEqualPropertyKey(key, kDeviceFormatKey) ? HandOver() : S_OK;
}

HRESULT CDeviceChangeClient::HandOver()
{
    // The client outlives the handover's deliveries: the mixer ends the handover after it.
    if (!m_bHandedOver.exchange(true))
        CChangeHandover::HandOver(m_hWndHandover, [this] { CheckEndpoints(); });
    return S_OK;
}

void CDeviceChangeClient::CardsChanged()
{
    WaitForService(false);
    if (!std::exchange(m_bReported, true))
        m_cardsChanged();
}

void CDeviceChangeClient::WaitForService(bool bWait)
{
    // The handover's window owns the timer, so that it goes with the window; as with the
    // handover's deliveries, the client outlives it.
    if (m_hWndHandover == nullptr)
        return;
    const auto idTimer = reinterpret_cast<UINT_PTR>(this);
    if (bWait)
        ::SetTimer(m_hWndHandover, idTimer, kServiceCheckMs, &LookAgain);
    else
        ::KillTimer(m_hWndHandover, idTimer);
}

void CALLBACK CDeviceChangeClient::LookAgain(HWND, UINT, UINT_PTR idEvent, DWORD)
{
    reinterpret_cast<CDeviceChangeClient*>(idEvent)->CheckEndpoints();
}
