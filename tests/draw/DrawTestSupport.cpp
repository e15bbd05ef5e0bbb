#include "DrawTestSupport.h"

#include "res/resource.h"

CCanvas::CCanvas(int cx, int cy, COLORREF clrFill) : m_cx(cx), m_cy(cy), m_dc(::CreateCompatibleDC(nullptr))
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    m_hBitmap.Reset(::CreateDIBSection(m_dc.Get(), &info, DIB_RGB_COLORS, &pBits, nullptr, 0));
    m_pBits = static_cast<DWORD*>(pBits);
    m_hOldBitmap = ::SelectObject(m_dc.Get(), m_hBitmap.Get());
    const CScopedBrush brush(::CreateSolidBrush(clrFill));
    const RECT rect{0, 0, cx, cy};
    ::FillRect(m_dc.Get(), &rect, brush.Get());
}

COLORREF CCanvas::Pixel(int x, int y) const
{
    ::GdiFlush();
    const DWORD value = m_pBits[static_cast<size_t>(y) * m_cx + x];
    return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

CColorScheme::CColorScheme(std::vector<int> elements, std::vector<COLORREF> colors)
    : m_elements(std::move(elements))
{
    for (int element : m_elements)
        m_previous.push_back(::GetSysColor(element));
    ::SetSysColors(static_cast<int>(m_elements.size()), m_elements.data(), colors.data());
}

CColorScheme::~CColorScheme()
{
    ::SetSysColors(static_cast<int>(m_elements.size()), m_elements.data(), m_previous.data());
}

CColorScheme StandardColors()
{
    return CColorScheme(
        {COLOR_BTNFACE, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNTEXT, COLOR_WINDOW, COLOR_WINDOWFRAME},
        {RGB(0xC0, 0xC0, 0xC0), RGB(0x80, 0x80, 0x80), RGB(0xFF, 0xFF, 0xFF), RGB(0, 0, 0),
         RGB(0xFF, 0xFF, 0xFF), RGB(0, 0, 0)});
}

bool ReadStoredStrip(UINT nResID, SStoredStrip& strip)
{
    strip = SStoredStrip{};
    const HMODULE hModule = ::GetModuleHandleA(nullptr);
    const HRSRC hInfo = ::FindResourceA(hModule, MAKEINTRESOURCEA(nResID), MAKEINTRESOURCEA(2));
    const HGLOBAL hData = hInfo ? ::LoadResource(hModule, hInfo) : nullptr;
    const auto* pData = hData ? static_cast<const BYTE*>(::LockResource(hData)) : nullptr;
    if (!pData)
        return false;
    const auto* pHeader = reinterpret_cast<const BITMAPINFOHEADER*>(pData);
    if (pHeader->biBitCount != 4 || pHeader->biHeight <= 0)
        return false;
    const auto* pColors = reinterpret_cast<const RGBQUAD*>(pData + pHeader->biSize);
    for (size_t i = 0; i < strip.colors.size(); ++i)
        strip.colors[i] = RGB(pColors[i].rgbRed, pColors[i].rgbGreen, pColors[i].rgbBlue);
    const BYTE* pBits = pData + pHeader->biSize + 16 * sizeof(RGBQUAD);
    strip.cx = pHeader->biWidth;
    strip.cy = pHeader->biHeight;
    const int stride = (strip.cx * 4 + 31) / 32 * 4;
    for (int y = 0; y < strip.cy; ++y) {
        const BYTE* pRow = pBits + static_cast<size_t>(strip.cy - 1 - y) * stride;
        for (int x = 0; x < strip.cx; ++x)
            strip.entries.push_back(x % 2 ? pRow[x / 2] & 0x0F : pRow[x / 2] >> 4);
    }
    return true;
}

COLORREF MappedColor(const SStoredStrip& strip, BYTE entry)
{
    switch (entry) {
    case 0:
        return ::GetSysColor(COLOR_BTNTEXT);
    case 7:
        return ::GetSysColor(COLOR_BTNFACE);
    case 8:
        return ::GetSysColor(COLOR_BTNSHADOW);
    case 10:
        return ::GetSysColor(COLOR_WINDOWFRAME);
    case 11:
        return ::GetSysColor(COLOR_WINDOW);
    case 15:
        return ::GetSysColor(COLOR_BTNHIGHLIGHT);
    default:
        return strip.colors[entry];
    }
}

std::vector<UINT> AllStripIds()
{
    std::vector<UINT> ids{IDB_MENU, IDB_MASTER_OUTPUT, IDB_MASTER_INPUT};
    for (UINT i = 0; i <= 10; ++i) {
        ids.push_back(IDB_OUTPUT_SOURCE_FIRST + i);
        ids.push_back(IDB_INPUT_SOURCE_FIRST + i);
    }
    return ids;
}
