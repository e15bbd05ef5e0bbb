// CLineCatalogue names the numbered source lines of the bar's menu. It always describes mixer
// device 0, whichever card the bar drives, and addresses it without a handle.
//
// Entry j is the first line of one source component type (0x1000 to 0x100A) on device 0; the
// entries stand in the order of their line ids written as unsigned decimal text and compared
// as text ("131072" before "65536"). Filled once at construction. A program's line
// (frontend/ApplicationLine.h) is never an entry.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <string>
#include <vector>

class CLineCatalogue {
public:
    CLineCatalogue();
    virtual ~CLineCatalogue() = default;

    // The number of sources of device 0's speakers destination (of any type, possibly two of
    // one type), programs' lines (frontend/ApplicationLine.h) left out; 0 when there is none.
    UINT GetSpeakerSourceCount() const;

    // FALSE, leaving strName unchanged, when entry nIndex or its line is not found.
    BOOL GetLineName(int nIndex, std::string& strName) const;

    // 0 when entry nIndex or its line is not found.
    DWORD GetComponentType(int nIndex) const;

private:
    BOOL LookUp(int nIndex, MIXERLINEA& line) const;

    // The line ids as "%lu" texts, kept in ascending text order.
    std::vector<std::string> m_vecEntries;
};

// The usual decimal conversion of a signed 32-bit number, taken modulo 2^32: leading white
// space, an optional sign, digits. Ids of 2^31 and above therefore come back unchanged.
DWORD ParseLineId(const std::string& strText);
