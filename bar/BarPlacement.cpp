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

    // 2. A bar that is on some monitor, if only in part, can be seen and dragged back.
    const RECT rcBar{pt.x, pt.y, pt.x + sizeBar.cx, pt.y + sizeBar.cy};
    const auto onMonitor = [&rcBar](const SMonitorArea& area) { return Overlaps(rcBar, area.rcMonitor); };
    if (vecMonitors.empty() || std::any_of(vecMonitors.begin(), vecMonitors.end(), onMonitor))
        return pt;

    // 3. Otherwise it goes whole onto the nearest work area, as close to where it was as it can.
    const SMonitorArea* pNearest = &vecMonitors.front();
    long long nBest = std::numeric_limits<long long>::max();
    for (const SMonitorArea& area : vecMonitors) {
        if (const long long nDistance = Distance(rcBar, area.rcMonitor); nDistance < nBest) {
            nBest = nDistance;
            pNearest = &area;
        }
    }
    const RECT& rcWork = pNearest->rcWork;
    pt.x = std::max(rcWork.left, std::min(pt.x, rcWork.right - sizeBar.cx));
    pt.y = std::max(rcWork.top, std::min(pt.y, rcWork.bottom - sizeBar.cy));
    return pt;
}
