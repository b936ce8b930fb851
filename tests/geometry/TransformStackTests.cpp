#include "GeometryExpect.h"

#include "geometry/Transform.h"

#include <gtest/gtest.h>

namespace qel::test
{
namespace
{

Rows TranslationRows(double x)
{
    return {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {x, 0, 0, 1}}};
}

TEST(Stack, PopRestoresStatesInReverseOrder)
{
    CTransform t;
    t.Translate(1, 0, 0);
    EXPECT_EQ(1, t.Push());
    t.Translate(1, 0, 0);
    EXPECT_EQ(2, t.Push());
    t.Translate(1, 0, 0);
    EXPECT_EQ(2, t.GetStackDepth());

    t.Pop();
    EXPECT_TRUE(MatrixNear(t.GetMatrix(), TranslationRows(2), 0));
    EXPECT_EQ(1, t.GetStackDepth());
    t.Pop();
    EXPECT_TRUE(MatrixNear(t.GetMatrix(), TranslationRows(1), 0));
    EXPECT_EQ(0, t.GetStackDepth());
}

TEST(Stack, PopWithoutSavedStateChangesNothing)
{
    CTransform t;
    t.Translate(5, 0, 0);
    t.Pop();
    EXPECT_TRUE(MatrixNear(t.GetMatrix(), TranslationRows(5), 0));
    EXPECT_EQ(0, t.GetStackDepth());
}

TEST(Stack, FullStackDropsOldestStateAndKeepsDepth)
{
    CTransform t;
    t.SetStackLimit(2);
    t.Translate(1, 0, 0);
    EXPECT_EQ(1, t.Push());
    t.Translate(1, 0, 0);
    EXPECT_EQ(2, t.Push());
    t.Translate(1, 0, 0);
    EXPECT_EQ(0, t.Push());
    EXPECT_EQ(2, t.GetStackDepth());
    t.Translate(1, 0, 0);

    // The two most recent states are left; the first one is gone.
    t.Pop();
    EXPECT_TRUE(MatrixNear(t.GetMatrix(), TranslationRows(3), 0));
    t.Pop();
    EXPECT_TRUE(MatrixNear(t.GetMatrix(), TranslationRows(2), 0));
    EXPECT_EQ(0, t.GetStackDepth());
    t.Pop();
    EXPECT_TRUE(MatrixNear(t.GetMatrix(), TranslationRows(2), 0));
    EXPECT_EQ(0, t.GetStackDepth());
}

class UnlimitedStackTest : public ::testing::TestWithParam<int>
{
};

TEST_P(UnlimitedStackTest, LimitBelowOneMeansNoLimit)
{
    CTransform t;
    t.SetStackLimit(GetParam());
    for (int depth = 1; depth <= 5; ++depth)
        EXPECT_EQ(depth, t.Push());
}

INSTANTIATE_TEST_SUITE_P(Limits, UnlimitedStackTest, ::testing::Values(-1, 0, -7));

TEST(Stack, CopyTakesElementsButNoSavedStates)
{
    CTransform source;
    source.Translate(1, 0, 0);
    source.Push();
    source.Translate(1, 0, 0);
    CTransform copy(&source);
    EXPECT_EQ(0, copy.GetStackDepth());
    copy.Pop();
    EXPECT_TRUE(MatrixNear(copy.GetMatrix(), TranslationRows(2), 0));
}

TEST(Stack, DeepStackIsFreedOnDestruction)
{
    // Freed one state after the other (no recursion); the leak checker of the
    // sanitizer build sees anything left behind.
    auto t = std::make_unique<CTransform>();
    for (int i = 0; i < 200000; ++i)
        t->Push();
    EXPECT_EQ(200000, t->GetStackDepth());
    t.reset();
}

} // namespace
} // namespace qel::test
