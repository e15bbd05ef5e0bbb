// Integer and text settings under HKEY_CURRENT_USER\Software\<company>\<application>\<section>.
//
// Each call opens the key path afresh (creating what is missing, so a read also creates the
// path) and closes it again; nothing is cached, so copies of the program running side by side
// see each other's writes. Numbers are 32-bit REG_DWORDs, texts REG_SZ in the ANSI code page or in Unicode.
#pragma once

#include "fw/ScopedHandles.h"

#include <windows.h>

#include <optional>
#include <string>

class CRegistryProfile {
public:
    CRegistryProfile(std::string strCompany, std::string strApplication);

    // The stored number, or nothing when the path cannot be opened or the value is missing or
    // is not a 4-byte REG_DWORD (a value of another type is never half-read).
    std::optional<DWORD> ReadInt(const char* pszSection, const char* pszEntry) const;
    BOOL WriteInt(const char* pszSection, const char* pszEntry, DWORD dwValue) const;
    // The stored text, or nothing when the value is missing or not a REG_SZ of at most
    // kMaxText characters.
    std::optional<std::string> ReadText(const char* pszSection, const char* pszEntry) const;
    // The same in Unicode, through the wide functions: a text stored in the ANSI code page reads
    // as it did, and one written here keeps every character.
    std::optional<std::wstring> ReadWideText(const char* pszSection, const char* pszEntry) const;
    BOOL WriteWideText(const char* pszSection, const char* pszEntry, const std::wstring& wstrValue) const;
    static constexpr DWORD kMaxText = 260;

private:
    // The section's key for reading; none when it is missing, which is then made.
    CScopedRegKey OpenForReading(const char* pszSection) const;
    // The section's key for reading and writing, the path created first.
    CScopedRegKey OpenSection(const char* pszSection) const;

    std::string m_strCompany;
    std::string m_strApplication;
};
