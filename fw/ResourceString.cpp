#include "fw/ResourceString.h"

std::string LoadResourceString(UINT nID)
{
    // With a zero buffer size LoadStringW hands out a pointer to the resource's own text, so
    // no length limit applies.
    const wchar_t* pText = nullptr;
    const int nLength = ::LoadStringW(::GetModuleHandleA(nullptr), nID, reinterpret_cast<LPWSTR>(&pText), 0);
    if (nLength <= 0 || !pText)
        return {};
    const int nBytes = ::WideCharToMultiByte(CP_ACP, 0, pText, nLength, nullptr, 0, nullptr, nullptr);
    std::string strText(static_cast<size_t>(nBytes), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, pText, nLength, strText.data(), nBytes, nullptr, nullptr);
    return strText;
}
