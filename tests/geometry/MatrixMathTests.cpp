#include "GeometryExpect.h"

#include "geometry/MatrixMath.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace qel::test
{
namespace
{

TEST(MatrixMath, TransposeMatrix_SwapsRowsAndColumnsAlsoInPlace)
{
    double m[4][4] = {{0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9, 10, 11}, {12, 13, 14, 15}};
    TransposeMatrix(m, m);
    EXPECT_TRUE(MatrixNear(m, {{{0, 4, 8, 12}, {1, 5, 9, 13}, {2, 6, 10, 14}, {3, 7, 11, 15}}}, 0));
}

TEST(MatrixMath, MultiplyRowVector_TakesRowVectorTimesMatrix)
{
    const double translation[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {10, 20, 30, 1}};
    double p[4] = {1, 2, 3, 1};
    MultiplyRowVector(p, translation, p);
    EXPECT_EQ(11, p[0]);
    EXPECT_EQ(22, p[1]);
    EXPECT_EQ(33, p[2]);
    EXPECT_EQ(1, p[3]);
}

TEST(MatrixMath, Determinant2And3)
{
    EXPECT_EQ(3.0 * 6 - 4.0 * 5, Determinant2(3, 4, 5, 6));
    // Columns (2 0 1), (1 3 2), (1 1 4): rows (2 1 1), (0 3 1), (1 2 4).
    EXPECT_EQ(18.0, Determinant3(2, 0, 1, 1, 3, 2, 1, 1, 4));
}

struct DeterminantCase
{
    const char* name;
    Rows m;
    double determinant;
};

class Determinant4Test : public ::testing::TestWithParam<DeterminantCase>
{
};

TEST_P(Determinant4Test, MatchesHandComputedValue)
{
    double m[4][4];
    for (int i = 0; i < 16; ++i)
        m[i / 4][i % 4] = GetParam().m[i / 4][i % 4];
    EXPECT_EQ(GetParam().determinant, Determinant4(m));
}

INSTANTIATE_TEST_SUITE_P(
    Matrices, Determinant4Test,
    ::testing::Values(
        DeterminantCase{"Identity", kIdentityRows, 1},
        DeterminantCase{
            "Diagonal", {{{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 0}, {0, 0, 0, 5}}}, 120},
        DeterminantCase{"RowSwap", {{{0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}}, -1},
        DeterminantCase{"General", {{{1, 2, 3, 4}, {5, 6, 7, 8}, {2, 6, 4, 8}, {3, 1, 1, 2}}}, 72},
        DeterminantCase{
            "EqualRows", {{{1, 2, 3, 4}, {5, 6, 7, 8}, {1, 2, 3, 4}, {3, 1, 1, 2}}}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MatrixMath, Adjugate_OfDiagonalHoldsProductsOfOtherDiagonalElements)
{
    double m[4][4] = {{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 0}, {0, 0, 0, 5}};
    Adjugate(m, m);
    EXPECT_TRUE(MatrixNear(m, {{{60, 0, 0, 0}, {0, 40, 0, 0}, {0, 0, 30, 0}, {0, 0, 0, 24}}}, 0));
}

TEST(MatrixMath, Adjugate_TimesMatrixGivesDeterminantTimesIdentity)
{
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> element(-2.0, 2.0);
    for (int round = 0; round < 50; ++round)
    {
        double m[4][4];
        for (auto& row : m)
        {
            for (double& value : row)
                value = element(random);
        }
        double adjugate[4][4];
        Adjugate(m, adjugate);
        const double determinant = Determinant4(m);
        CTransform product;
        product.SetProduct(m, adjugate);
        Rows expected = {};
        for (int i = 0; i < 4; ++i)
            expected[i][i] = determinant;
        EXPECT_TRUE(MatrixNear(product.GetMatrix(), expected, 1e-12)) << "round " << round;
    }
}

TEST(MatrixMath, Adjugate_CofactorSignsOfGeneralMatrix)
{
    // The transposed cofactors: element [0][1] is the cofactor of [1][0].
    const double m[4][4] = {{1, 2, 3, 4}, {5, 6, 7, 8}, {2, 6, 4, 8}, {3, 1, 1, 2}};
    double adjugate[4][4];
    Adjugate(m, adjugate);
    // -det of rows 0, 2, 3 without column 0: -det((2 3 4), (6 4 8), (1 1 2)) = -(-4) = 4
    EXPECT_EQ(4.0, adjugate[0][1]);
    // det of rows 1, 2, 3 without column 0: det((6 7 8), (6 4 8), (1 1 2)) = -12
    EXPECT_EQ(-12.0, adjugate[0][0]);
}

TEST(MatrixMath, InvertAdjugate_DividesAdjugateByDeterminant)
{
    const double m[4][4] = {{2, 0, 0, 0}, {0, 4, 0, 0}, {0, 0, 5, 0}, {0, 0, 0, 8}};
    double inverse[4][4];
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(1, InvertAdjugate(m, inverse));
    EXPECT_EQ("", ::testing::internal::GetCapturedStdout());
    EXPECT_TRUE(MatrixNear(
        inverse, {{{0.5, 0, 0, 0}, {0, 0.25, 0, 0}, {0, 0, 0.2, 0}, {0, 0, 0, 0.125}}}, 0));
}

TEST(MatrixMath, InvertAdjugate_ReportsSmallDeterminantAndKeepsAdjugate)
{
    // Determinant 1e-9: regular, but below the 1e-8 limit.
    const double m[4][4] = {{1e-3, 0, 0, 0}, {0, 1e-3, 0, 0}, {0, 0, 1e-3, 0}, {0, 0, 0, 1}};
    double out[4][4];
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(0, InvertAdjugate(m, out));
    EXPECT_EQ("Non-singular matrix, no inverse!\n", ::testing::internal::GetCapturedStdout());
    EXPECT_TRUE(MatrixNear(
        out, {{{1e-6, 0, 0, 0}, {0, 1e-6, 0, 0}, {0, 0, 1e-6, 0}, {0, 0, 0, 1e-9}}}, 1e-22));
}

// 1/64 exactly, with z chosen so that the normal's squared length is exactly
// 1: normalising leaves the components unchanged.
const double kAtBound = 1.0 / 64.0;
const double kBelowBound = std::nextafter(kAtBound, 0.0);
const double kZAtBound = std::sqrt(1.0 - kAtBound * kAtBound);
const double kZBelowBound = std::sqrt(1.0 - kBelowBound * kBelowBound);

struct ArbitraryAxisCase
{
    const char* name;
    Vector3 normal;
    Vector3 xAxis;
    Vector3 yAxis;
    Vector3 zAxis;
};

class ArbitraryAxisTest : public ::testing::TestWithParam<ArbitraryAxisCase>
{
};

TEST_P(ArbitraryAxisTest, BuildsRightHandedFrameOfNormal)
{
    const ArbitraryAxisCase& c = GetParam();
    Vector3 axes[3];
    ASSERT_EQ(0, ArbitraryAxis(axes, c.normal));
    EXPECT_TRUE(VectorNear(axes[0], c.xAxis, 1e-15)) << "X axis";
    EXPECT_TRUE(VectorNear(axes[1], c.yAxis, 1e-15)) << "Y axis";
    EXPECT_TRUE(VectorNear(axes[2], c.zAxis, 1e-15)) << "Z axis";
}

// Helper (0 1 0) gives X = (z, 0, -x) / |..|; helper (0 0 1) gives X = (-y, x, 0) / |..|.
INSTANTIATE_TEST_SUITE_P(
    Normals, ArbitraryAxisTest,
    ::testing::Values(ArbitraryAxisCase{"WorldZ", {0, 0, 1}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
                      ArbitraryAxisCase{"NegativeZ", {0, 0, -1}, {-1, 0, 0}, {0, 1, 0}, {0, 0, -1}},
                      ArbitraryAxisCase{"NearZUsesWorldY",
                                        {0.01, 0, 1},
                                        {1 / std::sqrt(1.0001), 0, -0.01 / std::sqrt(1.0001)},
                                        {0, 1, 0},
                                        {0.01 / std::sqrt(1.0001), 0, 1 / std::sqrt(1.0001)}},
                      ArbitraryAxisCase{"AwayFromZUsesWorldZ",
                                        {0.02, 0, 1},
                                        {0, 1, 0},
                                        {-1 / std::sqrt(1.0004), 0, 0.02 / std::sqrt(1.0004)},
                                        {0.02 / std::sqrt(1.0004), 0, 1 / std::sqrt(1.0004)}},
                      ArbitraryAxisCase{"JustBelowBoundUsesWorldY",
                                        {kBelowBound, 0, kZBelowBound},
                                        {kZBelowBound, 0, -kBelowBound},
                                        {0, 1, 0},
                                        {kBelowBound, 0, kZBelowBound}},
                      ArbitraryAxisCase{"AtBoundUsesWorldZ",
                                        {kAtBound, 0, kZAtBound},
                                        {0, 1, 0},
                                        {-kZAtBound, 0, kAtBound},
                                        {kAtBound, 0, kZAtBound}},
                      ArbitraryAxisCase{"YAtBoundUsesWorldZ",
                                        {0, kAtBound, kZAtBound},
                                        {-1, 0, 0},
                                        {0, -kZAtBound, kAtBound},
                                        {0, kAtBound, kZAtBound}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ArbitraryAxis, BoundNormalsHaveUnitLength)
{
    // Precondition of the bound cases above.
    EXPECT_EQ(1.0, VectorLengthSquared({kAtBound, 0, kZAtBound}));
    EXPECT_EQ(1.0, VectorLengthSquared({kBelowBound, 0, kZBelowBound}));
}

TEST(ArbitraryAxis, RefusesShortNormalAndLeavesAxes)
{
    Vector3 axes[3] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    EXPECT_EQ(-1, ArbitraryAxis(axes, {0, 0, 1e-6}));
    EXPECT_TRUE(VectorNear(axes[0], {1, 2, 3}, 0));
    EXPECT_TRUE(VectorNear(axes[1], {4, 5, 6}, 0));
    EXPECT_TRUE(VectorNear(axes[2], {7, 8, 9}, 0));
}

} // namespace
} // namespace qel::test
