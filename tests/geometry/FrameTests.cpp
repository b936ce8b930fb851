#include "GeometryExpect.h"

#include "geometry/MatrixMath.h"
#include "geometry/Transform.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace qel::test
{
namespace
{

// Rows 0..2 of the upper part are orthonormal.
::testing::AssertionResult IsRotation(const CTransform& t, double tolerance)
{
    const auto& m = t.GetMatrix();
    for (int i = 0; i < 3; ++i)
    {
        for (int j = 0; j < 3; ++j)
        {
            const double dot = DotProduct({m[i][0], m[i][1], m[i][2]}, {m[j][0], m[j][1], m[j][2]});
            if (std::fabs(dot - (i == j ? 1.0 : 0.0)) > tolerance)
                return ::testing::AssertionFailure() << "rows " << i << " and " << j << ": " << dot;
        }
    }
    return ::testing::AssertionSuccess();
}

std::vector<Vector3> RandomDirections(unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> component(-1.0, 1.0);
    std::uniform_real_distribution<double> exponent(-3.0, 3.0);
    std::vector<Vector3> directions;
    while (directions.size() < 200)
    {
        const Vector3 v = {component(random), component(random), component(random)};
        const double length = VectorLength(v);
        if (length < 1e-3)
            continue;
        const double size = std::pow(10.0, exponent(random)) / length;
        directions.push_back({v.x * size, v.y * size, v.z * size});
    }
    // Directions on and next to the X axis take the other branch.
    directions.push_back({2, 0, 0});
    directions.push_back({-3, 1e-12, 0});
    return directions;
}

TEST(AlignToZ, MapsRandomDirectionsOntoPositiveZ)
{
    for (const Vector3& v : RandomDirections(42))
    {
        CTransform t;
        t.SetAlignToZ(v);
        const double d = VectorLength(v);
        Vector3 mapped = v;
        t.TransformVector(mapped);
        EXPECT_TRUE(VectorNear(mapped, {0, 0, d}, 1e-12 * d)) << v.x << " " << v.y << " " << v.z;
        EXPECT_TRUE(IsRotation(t, 1e-12));

        t.SetAlignFromZ(v);
        Vector3 back = {0, 0, d};
        t.TransformVector(back);
        EXPECT_TRUE(VectorNear(back, v, 1e-12 * d));
    }
}

struct AlignCase
{
    const char* name;
    Vector3 direction;
    Rows expected;
};

class AlignToZTest : public ::testing::TestWithParam<AlignCase>
{
};

TEST_P(AlignToZTest, BuildsHandComputedRotation)
{
    CTransform t;
    t.Translate(9, 9, 9);
    t.SetAlignToZ(GetParam().direction);
    EXPECT_TRUE(MatrixNear(t.GetMatrix(), GetParam().expected, 1e-16));
}

INSTANTIATE_TEST_SUITE_P(
    Directions, AlignToZTest,
    ::testing::Values(
        AlignCase{"AlongZ", {0, 0, 5}, kIdentityRows},
        AlignCase{"AlongX", {2, 0, 0}, {{{0, 0, 1, 0}, {0, 1, 0, 0}, {-1, 0, 0, 0}, {0, 0, 0, 1}}}},
        AlignCase{"AlongNegativeX",
                  {-2, 0, 0},
                  {{{0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 0, 1}}}},
        AlignCase{
            "AlongY", {0, 2, 0}, {{{1, 0, 0, 0}, {0, 0, 1, 0}, {0, -1, 0, 0}, {0, 0, 0, 1}}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AlignPair, IsFromZOfSecondTimesToZOfFirst)
{
    CTransform t;
    t.SetAlignPair({2, 0, 0}, {0, 2, 0});
    EXPECT_TRUE(MatrixNear(t.GetMatrix(),
                           {{{0, 0, 1, 0}, {1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 0, 1}}}, 1e-16));
}

struct AxisFrameCase
{
    const char* name;
    Vector3 axis;
    Rows expected;
};

class AxisFrameTest : public ::testing::TestWithParam<AxisFrameCase>
{
};

TEST_P(AxisFrameTest, ColumnsAreWUV)
{
    CTransform t;
    t.Scale(3, 3, 3);
    t.SetAxisFrame(GetParam().axis);
    EXPECT_TRUE(MatrixNear(t.GetMatrix(), GetParam().expected, 1e-16));
}

INSTANTIATE_TEST_SUITE_P(
    Axes, AxisFrameTest,
    ::testing::Values(AxisFrameCase{"AlongZ", {0, 0, 2}, kIdentityRows},
                      AxisFrameCase{"AlongY",
                                    {0, 2, 0},
                                    {{{1, 0, 0, 0}, {0, 0, 1, 0}, {0, -1, 0, 0}, {0, 0, 0, 1}}}},
                      AxisFrameCase{"AlongX",
                                    {5, 0, 0},
                                    {{{0, 0, 1, 0}, {1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 0, 1}}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AxisFrame, MapsRandomAxesOntoPositiveZ)
{
    for (const Vector3& axis : RandomDirections(4711))
    {
        CTransform t;
        t.SetAxisFrame(axis);
        Vector3 mapped = axis;
        t.TransformVector(mapped);
        const double d = VectorLength(axis);
        EXPECT_TRUE(VectorNear(mapped, {0, 0, d}, 1e-12 * d));
        EXPECT_TRUE(IsRotation(t, 1e-12));
    }
}

TEST(Placement, ScalesFramesAndMovesToOrigin)
{
    CTransform t;
    t.SetPlacement({0, 0, 1}, 2, {1, 2, 3});
    EXPECT_TRUE(
        MatrixNear(t.GetMatrix(), {{{2, 0, 0, 0}, {0, 2, 0, 0}, {0, 0, 2, 0}, {1, 2, 3, 1}}}, 0));

    // A scale of 0 is left out.
    t.SetPlacement({0, 0, 1}, 0, {1, 2, 3});
    EXPECT_TRUE(
        MatrixNear(t.GetMatrix(), {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {1, 2, 3, 1}}}, 0));
}

TEST(Placement, FrameRowsAreNotNormalised)
{
    // V = (1 2 3) / sqrt(14); D = V x (1 0 0) has the length sqrt(13 / 14).
    CTransform t;
    t.SetPlacement({1, 2, 3}, 1, {0, 0, 0});
    const auto& m = t.GetMatrix();
    const double expectedLength = std::sqrt(13.0 / 14.0);
    EXPECT_NEAR(expectedLength, VectorLength({m[0][0], m[0][1], m[0][2]}), 1e-15);
    EXPECT_NEAR(expectedLength, VectorLength({m[1][0], m[1][1], m[1][2]}), 1e-15);
    const double s = std::sqrt(14.0);
    EXPECT_TRUE(VectorNear({m[2][0], m[2][1], m[2][2]}, {1 / s, 2 / s, 3 / s}, 1e-15));
    EXPECT_TRUE(VectorNear({m[1][0], m[1][1], m[1][2]}, {0, 3 / s, -2 / s}, 1e-15));
}

TEST(Extrusion, AppliesArbitraryAxisFrame)
{
    CTransform t;
    t.ApplyExtrusion({0, 0, -3});
    EXPECT_TRUE(
        MatrixNear(t.GetMatrix(), {{{-1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, -1, 0}, {0, 0, 0, 1}}}, 0));
    Vector3 p = {1, 2, 3};
    t.TransformPoint(p);
    EXPECT_TRUE(VectorNear(p, {-1, 2, -3}, 0));
}

TEST(Extrusion, ShortNormalLeavesTransform)
{
    CTransform t;
    t.Translate(1, 2, 3);
    const Rows before = RowsOf(t.GetMatrix());
    t.ApplyExtrusion({0, 0, 1e-6});
    EXPECT_TRUE(MatrixNear(t.GetMatrix(), before, 0));
}

TEST(Projection, MirrorZReplacesElements)
{
    CTransform t;
    t.Translate(1, 2, 3);
    t.SetMirrorZ();
    EXPECT_TRUE(
        MatrixNear(t.GetMatrix(), {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, -1, 0}, {0, 0, 0, 1}}}, 0));
}

struct PointCase
{
    Vector3 point;
    Vector3 mapped;
};

TEST(Projection, OrthoMapsBoxOntoUnitCube)
{
    CTransform t;
    t.SetOrtho(-2, 6, 3, -1, 1, 5);
    for (const PointCase& c : {PointCase{{-2, -1, 1}, {-1, -1, -1}},
                               PointCase{{6, 3, 5}, {1, 1, 1}}, PointCase{{2, 1, 3}, {0, 0, 0}}})
    {
        Vector3 p = c.point;
        t.TransformPoint(p);
        EXPECT_TRUE(VectorNear(p, c.mapped, 1e-15));
    }
}

TEST(Projection, OrthoWithFlatDepthKeepsZ)
{
    CTransform t;
    t.SetOrtho(-2, 6, 3, -1, 4, 4);
    Vector3 p = {6, 3, 7};
    t.TransformPoint(p);
    EXPECT_TRUE(VectorNear(p, {1, 1, 7}, 1e-15));
}

TEST(Projection, OrthoWithFlatBoxIsIdentity)
{
    CTransform t;
    t.Translate(1, 2, 3);
    t.SetOrtho(1, 1, 3, -1, 1, 5);
    EXPECT_TRUE(MatrixNear(t.GetMatrix(), kIdentityRows, 0));
    t.SetOrtho(-1, 1, 3, 3, 1, 5);
    EXPECT_TRUE(MatrixNear(t.GetMatrix(), kIdentityRows, 0));
}

TEST(Projection, OrthoScaledScalesXYByDepth)
{
    CTransform t;
    t.SetOrthoScaled(-2, 6, 3, -1, 1, 5);
    Vector3 p = {6, 3, 5};
    t.TransformPoint(p);
    EXPECT_TRUE(VectorNear(p, {4, 4, 1}, 1e-15));

    // A far plane before the near plane gives the plain projection.
    t.SetOrthoScaled(-2, 6, 3, -1, 5, 1);
    p = {6, 3, 1};
    t.TransformPoint(p);
    EXPECT_TRUE(VectorNear(p, {1, 1, 1}, 1e-15));
}

TEST(Projection, DepthScaleSpreadsDepthOver32750)
{
    CTransform t;
    t.SetDepthScale(0, 1, 1, 0, 2, 4);
    EXPECT_TRUE(MatrixNear(t.GetMatrix(),
                           {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 16375, 0}, {0, 0, 0, 1}}}, 0));

    t.Translate(1, 2, 3);
    const Rows before = RowsOf(t.GetMatrix());
    t.SetDepthScale(0, 1, 1, 0, 2, 2);
    EXPECT_TRUE(MatrixNear(t.GetMatrix(), before, 0));
}

TEST(Projection, FrustumMapsNearAndFarPlanes)
{
    CTransform t;
    EXPECT_EQ(&t, t.SetFrustum(-1, 1, 1, -1, 1, 3));
    EXPECT_TRUE(MatrixNear(t.GetMatrix(),
                           {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, -2, -1}, {0, 0, -3, 0}}}, 0));
    Vector3 nearCorner = {1, 1, -1};
    t.TransformPoint(nearCorner);
    EXPECT_TRUE(VectorNear(nearCorner, {1, 1, -1}, 1e-15));
    Vector3 farCorner = {-3, 3, -3};
    t.TransformPoint(farCorner);
    EXPECT_TRUE(VectorNear(farCorner, {-1, 1, 1}, 1e-15));
}

TEST(Projection, FrustumOfFlatBoxReturnsNullAndChangesNothing)
{
    CTransform t;
    t.Translate(1, 2, 3);
    const Rows before = RowsOf(t.GetMatrix());
    EXPECT_EQ(nullptr, t.SetFrustum(-1, 1, 1, -1, 2, 2));
    EXPECT_EQ(nullptr, t.SetFrustum(1, 1, 1, -1, 1, 3));
    EXPECT_EQ(nullptr, t.SetFrustum(-1, 1, 1, 1, 1, 3));
    EXPECT_TRUE(MatrixNear(t.GetMatrix(), before, 0));
}

} // namespace
} // namespace qel::test
