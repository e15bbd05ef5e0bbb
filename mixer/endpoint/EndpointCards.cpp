#include "mixer/endpoint/EndpointCards.h"

#include "fw/AnsiText.h"

#include <windows.h>

#include <algorithm>

namespace {

// MIXERCAPSA::szPname has room for 31 characters and the terminator.
constexpr size_t kMaxCardName = 31;

std::optional<size_t> FindById(const std::vector<SEndpointInfo>& endpoints, const std::wstring& strId)
{
    const auto it = std::find_if(endpoints.begin(), endpoints.end(),
                                 [&](const SEndpointInfo& e) { return !strId.empty() && e.strId == strId; });
    if (it == endpoints.end())
        return std::nullopt;
    return static_cast<size_t>(it - endpoints.begin());
}

size_t CountRenders(const std::vector<SEndpointInfo>& renders, const std::wstring& strContainer,
                    const std::wstring* pstrAdapter)
{
    return static_cast<size_t>(std::count_if(renders.begin(), renders.end(), [&](const SEndpointInfo& e) {
        return e.strContainer == strContainer && (pstrAdapter == nullptr || e.strAdapter == *pstrAdapter);
    }));
}

// Whether a capture endpoint belongs to the same device as a render endpoint (EndpointCards.h).
bool SameDevice(const SEndpointInfo& render, const SEndpointInfo& capture,
                const std::vector<SEndpointInfo>& renders)
{
    const bool bSameName = !render.strAdapter.empty() && render.strAdapter == capture.strAdapter;
    if (!render.strContainer.empty() && !capture.strContainer.empty()) {
        if (render.strContainer != capture.strContainer)
            return false;
        return CountRenders(renders, render.strContainer, nullptr) == 1 ||
               (bSameName && CountRenders(renders, render.strContainer, &render.strAdapter) == 1);
    }
    return bSameName && std::count_if(renders.begin(), renders.end(), [&](const SEndpointInfo& e) {
                            return e.strAdapter == render.strAdapter;
                        }) == 1;
}

// Whether a capture endpoint may belong to the same device as a render endpoint: the same
// container, or where either has none, the same adapter name.
bool MayShareDevice(const SEndpointInfo& render, const SEndpointInfo& capture)
{
    if (!render.strContainer.empty() && !capture.strContainer.empty())
        return render.strContainer == capture.strContainer;
    return !render.strAdapter.empty() && render.strAdapter == capture.strAdapter;
}

std::optional<size_t> FindSameDevice(const std::vector<SEndpointInfo>& renders, size_t nRender,
                                     const std::vector<SEndpointInfo>& captures)
{
    const auto it = std::find_if(captures.begin(), captures.end(), [&](const SEndpointInfo& capture) {
        return SameDevice(renders[nRender], capture, renders);
    });
    if (it == captures.end())
        return std::nullopt;
    return static_cast<size_t>(it - captures.begin());
}

} // namespace

std::vector<SCardPlan> PlanCards(const std::vector<SEndpointInfo>& renders,
                                 const std::vector<SEndpointInfo>& captures,
                                 const std::wstring& strDefaultRender, const std::wstring& strDefaultCapture)
{
    std::vector<SCardPlan> cards;
    if (!renders.empty()) {
        const size_t nFirst = FindById(renders, strDefaultRender).value_or(0);
        std::optional<size_t> nFirstCapture = FindById(captures, strDefaultCapture);
        if (!nFirstCapture)
            nFirstCapture = FindSameDevice(renders, nFirst, captures);
        cards.push_back({nFirst, nFirstCapture});
        for (size_t i = 0; i < renders.size(); ++i)
            if (i != nFirst)
                cards.push_back({i, FindSameDevice(renders, i, captures)});
    }

    // A microphone of a device without a render endpoint pairs with no render card (card 0
    // holds it only while it is the default), so it comes on a card of its own.
    for (size_t i = 0; i < captures.size(); ++i)
        if (std::none_of(renders.begin(), renders.end(),
                         [&](const SEndpointInfo& render) { return MayShareDevice(render, captures[i]); }))
            cards.push_back({std::nullopt, i});
    return cards;
}

std::string CardName(const std::wstring& strName)
{
    // Cut before converting: a multi-byte code page may need two bytes for one character, so
    // characters come off the end until the whole ones fit. Half a surrogate pair would come
    // out as '?', so a cut never ends on one.
    std::wstring strCut = strName.substr(0, kMaxCardName);
    const auto cutPair = [&] {
        if (!strCut.empty() && IS_HIGH_SURROGATE(strCut.back()))
            strCut.pop_back();
    };
    cutPair();
    std::string strAnsi = ToAnsi(strCut);
    while (strAnsi.size() > kMaxCardName) {
        strCut.pop_back();
        cutPair();
        strAnsi = ToAnsi(strCut);
    }
    return strAnsi;
}
