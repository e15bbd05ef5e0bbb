// What COM methods hand to their caller to release: a string from the task allocator (freed with
// CoTaskMemFree) and a PROPVARIANT (cleared with PropVariantClear, which frees whatever kind of
// value it holds).
//
//   CTaskMemString strId;   pDevice->GetId(strId.Put());       std::wstring id = strId.Str();
//   CPropVariant value;     pStore->GetValue(key, value.Put()); if (value->vt == VT_LPWSTR) ...
#pragma once

#include <windows.h>
#include <objbase.h>
#include <propidl.h>

#include <string>
#include <utility>

class CTaskMemString {
public:
    CTaskMemString() = default;
    ~CTaskMemString() { ::CoTaskMemFree(m_pwsz); }
    CTaskMemString(const CTaskMemString&) = delete;
    CTaskMemString& operator=(const CTaskMemString&) = delete;

    // Frees the string held, for an out-parameter that receives a new one.
    LPWSTR* Put()
    {
        ::CoTaskMemFree(std::exchange(m_pwsz, nullptr));
        return &m_pwsz;
    }
    LPCWSTR Get() const { return m_pwsz; }
    // Empty when none was received.
    std::wstring Str() const { return m_pwsz != nullptr ? m_pwsz : L""; }

private:
    LPWSTR m_pwsz = nullptr;
};

class CPropVariant {
public:
    CPropVariant() { ::PropVariantInit(&m_value); }
    ~CPropVariant() { ::PropVariantClear(&m_value); }
    CPropVariant(const CPropVariant&) = delete;
    CPropVariant& operator=(const CPropVariant&) = delete;

    // Clears the value held, for an out-parameter that receives a new one.
    PROPVARIANT* Put()
    {
        ::PropVariantClear(&m_value);
        return &m_value;
    }
    const PROPVARIANT* operator->() const { return &m_value; }

private:
    PROPVARIANT m_value;
};
