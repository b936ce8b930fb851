// The chooser's path from Windows' directory list; the tip beside the primary monitor.
#include <utility>

#include <gtest/gtest.h>

#include "ui/DirectoryListPath.h"
#include "ui/TipPlacement.h"

namespace qel
{

// In C:\parts: the root, the level, its subfolders a and b; in C:\ all are subfolders.
TEST(DirectoryListPath, WindowsList_JoinsTheLevelsThenOnlyTheSelectedSubdirectory)
{
    const std::vector<std::string> list = {"c:\\", "parts", "a", "b"};
    EXPECT_EQ("c:\\parts\\b", DirectoryListPath(list, 3, "C:\\parts"));
    EXPECT_EQ("c:\\a", DirectoryListPath(list, 2, "C:\\"));
}

// A control at negative x left of the primary monitor, and one near the corner right of it.
TEST(TipPlacement, AtTheControl_StaysOnTheControlsMonitor)
{
    const STipPoint left = TipAnchor({-900, 200, -800, 220}, {-1280, 0, 0, 1000});
    EXPECT_EQ(std::make_pair(-900L, 200L), std::make_pair(left.x, left.y));
    const STipRect right = FitTipInto({2500, 990, 2600, 1030}, {1280, 0, 2560, 1000});
    EXPECT_EQ(std::make_pair(2460L, 960L), std::make_pair(right.left, right.top));
}

} // namespace qel
