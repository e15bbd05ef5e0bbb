#include "mixer/endpoint/EndpointMixer.h"

#include "mixer/endpoint/ChangeHandover.h"
#include "mixer/endpoint/EndpointDevices.h"
#include "mixer/endpoint/EndpointMixerCard.h"
#include "mixer/endpoint/MultithreadedApartment.h"

CEndpointMixer::CEndpointMixer(CComPtr<IMMDeviceEnumerator> pEnumerator)
    : m_pEnumerator(std::move(pEnumerator)), m_pApartment(std::make_shared<CMultithreadedApartment>()),
      m_pHandover(std::make_shared<CChangeHandover>())
{
    m_pDeviceClient = MakeComObject<CDeviceChangeClient>(m_pEnumerator, m_pHandover->Window(), [this] {
        m_bCardsStale = true;
        if (const auto pEvents = m_pEvents.lock())
            pEvents->CardsChanged();
    });
    // Windows holds no reference to the client: the one here keeps it until it is unregistered.
    // Unregistered, it still hears of the cards' endpoints failing (EndpointMixerCard.h).
    m_bListening = SUCCEEDED(m_pEnumerator->RegisterEndpointNotificationCallback(m_pDeviceClient.Get()));
}

CEndpointMixer::~CEndpointMixer()
{
    if (m_bListening)
        m_pEnumerator->UnregisterEndpointNotificationCallback(m_pDeviceClient.Get());
    // The members go in reverse order: the cards, the client, then the handover with the
    // callbacks it kept, and the enumerator last; all of them before the COM apartment ends.
}

void CEndpointMixer::Attach(std::weak_ptr<ICardEvents> pEvents, const GUID& guidWrites)
{
    m_pEvents = std::move(pEvents);
    m_guidWrites = guidWrites;
}

const CModelCards& CEndpointMixer::Cards()
{
    if (!m_bCardsRead || m_bCardsStale) {
        // Before the read, so that a change during the read calls for another one.
        m_bCardsStale = false;
        m_pDeviceClient->ReadingCards();
        const CEndpointCards cards = ReadEndpointCards(m_pEnumerator.Get());
        m_cards = CModelCards(cards.size());
        for (size_t i = 0; i < cards.size(); ++i)
            m_cards[i] = std::make_shared<CEndpointMixerCard>(cards[i], m_pHandover, m_pEvents,
                                                              m_pDeviceClient, m_guidWrites, m_pApartment);
        m_bCardsRead = true;
    }
    return m_cards;
}
