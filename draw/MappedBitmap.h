// CMappedBitmap: one 16-colour picture strip from the program's resources, built as a
// device-dependent bitmap whose black, silver, grey, white, lime and yellow palette entries take
// the system's colours at load time, so that the frames drawn with them match the user's colour
// scheme while the glyphs keep their own colours.
//
//   CMappedBitmap bmp;
//   bmp.Load(IDB_MENU);                       // maps with the current system colours
//   HBITMAP hStrip = bmp.GetSafeHandle();     // null when the strip could not be built
#pragma once

#include "fw/ScopedHandles.h"

#include <windows.h>

#include <cstdlib>
#include <memory>

class CMappedBitmap {
public:
    CMappedBitmap() = default;
    ~CMappedBitmap();
    CMappedBitmap(const CMappedBitmap&) = delete;
    CMappedBitmap& operator=(const CMappedBitmap&) = delete;

    // Loads bitmap resource nResID and builds it with the current system colours. FALSE when
    // the resource is missing or is not a 4-bit strip with a 16-entry colour table; the object
    // then holds nothing.
    BOOL Load(UINT nResID);
    // Rebuilds the bitmap from the stored bits with these button colours (and the current
    // button-text, window and window-frame colours). FALSE when nothing is loaded.
    BOOL MapColors(COLORREF clrFace, COLORREF clrHighlight, COLORREF clrShadow);

    HBITMAP GetSafeHandle() const { return m_hBitmap.Get(); }

    // A block from malloc, handed back to free.
    struct CFreeBlock {
        void operator()(BYTE* p) const { std::free(p); }
    };

    CScopedBitmap m_hBitmap;
    WORD m_nResID = 0;
    HGLOBAL m_hResData = nullptr;
    const BITMAPINFOHEADER* m_pResInfo = nullptr;
    std::unique_ptr<BYTE, CFreeBlock> m_pInfoCopy;
    RGBQUAD* m_pColors = nullptr;
    const BYTE* m_pBits = nullptr;

private:
    void Release();
};

// TRUE when cbData bytes at pData hold a bitmap resource that CMappedBitmap can build: an
// uncompressed 4-bit bitmap with an information header, exactly 16 colour entries and all of
// its pixel rows.
BOOL IsMappableStrip(const void* pData, DWORD cbData);
