// The bar's picture table: which bitmap strip the mute button shows for each kind of line.
#pragma once

#include <windows.h>

// Entries of the bar's table of line strips: 0 to 10 for the source component types 0x1000 to
// 0x100A, then the master line of the side.
constexpr int kLineBitmapCount = 12;
constexpr int kMasterLineBitmap = 11;

// The tile of every strip: what an image button shows of it, and the button's own size.
constexpr SIZE kStripTileSize{20, 20};

// The bitmap resource for entry nIndex (0 to kMasterLineBitmap) of the output (bInput FALSE) or
// input side; 0, which names no resource, for any other index.
UINT LineBitmapId(BOOL bInput, int nIndex);
