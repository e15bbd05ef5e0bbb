#include "fw/ResourceString.h"

std::string LoadResourceString(UINT nID)
{
    // With a zero buffer size LoadStringW hands out a pointer to the resource's own text, so
    // no length limit applies.
    const wchar_t* pText = nullptr;
    const int nLength = ::LoadStringW(::GetModuleHandleA(nullptr), nID, reinterpret_cast<LPWSTR>(&pText), 0);
    if (nLength <= 0 || !pText)
        return {};
    return Narrow(std::wstring_view(pText, static_cast<size_t>(nLength)));
}

std::string Narrow(std::wstring_view text)
{
    const int cch = static_cast<int>(text.size());
    const int nBytes = ::WideCharToMultiByte(CP_ACP, 0, text.data(), cch, nullptr, 0, nullptr, nullptr);
    std::string strText(static_cast<size_t>(nBytes), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), cch, strText.data(), nBytes, nullptr, nullptr);
    return strText;
}

std::wstring Widen(std::string_view text)
{
    const int cch = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wstrText(static_cast<size_t>(cch), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wstrText.data(), cch);
    return wstrText;
}
