#include "sim/SimResources.h"

#include <cstdint>

namespace sim {
namespace {

// Wine keeps its GDI objects in the process's shared handle table (PEB GdiSharedHandleTable),
// 0x10000 entries of this layout; an entry in use has a nonzero type. Windows lays the table
// out otherwise, but there GetGuiResources answers.
struct WineGdiHandleEntry {
    std::uint64_t Object;
    ULONG Owner;
    USHORT Unique;
    UCHAR Type;
    UCHAR Flags;
    std::uint64_t UserPointer;
};
constexpr DWORD kWineGdiHandles = 0x10000;
// The PEB's GdiSharedHandleTable field in a 32-bit process.
constexpr size_t kPebGdiSharedHandleTable = 0x94;

const BYTE* ProcessEnvironmentBlock()
{
#if defined(_M_IX86) || defined(__i386__)
    const BYTE* pPeb = nullptr;
    __asm__("movl %%fs:0x30, %0" : "=r"(pPeb));
    return pPeb;
#else
    return nullptr;
#endif
}

DWORD CountWineGdiObjects()
{
    const BYTE* pPeb = ProcessEnvironmentBlock();
    if (!pPeb)
        return 0;
    const auto* pTable = *reinterpret_cast<const WineGdiHandleEntry* const*>(pPeb + kPebGdiSharedHandleTable);
    if (!pTable)
        return 0;
    DWORD nCount = 0;
    for (DWORD i = 0; i < kWineGdiHandles; ++i)
        nCount += pTable[i].Type != 0;
    return nCount;
}

BOOL CALLBACK CountChild(HWND, LPARAM lParam)
{
    ++*reinterpret_cast<DWORD*>(lParam);
    return TRUE;
}

BOOL CALLBACK CountWindowTree(HWND hWnd, LPARAM lParam)
{
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcessId);
    if (dwProcessId != ::GetCurrentProcessId())
        return TRUE;
    ++*reinterpret_cast<DWORD*>(lParam);
    ::EnumChildWindows(hWnd, &CountChild, lParam);
    return TRUE;
}

// The process's windows, top-level and children, message-only ones included: the USER objects
// a leak of windows would show in.
DWORD CountWineUserObjects()
{
    DWORD nCount = 0;
    ::EnumWindows(&CountWindowTree, reinterpret_cast<LPARAM>(&nCount));
    HWND hWnd = nullptr;
    while ((hWnd = ::FindWindowExA(HWND_MESSAGE, hWnd, nullptr, nullptr)) != nullptr)
        CountWindowTree(hWnd, reinterpret_cast<LPARAM>(&nCount));
    return nCount;
}

// Committed private pages of the address space, walked with VirtualQuery: what "private bytes"
// counts, where the process memory counters leave it 0.
DWORD CountPrivateKiB()
{
    SIZE_T cbPrivate = 0;
    MEMORY_BASIC_INFORMATION info{};
    const BYTE* p = nullptr;
    while (::VirtualQuery(p, &info, sizeof info) == sizeof info) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE)
            cbPrivate += info.RegionSize;
        const BYTE* pNext = static_cast<const BYTE*>(info.BaseAddress) + info.RegionSize;
        if (pNext <= p)
            break;
        p = pNext;
    }
    return static_cast<DWORD>(cbPrivate / 1024);
}

} // namespace

DWORD CountResource(Resource resource)
{
    const HANDLE hProcess = ::GetCurrentProcess();
    switch (resource) {
    case Resource::GdiObjects:
        if (const DWORD n = ::GetGuiResources(hProcess, GR_GDIOBJECTS))
            return n;
        return CountWineGdiObjects();
    case Resource::UserObjects:
        if (const DWORD n = ::GetGuiResources(hProcess, GR_USEROBJECTS))
            return n;
        return CountWineUserObjects();
    case Resource::PrivateKiB:
        return CountPrivateKiB();
    }
    return 0;
}

} // namespace sim
