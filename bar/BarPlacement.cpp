#include "bar/BarPlacement.h"

#include <algorithm>
#include <limits>

namespace {

bool Overlaps(const RECT& rcA, const RECT& rcB)
{
    return rcA.left < rcB.right && rcB.left < rcA.right && rcA.top < rcB.bottom && rcB.top < rcA.bottom;
}

bool IsFree(const RECT& rcPlace, const std::vector<RECT>& vecBars)
{
    return std::none_of(vecBars.begin(), vecBars.end(),
                        [&rcPlace](const RECT& rcBar) { return Overlaps(rcPlace, rcBar); });
}

bool Contains(const RECT& rcOuter, const RECT& rcInner)
{
    return rcOuter.left <= rcInner.left && rcInner.right <= rcOuter.right && rcOuter.top <= rcInner.top &&
           rcInner.bottom <= rcOuter.bottom;
}

// The area that two rectangles have in common.
long long SharedArea(const RECT& rcA, const RECT& rcB)
{
    const long long cx = std::min(rcA.right, rcB.right) - std::max(rcA.left, rcB.left);
    const long long cy = std::min(rcA.bottom, rcB.bottom) - std::max(rcA.top, rcB.top);
    return cx > 0 && cy > 0 ? cx * cy : 0;
}

// How far apart two rectangles are: 0 when they touch or overlap.
long long Distance(const RECT& rcA, const RECT& rcB)
{
    const long long dx = std::max({0L, rcB.left - rcA.right, rcA.left - rcB.right});
    const long long dy = std::max({0L, rcB.top - rcA.bottom, rcA.top - rcB.bottom});
    return dx * dx + dy * dy;
}

} // namespace

POINT FirstFreePlace(const RECT& rcAnchor, const std::vector<RECT>& vecBars, const RECT& rcArea)
{
    const LONG nWidth = rcAnchor.right - rcAnchor.left;
    const LONG nHeight = rcAnchor.bottom - rcAnchor.top;
    const auto placeAt = [&](LONG y) { return RECT{rcAnchor.left, y, rcAnchor.left + nWidth, y + nHeight}; };
    // A bar without height would never leave its anchor's row.
    if (nHeight > 0) {
        for (LONG y = rcAnchor.bottom; y + nHeight <= rcArea.bottom; y += nHeight) {
            if (IsFree(placeAt(y), vecBars))
                return {rcAnchor.left, y};
        }
        for (LONG y = rcAnchor.top - nHeight; y >= rcArea.top; y -= nHeight) {
            if (IsFree(placeAt(y), vecBars))
                return {rcAnchor.left, y};
        }
    }
    if (rcAnchor.bottom + nHeight > rcArea.bottom)
        return {rcAnchor.left, rcAnchor.top - nHeight};
    return {rcAnchor.left, rcAnchor.bottom};
}

POINT KeepOnScreen(POINT pt, SIZE sizeBar, const RECT& rcVirtual,
                   const std::vector<SMonitorArea>& vecMonitors)
{
    // 1. Far-out values, from a stale or damaged setting, start again at the origin.
    if (pt.x < rcVirtual.left || pt.x > rcVirtual.right)
        pt.x = 0;
    if (pt.y < rcVirtual.top || pt.y > rcVirtual.bottom)
        pt.y = 0;

    // 2. A bar wholly on one work area stays. Only part of one is not enough: a single pixel of
    //    a bar in a screen's corner is on the screen, yet nobody finds it there.
    const RECT rcBar{pt.x, pt.y, pt.x + sizeBar.cx, pt.y + sizeBar.cy};
    const auto holdsBar = [&rcBar](const SMonitorArea& area) { return Contains(area.rcWork, rcBar); };
    if (vecMonitors.empty() || std::any_of(vecMonitors.begin(), vecMonitors.end(), holdsBar))
        return pt;

    // 3. Otherwise it goes whole onto the work area of the monitor that shows most of it, or of the
    //    nearest when none shows any, as close to where it was as it can.
    const SMonitorArea* pNearest = &vecMonitors.front();
    long long nBestShown = -1;
    long long nBestDistance = std::numeric_limits<long long>::max();
    for (const SMonitorArea& area : vecMonitors) {
        const long long nShown = SharedArea(rcBar, area.rcMonitor);
        const long long nDistance = Distance(rcBar, area.rcMonitor);
        if (nShown > nBestShown || (nShown == nBestShown && nDistance < nBestDistance)) {
            nBestShown = nShown;
            nBestDistance = nDistance;
            pNearest = &area;
        }
    }
    const RECT& rcWork = pNearest->rcWork;
    pt.x = std::max(rcWork.left, std::min(pt.x, rcWork.right - sizeBar.cx));
    pt.y = std::max(rcWork.top, std::min(pt.y, rcWork.bottom - sizeBar.cy));
    return pt;
}
