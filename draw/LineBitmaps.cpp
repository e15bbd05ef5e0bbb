#include "draw/LineBitmaps.h"

#include "res/resource.h"

UINT LineBitmapId(BOOL bInput, int nIndex)
{
    if (nIndex == kMasterLineBitmap)
        return bInput ? IDB_MASTER_INPUT : IDB_MASTER_OUTPUT;
    if (nIndex < 0 || nIndex > kMasterLineBitmap)
        return 0;
    return (bInput ? IDB_INPUT_SOURCE_FIRST : IDB_OUTPUT_SOURCE_FIRST) + static_cast<UINT>(nIndex);
}
