// The counts that soak tests read from copies of the test build: each rises with what the
// process creates and falls back when it is released, whatever Wine or Windows answers.
#include "sim/SimResources.h"

#include <gtest/gtest.h>

#include <vector>

TEST(SimResourcesTest, CountsFollowObjectsWindowsAndMemory)
{
    using sim::CountResource;
    using sim::Resource;
    // The process's first window sets up what every later one shares (caches, fonts, heaps).
    ::DestroyWindow(::CreateWindowA("STATIC", "warm", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
    const DWORD nGdiBefore = CountResource(Resource::GdiObjects);
    const DWORD nUserBefore = CountResource(Resource::UserObjects);
    const DWORD nPrivateBefore = CountResource(Resource::PrivateKiB);
    ASSERT_GT(nGdiBefore, 0u) << "no way to count GDI objects";

    std::vector<HPEN> pens;
    for (int i = 0; i < 50; ++i)
        pens.push_back(::CreatePen(PS_SOLID, 1, RGB(i, 0, 0)));
    const HWND hWnd = ::CreateWindowA("STATIC", "probe", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    void* pBlock = ::VirtualAlloc(nullptr, 1 << 20, MEM_COMMIT, PAGE_READWRITE);

    EXPECT_EQ(CountResource(Resource::GdiObjects), nGdiBefore + 50);
    EXPECT_GE(CountResource(Resource::UserObjects), nUserBefore + 1);
    EXPECT_GE(CountResource(Resource::PrivateKiB), nPrivateBefore + 1024);

    for (const HPEN hPen : pens)
        ::DeleteObject(hPen);
    ::DestroyWindow(hWnd);
    ::VirtualFree(pBlock, 0, MEM_RELEASE);
    EXPECT_EQ(CountResource(Resource::GdiObjects), nGdiBefore);
    EXPECT_EQ(CountResource(Resource::UserObjects), nUserBefore);
    EXPECT_LT(CountResource(Resource::PrivateKiB), nPrivateBefore + 1024);
}
