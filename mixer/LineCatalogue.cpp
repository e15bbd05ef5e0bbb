#include "mixer/LineCatalogue.h"

#include "mixer/MixerHandle.h"
#include "mixer/ProgramLines.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace {
// A null mixer object with no object flag names mixer device 0.
const HMIXEROBJ kDevice0 = nullptr;
constexpr DWORD kFirstSourceType = MIXERLINE_COMPONENTTYPE_SRC_FIRST;
constexpr DWORD kLastSourceType = MIXERLINE_COMPONENTTYPE_SRC_ANALOG;
} // namespace

CLineCatalogue::CLineCatalogue()
{
    for (DWORD dwType = kFirstSourceType; dwType <= kLastSourceType; ++dwType) {
        MIXERLINEA line = EmptyMixerLine();
        line.dwComponentType = dwType;
        if (mixerGetLineInfoA(kDevice0, &line, MIXER_GETLINEINFOF_COMPONENTTYPE) != MMSYSERR_NOERROR ||
            IsProgramLine(line))
            continue;
        const std::string strId = std::to_string(static_cast<unsigned long>(line.dwLineID));
        m_vecEntries.insert(std::upper_bound(m_vecEntries.begin(), m_vecEntries.end(), strId), strId);
    }
}

UINT CLineCatalogue::GetSpeakerSourceCount() const
{
    MIXERLINEA line = EmptyMixerLine();
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    if (mixerGetLineInfoA(kDevice0, &line, MIXER_GETLINEINFOF_COMPONENTTYPE) != MMSYSERR_NOERROR)
        return 0;
    // Programs' lines are no numbered lines.
    UINT cSources = 0;
    for (DWORD dwSource = 0; dwSource < line.cConnections; ++dwSource) {
        MIXERLINEA source = EmptyMixerLine();
        source.dwDestination = line.dwDestination;
        source.dwSource = dwSource;
        if (mixerGetLineInfoA(kDevice0, &source, MIXER_GETLINEINFOF_SOURCE) != MMSYSERR_NOERROR ||
            !IsProgramLine(source))
            ++cSources;
    }
    return cSources;
}

BOOL CLineCatalogue::LookUp(int nIndex, MIXERLINEA& line) const
{
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= m_vecEntries.size())
        return FALSE;
    line = EmptyMixerLine();
    line.dwLineID = ParseLineId(m_vecEntries[nIndex]);
    return mixerGetLineInfoA(kDevice0, &line, MIXER_GETLINEINFOF_LINEID) == MMSYSERR_NOERROR;
}

BOOL CLineCatalogue::GetLineName(int nIndex, std::string& strName) const
{
    MIXERLINEA line;
    if (!LookUp(nIndex, line))
        return FALSE;
    strName = line.szName;
    return TRUE;
}

DWORD CLineCatalogue::GetComponentType(int nIndex) const
{
    MIXERLINEA line;
    return LookUp(nIndex, line) ? line.dwComponentType : 0;
}

DWORD ParseLineId(const std::string& strText)
{
    auto it = strText.begin();
    while (it != strText.end() && std::isspace(static_cast<unsigned char>(*it)))
        ++it;
    bool bNegative = false;
    if (it != strText.end() && (*it == '+' || *it == '-'))
        bNegative = *it++ == '-';
    // Unsigned arithmetic wraps modulo 2^32, which is the conversion wanted.
    DWORD dwValue = 0;
    for (; it != strText.end() && std::isdigit(static_cast<unsigned char>(*it)); ++it)
        dwValue = dwValue * 10 + static_cast<DWORD>(*it - '0');
    return bNegative ? 0u - dwValue : dwValue;
}
