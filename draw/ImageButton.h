// CImageButton: an owner-drawn button that shows one 20 x 20 tile of a CMappedBitmap strip and
// nothing else. The strip's four columns are the button's looks (normal, focus or just
// released, pressed, disabled); its rows are what the button stands for (the mute button's
// muted and not muted pictures). On a fine screen each tile pixel is drawn as a square block.
// While it has the keyboard focus it shows the system's dotted focus rectangle inside the tile,
// unless the window's keyboard cues are hidden (the platform then reports ODS_NOFOCUSRECT).
//
//   m_btnMenu.SetImage(&m_bmpMenu, SIZE{20, 20}, 0);    // after binding to an owner-draw button
//   m_btnMenu.SetScale(2);                              // 40 x 40, in blocks of 2 x 2
#pragma once

#include "draw/MappedBitmap.h"
#include "fw/Button.h"

class CImageButton : public CButton {
public:
    // Shows row nRow of the strip from now on and sizes the button to one tile (times the
    // scale). Does not repaint: the caller invalidates when the picture should change at once.
    BOOL SetImage(CMappedBitmap* pBitmap, SIZE sizeImage, int nRow);
    // Draws each tile pixel as an nScale x nScale block from now on, and sizes the button to
    // match; 1, the start, draws the tile as it is.
    void SetScale(int nScale);
    int GetScale() const { return m_nScale; }

    // The tile for the button's state, and the focus cue over it.
    void DrawItem(LPDRAWITEMSTRUCT pDrawItem) override;
    // Copies the tile at nColumn of the current row to (0, 0) of hDC.
    virtual void DrawImage(HDC hDC, int nColumn);

    CMappedBitmap* m_pBitmap = nullptr;
    int m_nRow = 0;
    SIZE m_sizeImage{};
    int m_nSrcY = 0;
    int m_nSrcX = 0;

protected:
    const CMessageMapBase* GetMessageMap() const override;

private:
    LRESULT OnEraseBkgnd();
    void SizeToTile();
    void DrawFocusCue(HDC hDC) const;

    int m_nScale = 1;
};

// The strip column for an owner-draw request: 3 disabled, 2 pressed, 1 focused or just
// released, 0 otherwise.
int ImageColumn(UINT nItemState, UINT nItemAction);
// Whether an owner-draw request asks for the focus cue: focused, enabled, cues not hidden.
bool ShowsFocusCue(UINT nItemState);
