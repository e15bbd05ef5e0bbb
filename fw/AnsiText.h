// Text between the wide strings of the system's Unicode functions and the ANSI code page of the
// narrow ones. A character that the code page lacks becomes '?'.
#pragma once

#include <windows.h>

#include <string>

inline std::string ToAnsi(const std::wstring& str)
{
    const int cch = ::WideCharToMultiByte(CP_ACP, 0, str.data(), static_cast<int>(str.size()), nullptr, 0,
                                          nullptr, nullptr);
    std::string strAnsi(static_cast<size_t>(cch > 0 ? cch : 0), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, str.data(), static_cast<int>(str.size()), strAnsi.data(), cch, nullptr,
                          nullptr);
    return strAnsi;
}

inline std::wstring ToWide(const std::string& str)
{
    const int cch = ::MultiByteToWideChar(CP_ACP, 0, str.data(), static_cast<int>(str.size()), nullptr, 0);
    std::wstring strWide(static_cast<size_t>(cch > 0 ? cch : 0), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, str.data(), static_cast<int>(str.size()), strWide.data(), cch);
    return strWide;
}
