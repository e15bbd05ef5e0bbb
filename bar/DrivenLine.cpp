#include "bar/DrivenLine.h"

#include "app/Settings.h"
#include "app/StartupValues.h"
#include "bar/ProgramEntries.h"
#include "fw/AnsiText.h"
#include "mixer/LineCatalogue.h"
#include "mixer/MixerCards.h"
#include "res/resource.h"

namespace {

// Whether the stored program is the one of this bar's card. One stored before programs were
// stored with their card belongs to any.
bool ProgramStoredFor(const SDrivenLine& line)
{
    const std::wstring wstrStoredCard = ReadSettingText(IDS_PROGRAM_CARD);
    return wstrStoredCard.empty() || wstrStoredCard == line.m_wstrCardName;
}

} // namespace

void TakeLine(SDrivenLine& line, int nMenuIndex, DWORD dwComponentType)
{
    line.m_nMenuIndex = nMenuIndex;
    line.m_dwComponentType = dwComponentType;
    line.m_dwProgram = 0;
    line.m_wstrProgramName.clear();
}

void TakeProgram(SDrivenLine& line, DWORD dwIdentity, const std::wstring& wstrName)
{
    line.m_nMenuIndex = kMasterMenuIndex;
    line.m_dwComponentType = MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT;
    line.m_dwProgram = dwIdentity;
    line.m_wstrProgramName = wstrName;
}

SDrivenLine ReadStoredLine(int bInput)
{
    // A role word names the side and the card; otherwise the stored card is read.
    const auto role = GivenRole();
    SDrivenLine line;
    line.m_bInput = role ? role->bInput : bInput;
    const int nCard = role ? role->nCardIndex : ReadSetting(IDS_CARD_INDEX, 0);
    line.m_nCardIndex =
        static_cast<int>(StartCardIndex(static_cast<UINT>(nCard), role.has_value(), CountMixerCards()));
    std::string strCardName;
    GetMixerCardName(static_cast<UINT>(line.m_nCardIndex), strCardName);
    line.m_wstrCardName = ToWide(strCardName);
    const DWORD dwType = static_cast<DWORD>(
        ReadSetting(IDS_COMPONENT_TYPE, static_cast<int>(MasterComponentType(line.m_bInput))));
    // A menu index that names no entry is read as the master line's.
    const int nMenuIndex = ReadSettingInRange(IDS_MENU_INDEX, kMasterMenuIndex, 0, kMasterMenuIndex);
    TakeLine(line, nMenuIndex, StartComponentType(line.m_bInput, dwType, static_cast<UINT>(nMenuIndex)));
    // A program chosen before stays chosen, also while it does not play.
    const DWORD dwProgram = line.m_bInput ? 0 : static_cast<DWORD>(ReadSetting(IDS_PROGRAM, 0));
    if (dwProgram != 0 && ProgramStoredFor(line))
        TakeProgram(line, dwProgram, ReadSettingText(IDS_PROGRAM_NAME));
    return line;
}

void SaveDrivenLine(const SDrivenLine& line)
{
    // A program is stored beside its side's master, which a copy that knows no programs takes.
    WriteSetting(IDS_COMPONENT_TYPE,
                 static_cast<int>(line.m_dwProgram != 0 ? MasterComponentType(line.m_bInput)
                                                        : line.m_dwComponentType));
    WriteSetting(IDS_MENU_INDEX, line.m_nMenuIndex);
    if (line.m_dwProgram != 0 || (!line.m_bInput && ProgramStoredFor(line))) {
        WriteSetting(IDS_PROGRAM, static_cast<int>(line.m_dwProgram));
        WriteSettingText(IDS_PROGRAM_NAME, line.m_wstrProgramName);
        WriteSettingText(IDS_PROGRAM_CARD, line.m_dwProgram != 0 ? line.m_wstrCardName : L"");
    }
    WriteSetting(IDS_CARD_INDEX, line.m_nCardIndex);
}

UINT MarkedLineEntry(const SDrivenLine& line)
{
    if (line.m_dwProgram != 0)
        return 0;
    const UINT nIndex = static_cast<UINT>(line.m_nMenuIndex);
    return nIndex == kMasterMenuIndex ? ID_MASTER_VOLUME : ID_CONTROL2 + nIndex;
}

WORD TrayPicture(const SDrivenLine& line, BOOL bMuted)
{
    const bool bSpeakers =
        line.m_dwComponentType == MIXERLINE_COMPONENTTYPE_DST_SPEAKERS || line.m_dwProgram != 0;
    return bMuted && bSpeakers ? IDI_MUTED : IDI_BAR;
}

std::wstring LineLabel(const SDrivenLine& line, const CLineCatalogue& catalogue)
{
    if (line.m_dwProgram != 0)
        return PlainName(line.m_wstrProgramName) + L" ";
    if (line.m_nMenuIndex == static_cast<int>(kMasterMenuIndex))
        return {};
    std::string strName;
    catalogue.GetLineName(line.m_nMenuIndex, strName);
    return ToWide(strName) + L" ";
}
