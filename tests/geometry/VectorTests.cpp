#include "GeometryExpect.h"

#include "geometry/Vector3.h"

#include <gtest/gtest.h>

namespace qel::test
{
namespace
{

TEST(Vector, NormalizeVector_GivesUnitVectorAndZero)
{
    Vector3 unit;
    EXPECT_EQ(0, NormalizeVector(unit, {3, 0, 4}));
    EXPECT_TRUE(VectorNear(unit, {0.6, 0, 0.8}, 2e-16));
}

TEST(Vector, NormalizeVector_RefusesShortVectorAndLeavesDestination)
{
    // Squared length 1e-12 is below the 1e-10 limit; 1e-10 exactly is not.
    Vector3 destination = {7, 8, 9};
    EXPECT_EQ(-1, NormalizeVector(destination, {1e-6, 0, 0}));
    EXPECT_TRUE(VectorNear(destination, {7, 8, 9}, 0));
    EXPECT_EQ(0, NormalizeVector(destination, {0, 1e-5, 0}));
    EXPECT_TRUE(VectorNear(destination, {0, 1, 0}, 1e-15));
}

TEST(Vector, CrossProduct_IsRightHandedAndMayOverwriteAnOperand)
{
    Vector3 a = {1, 0, 0};
    const Vector3 b = {0, 1, 0};
    CrossProduct(a, a, b);
    EXPECT_TRUE(VectorNear(a, {0, 0, 1}, 0));

    Vector3 c = {2, 3, 4};
    CrossProduct(c, {5, 6, 7}, c);
    EXPECT_TRUE(VectorNear(c, {6 * 4 - 7 * 3, 7 * 2 - 5 * 4, 5 * 3 - 6 * 2}, 0));
}

TEST(Vector, DotProductAndLengths)
{
    EXPECT_EQ(32.0, DotProduct({1, 2, 3}, {4, 5, 6}));
    EXPECT_EQ(169.0, VectorLengthSquared({3, 4, 12}));
    EXPECT_EQ(13.0, VectorLength({3, 4, 12}));
}

TEST(Vector, NormalizeInPlace_DividesByLengthAndKeepsZeroVector)
{
    Vector3 v = {0, 0, -2e-8};
    NormalizeInPlace(v);
    EXPECT_TRUE(VectorNear(v, {0, 0, -1}, 0));

    Vector3 zero;
    NormalizeInPlace(zero);
    EXPECT_FALSE(std::isnan(zero.x) || std::isnan(zero.y) || std::isnan(zero.z));
    EXPECT_TRUE(VectorNear(zero, {0, 0, 0}, 0));
}

TEST(Vector, CombineVectors_WeightsBothOperands)
{
    Vector3 a = {1, 2, 3};
    CombineVectors(a, {10, 20, 30}, a, 2.0, -0.5);
    EXPECT_TRUE(VectorNear(a, {-3, -6, -9}, 0));
}

} // namespace
} // namespace qel::test
