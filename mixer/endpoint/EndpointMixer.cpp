#include "mixer/endpoint/EndpointMixer.h"

#include "mixer/endpoint/CallbackKeeper.h"
#include "mixer/endpoint/EndpointDevices.h"
#include "mixer/endpoint/EndpointMixerCard.h"
#include "mixer/endpoint/HandleRegistry.h"

#include <set>

namespace {

std::set<std::wstring> EndpointIds(const CEndpointCards& cards)
{
    std::set<std::wstring> ids;
    for (const auto& pCard : cards)
        for (const SEndpointLine& line : pCard->lines)
            ids.insert(line.strEndpointId);
    return ids;
}

} // namespace

CEndpointMixer::CEndpointMixer(CComPtr<IMMDeviceEnumerator> pEnumerator)
    : m_pEnumerator(std::move(pEnumerator)), m_pRegistry(std::make_shared<CHandleRegistry>())
{
    ::CoCreateGuid(&m_guidOwnWrites);
    CCallbackKeeper::Process();
    m_pDeviceClient =
        MakeComObject<CDeviceChangeClient>(m_pEnumerator, [pRegistry = std::weak_ptr(m_pRegistry)] {
            if (const auto pLocked = pRegistry.lock()) {
                pLocked->MarkCardsStale();
                pLocked->PostDeviceChange();
            }
        });
    // Windows holds no reference to the client: the one here keeps it until it is unregistered.
    // Unregistered, it still hears of the cards' endpoints failing (EndpointMixerCard.h).
    m_bListening = SUCCEEDED(m_pEnumerator->RegisterEndpointNotificationCallback(m_pDeviceClient.Get()));
}

CEndpointMixer::~CEndpointMixer()
{
    if (m_bListening)
        m_pEnumerator->UnregisterEndpointNotificationCallback(m_pDeviceClient.Get());
    CCallbackKeeper::Process().Keep(std::move(m_pDeviceClient));
}

void CEndpointMixer::Attach(std::weak_ptr<CHandleTable> pHandles)
{
    m_pRegistry->Attach(std::move(pHandles));
}

const CModelCards& CEndpointMixer::Cards()
{
    const CCriticalSectionLock lock(m_cardsMutex);
    // Taken before the read, so that a change during the read calls for another one.
    const bool bStale = m_pRegistry->TakeCardsStale();
    if (!m_bCardsRead || bStale) {
        m_pDeviceClient->ReadingCards();
        const CEndpointCards cards = ReadEndpointCards(m_pEnumerator.Get());
        m_pDeviceClient->CardsRead(EndpointIds(cards));
        m_cards = CModelCards(cards.size());
        for (size_t i = 0; i < cards.size(); ++i)
            m_cards[i] = std::make_shared<CEndpointMixerCard>(
                cards[i], std::weak_ptr<const CHandleRegistry>(m_pRegistry), m_pDeviceClient,
                m_guidOwnWrites);
        m_bCardsRead = true;
    }
    return m_cards;
}
