// The user's screen settings that Wine reads when a program starts, changed for the copies that
// a test starts while the object lives, and put back as they were after.
//
//   const CDisplayDpi dpi(144);           // HKCU\Control Panel\Desktop LogPixels
//   const CHighContrastBlack contrast;    // HKCU\Control Panel\Colors, Windows' black scheme
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// Values of one key of HKEY_CURRENT_USER, each restored (or deleted, when it was not there) when
// the object goes.
class CUserValues {
public:
    explicit CUserValues(const char* pszKey);
    ~CUserValues();
    CUserValues(const CUserValues&) = delete;
    CUserValues& operator=(const CUserValues&) = delete;

    void Set(const char* pszName, DWORD dwType, const void* pData, DWORD cbData);

private:
    struct SOldValue {
        std::string strName;
        bool bExisted;
        DWORD dwType;
        std::vector<BYTE> data;
    };
    HKEY m_hKey = nullptr;
    std::vector<SOldValue> m_vecOld;
};

// The display's DPI.
class CDisplayDpi {
public:
    explicit CDisplayDpi(DWORD dwDpi);

private:
    CUserValues m_values;
};

// The colours of Windows' "High Contrast Black" scheme: white text and frames on black.
class CHighContrastBlack {
public:
    CHighContrastBlack();

private:
    CUserValues m_values;
};
