#include "app/Settings.h"

#include "fw/ResourceString.h"
#include "fw/WinApp.h"
#include "res/resource.h"

int ReadSetting(UINT nNameID, int nDefault)
{
    const CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return nDefault;
    return pApp->GetProfileInt(LoadResourceString(IDS_SECTION_SETTINGS).c_str(),
                               LoadResourceString(nNameID).c_str(), nDefault);
}

void WriteSetting(UINT nNameID, int nValue)
{
    // A write that fails is dropped: the copy goes on with what it has.
    if (const CWinApp* pApp = AfxGetApp())
        pApp->WriteProfileInt(LoadResourceString(IDS_SECTION_SETTINGS).c_str(),
                              LoadResourceString(nNameID).c_str(), nValue);
}

int ReadSettingInRange(UINT nNameID, int nDefault, int nMin, int nMax)
{
    const int nValue = ReadSetting(nNameID, nDefault);
    return nValue < nMin || nValue > nMax ? nDefault : nValue;
}

std::wstring ReadSettingText(UINT nNameID)
{
    const CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return {};
    return pApp->GetProfileWideString(LoadResourceString(IDS_SECTION_SETTINGS).c_str(),
                                      LoadResourceString(nNameID).c_str());
}

void WriteSettingText(UINT nNameID, const std::wstring& wstrValue)
{
    if (const CWinApp* pApp = AfxGetApp())
        pApp->WriteProfileWideString(LoadResourceString(IDS_SECTION_SETTINGS).c_str(),
                                     LoadResourceString(nNameID).c_str(), wstrValue);
}
