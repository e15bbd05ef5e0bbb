#include "draw/MappedBitmap.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr DWORD kColorTableBytes = 16 * sizeof(RGBQUAD);

// The entries of the strips' 16-colour palette that take a system colour.
constexpr int kBlackEntry = 0;   // button text
constexpr int kSilverEntry = 7;  // button face
constexpr int kGreyEntry = 8;    // button shadow
constexpr int kLimeEntry = 10;   // window frame
constexpr int kYellowEntry = 11; // window background
constexpr int kWhiteEntry = 15;  // button highlight
// RT_BITMAP in the ANSI form that FindResourceA expects, whatever UNICODE says.
const LPCSTR kBitmapType = MAKEINTRESOURCEA(2);

// COLORREF keeps red in the low byte, RGBQUAD blue first.
RGBQUAD ToRgbQuad(COLORREF clr)
{
    return RGBQUAD{GetBValue(clr), GetGValue(clr), GetRValue(clr), 0};
}

} // namespace

BOOL IsMappableStrip(const void* pData, DWORD cbData)
{
    BITMAPINFOHEADER header;
    if (!pData || cbData < sizeof(header))
        return FALSE;
    std::memcpy(&header, pData, sizeof(header));
    if (header.biSize < sizeof(header) || header.biPlanes != 1 || header.biBitCount != 4 ||
        header.biCompression != BI_RGB || (header.biClrUsed != 0 && header.biClrUsed != 16) ||
        header.biWidth <= 0 || header.biHeight == 0)
        return FALSE;
    // 64-bit sums: a forged header must not wrap the size check around.
    const std::int64_t nRows = header.biHeight < 0 ? -std::int64_t{header.biHeight} : header.biHeight;
    const std::int64_t nStride = (std::int64_t{header.biWidth} * 4 + 31) / 32 * 4;
    return std::int64_t{header.biSize} + kColorTableBytes + nStride * nRows <= std::int64_t{cbData};
}

CMappedBitmap::~CMappedBitmap()
{
    if (m_hResData)
        ::GlobalUnlock(m_hResData);
}

void CMappedBitmap::Release()
{
    m_pInfoCopy.reset();
    m_pColors = nullptr;
    if (m_hBitmap) {
        m_hBitmap.Reset();
        m_nResID = 0;
    }
    if (m_hResData) {
        ::GlobalUnlock(m_hResData);
        m_hResData = nullptr;
    }
    m_pResInfo = nullptr;
    m_pBits = nullptr;
}

BOOL CMappedBitmap::Load(UINT nResID)
{
    Release();
    m_nResID = static_cast<WORD>(nResID);

    const HMODULE hModule = ::GetModuleHandleA(nullptr);
    const HRSRC hInfo = ::FindResourceA(hModule, MAKEINTRESOURCEA(m_nResID), kBitmapType);
    m_hResData = hInfo ? ::LoadResource(hModule, hInfo) : nullptr;
    const void* pData = m_hResData ? ::LockResource(m_hResData) : nullptr;
    // The header's own fields are trusted only after this check, so that an unexpected picture
    // is refused instead of read past its end.
    if (!IsMappableStrip(pData, hInfo ? ::SizeofResource(hModule, hInfo) : 0)) {
        Release();
        m_nResID = 0;
        return FALSE;
    }
    m_pResInfo = static_cast<const BITMAPINFOHEADER*>(pData);
    const DWORD cbInfo = m_pResInfo->biSize + kColorTableBytes;
    m_pBits = static_cast<const BYTE*>(pData) + cbInfo;

    // The resource is read-only: the colours are mapped in a copy of header and table.
    m_pInfoCopy.reset(static_cast<BYTE*>(std::malloc(cbInfo)));
    if (!m_pInfoCopy) {
        Release();
        m_nResID = 0;
        return FALSE;
    }
    std::memcpy(m_pInfoCopy.get(), pData, cbInfo);
    m_pColors = reinterpret_cast<RGBQUAD*>(m_pInfoCopy.get() + m_pResInfo->biSize);

    MapColors(::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_BTNHIGHLIGHT),
              ::GetSysColor(COLOR_BTNSHADOW));
    return TRUE;
}

BOOL CMappedBitmap::MapColors(COLORREF clrFace, COLORREF clrHighlight, COLORREF clrShadow)
{
    if (!m_pInfoCopy)
        return FALSE;
    m_hBitmap.Reset();

    m_pColors[kSilverEntry] = ToRgbQuad(clrFace);
    m_pColors[kGreyEntry] = ToRgbQuad(clrShadow);
    m_pColors[kWhiteEntry] = ToRgbQuad(clrHighlight);
    m_pColors[kBlackEntry] = ToRgbQuad(::GetSysColor(COLOR_BTNTEXT));
    m_pColors[kYellowEntry] = ToRgbQuad(::GetSysColor(COLOR_WINDOW));
    m_pColors[kLimeEntry] = ToRgbQuad(::GetSysColor(COLOR_WINDOWFRAME));

    // A bitmap compatible with the screen, so that drawing a tile is a plain BitBlt.
    const CWindowDC screen(nullptr);
    m_hBitmap.Reset(::CreateDIBitmap(screen.Get(), m_pResInfo, CBM_INIT, m_pBits,
                                     reinterpret_cast<const BITMAPINFO*>(m_pInfoCopy.get()), DIB_RGB_COLORS));
    return TRUE;
}
