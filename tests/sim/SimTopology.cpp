// Reads the topology text described in SimMixer.h.
#include "sim/SimInternal.h"

#include "fw/AnsiText.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string_view>

namespace sim {
namespace {
bool ParseNumber(const std::string& strWord, DWORD& dwValue)
{
    // strtoul would take "-1" as 0xFFFFFFFF and clamp a number too large for 32 bits to it.
    if (strWord.empty() || !std::isdigit(static_cast<unsigned char>(strWord[0])))
        return false;
    char* pEnd = nullptr;
    errno = 0;
    const unsigned long long nValue = std::strtoull(strWord.c_str(), &pEnd, 0);
    if (*pEnd != '\0' || errno == ERANGE || nValue > 0xFFFFFFFFull)
        return false;
    dwValue = static_cast<DWORD>(nValue);
    return true;
}

bool ParseControlType(const std::string& strWord, DWORD& dwType)
{
    static const std::map<std::string, DWORD> kNames = {
        {"volume", MIXERCONTROL_CONTROLTYPE_VOLUME},
        {"mute", MIXERCONTROL_CONTROLTYPE_MUTE},
        {"mixer", MIXERCONTROL_CONTROLTYPE_MIXER},
        {"mux", MIXERCONTROL_CONTROLTYPE_MUX},
    };
    const auto it = kNames.find(strWord);
    if (it == kNames.end())
        return ParseNumber(strWord, dwType);
    dwType = it->second;
    return true;
}

std::string RestOfLine(std::istringstream& words)
{
    std::string strRest;
    std::getline(words >> std::ws, strRest);
    return strRest.substr(0, strRest.find_last_not_of(" \t\r") + 1);
}

bool Fail(std::string* pstrError, const std::string& strError)
{
    if (pstrError != nullptr)
        *pstrError = strError;
    return false;
}

// Fills the cards line by line; returns an error text, empty on success.
class CTopologyReader {
public:
    std::string ReadLine(const std::string& strLine)
    {
        std::istringstream words(strLine.substr(0, strLine.find('#')));
        std::string strKind;
        if (!(words >> strKind))
            return {};
        if (strKind == "card") {
            m_cards.push_back({ToWide(RestOfLine(words)), {}});
            m_pLine = nullptr;
            return {};
        }
        if (m_cards.empty())
            return strKind + " before any card";
        if (strKind == "dest" || strKind == "source")
            return ReadLineItem(strKind == "source", words);
        if (strKind == "app")
            return ReadApplication(words);
        if (strKind == "control")
            return ReadControl(words);
        return "unknown item '" + strKind + "'";
    }

    std::vector<Card> m_cards;

private:
    std::string ReadLineItem(bool bSource, std::istringstream& words)
    {
        std::string strId, strType, strChannels;
        Line line;
        if (!(words >> strId >> strType >> strChannels) || !ParseNumber(strId, line.dwLineID) ||
            !ParseNumber(strType, line.dwComponentType) || !ParseNumber(strChannels, line.cChannels))
            return "expected <lineId> <componentType> <channels> <name>";
        if (const std::string strError = CountError(line); !strError.empty())
            return strError;
        line.strName = ToWide(RestOfLine(words));
        auto& destinations = m_cards.back().destinations;
        if (!bSource) {
            destinations.push_back({std::move(line), {}});
            m_pLine = &destinations.back().line;
            return {};
        }
        if (destinations.empty())
            return "source before any dest";
        destinations.back().sources.push_back(std::move(line));
        m_pLine = &destinations.back().sources.back();
        return {};
    }

    // A program's own line, as the endpoint model gives one: a mono wave source of the last
    // destination with the application mark and the program's identity.
    std::string ReadApplication(std::istringstream& words)
    {
        std::string strId, strIdentity;
        Line line;
        if (!(words >> strId >> strIdentity) || !ParseNumber(strId, line.dwLineID) ||
            !ParseNumber(strIdentity, line.dwIdentity) || line.dwIdentity == 0)
            return "expected <lineId> <identity other than 0> <name>";
        auto& destinations = m_cards.back().destinations;
        if (destinations.empty())
            return "app before any dest";
        line.dwComponentType = MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT;
        line.cChannels = 1;
        line.dwUser = kApplicationLine;
        line.strName = ToWide(RestOfLine(words));
        destinations.back().sources.push_back(std::move(line));
        m_pLine = &destinations.back().sources.back();
        return {};
    }

    std::string ReadControl(std::istringstream& words)
    {
        if (m_pLine == nullptr)
            return "control before any dest or source";
        std::string strId, strType, strMax, strSteps, strItems;
        Control control;
        if (!(words >> strId >> strType >> strMax >> strSteps >> strItems) ||
            !ParseNumber(strId, control.dwControlID) || !ParseControlType(strType, control.dwControlType) ||
            !ParseNumber(strMax, control.dwMaximum) || !ParseNumber(strSteps, control.cSteps) ||
            !ParseNumber(strItems, control.cMultipleItems))
            return "expected <controlId> <type> <maximum> <steps> <items> [<value>...]";
        if (const std::string strError = CountError(control); !strError.empty())
            return strError;
        for (std::string strValue; words >> strValue;) {
            DWORD dwValue = 0;
            if (!ParseNumber(strValue, dwValue))
                return "bad value '" + strValue + "'";
            control.values.push_back(dwValue);
        }
        m_pLine->controls.push_back(std::move(control));
        return {};
    }

    // The line that takes the next control: always the newest line, so no later growth of
    // the vectors can leave it dangling.
    Line* m_pLine = nullptr;
};
} // namespace

bool LoadCardsText(const std::string& strText, std::string* pstrError)
{
    constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
    CTopologyReader reader;
    std::istringstream lines(strText.starts_with(kUtf8Mark) ? strText.substr(kUtf8Mark.size()) : strText);
    int nLine = 0;
    for (std::string strLine; std::getline(lines, strLine);) {
        ++nLine;
        // Refused by name, so that the reason logged is whole.
        if (strLine.find('\0') != std::string::npos)
            return Fail(pstrError, "line " + std::to_string(nLine) + ": a NUL byte");
        const std::string strError = reader.ReadLine(strLine);
        if (!strError.empty())
            return Fail(pstrError, "line " + std::to_string(nLine) + ": " + strError);
    }
    return AddCards(std::move(reader.m_cards), pstrError);
}

bool LoadCardsFile(const std::string& strPath, std::string* pstrError)
{
    std::ifstream file(strPath, std::ios::binary);
    if (!file)
        return Fail(pstrError, "cannot read " + strPath);
    // One byte past the limit tells a file that is too large from one that just fits.
    std::string strText(kMaxTopologyBytes + 1, '\0');
    file.read(strText.data(), static_cast<std::streamsize>(strText.size()));
    if (file.bad())
        return Fail(pstrError, "cannot read " + strPath);
    if (static_cast<size_t>(file.gcount()) > kMaxTopologyBytes)
        return Fail(pstrError, strPath + " is larger than " + std::to_string(kMaxTopologyBytes) + " bytes");
    strText.resize(static_cast<size_t>(file.gcount()));
    return LoadCardsText(strText, pstrError);
}
} // namespace sim
