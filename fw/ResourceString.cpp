#include "fw/ResourceString.h"

#include "fw/AnsiText.h"

std::string LoadResourceString(UINT nID)
{
    // With a zero buffer size LoadStringW hands out a pointer to the resource's own text, so
    // no length limit applies.
    const wchar_t* pText = nullptr;
    const int nLength = ::LoadStringW(::GetModuleHandleA(nullptr), nID, reinterpret_cast<LPWSTR>(&pText), 0);
    return nLength > 0 && pText ? ToAnsi(std::wstring(pText, static_cast<size_t>(nLength))) : std::string();
}
