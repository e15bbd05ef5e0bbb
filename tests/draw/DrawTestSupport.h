// Helpers of the drawing tests: a canvas whose pixels can be read back, a colour scheme that is
// put back when the test ends, and the stored pixels of a bitmap resource.
#pragma once

#include "fw/ScopedHandles.h"

#include <windows.h>

#include <array>
#include <vector>

// A 32-bit top-down DIB section selected into a memory DC.
class CCanvas {
public:
    CCanvas(int cx, int cy, COLORREF clrFill);
    ~CCanvas() { ::SelectObject(m_dc.Get(), m_hOldBitmap); }
    CCanvas(const CCanvas&) = delete;
    CCanvas& operator=(const CCanvas&) = delete;

    HDC GetDC() const { return m_dc.Get(); }
    COLORREF Pixel(int x, int y) const;
    int Width() const { return m_cx; }
    int Height() const { return m_cy; }

private:
    int m_cx;
    int m_cy;
    CScopedMemoryDC m_dc;
    CScopedBitmap m_hBitmap;
    DWORD* m_pBits = nullptr;
    HGDIOBJ m_hOldBitmap = nullptr;
};

// Sets system colours for the life of the object, then puts the previous ones back.
class CColorScheme {
public:
    CColorScheme(std::vector<int> elements, std::vector<COLORREF> colors);
    ~CColorScheme();
    CColorScheme(const CColorScheme&) = delete;
    CColorScheme& operator=(const CColorScheme&) = delete;

private:
    std::vector<int> m_elements;
    std::vector<COLORREF> m_previous;
};

// The classic grey button colours, the ones the strips are drawn in.
CColorScheme StandardColors();

// A bitmap resource of this program as stored: palette entries per pixel and the colour table.
struct SStoredStrip {
    int cx = 0;
    int cy = 0;
    std::vector<BYTE> entries; // top row first
    std::array<COLORREF, 16> colors{};

    BYTE Entry(int x, int y) const { return entries[static_cast<size_t>(y) * cx + x]; }
};

// FALSE (and an empty strip) when the resource is missing or not 4 bits per pixel.
bool ReadStoredStrip(UINT nResID, SStoredStrip& strip);

// What a stored entry becomes once the program maps it with the current system colours.
COLORREF MappedColor(const SStoredStrip& strip, BYTE entry);

// Every bitmap strip the program ships.
std::vector<UINT> AllStripIds();
