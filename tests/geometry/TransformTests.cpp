#include "GeometryExpect.h"

#include "geometry/MatrixMath.h"
#include "geometry/Transform.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace qel::test
{
namespace
{

// The platform's cosine of the double pi/2, about 6.1e-17, taken at run time
// as the library takes it (the compiler would fold a constant argument with
// its own, more exact cosine).
double Cos90()
{
    volatile double halfPi = kPi / 2;
    return std::cos(halfPi);
}

TEST(Transform, StartsAsIdentityOrCopyOfSource)
{
    CTransform identity;
    EXPECT_TRUE(MatrixNear(identity.GetMatrix(), kIdentityRows, 0));

    CTransform source;
    source.Translate(1, 2, 3);
    CTransform copy(&source);
    EXPECT_TRUE(MatrixNear(copy.GetMatrix(), RowsOf(source.GetMatrix()), 0));

    copy.SetFrom(nullptr);
    EXPECT_TRUE(MatrixNear(copy.GetMatrix(), kIdentityRows, 0));
}

TEST(Transform, SetFromItselfKeepsElements)
{
    CTransform t;
    t.Translate(1, 2, 3);
    t.SetFrom(&t);
    EXPECT_TRUE(
        MatrixNear(t.GetMatrix(), {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {1, 2, 3, 1}}}, 0));
    t.SetValues(&t.GetMatrix()[0][0]);
    EXPECT_EQ(3.0, t.GetMatrix()[3][2]);
}

TEST(Transform, GetValuesAndSetValuesAreRowMajor)
{
    double values[16];
    for (int i = 0; i < 16; ++i)
        values[i] = i;
    CTransform t;
    t.SetValues(values);
    EXPECT_EQ(7.0, t.GetMatrix()[1][3]);
    EXPECT_EQ(12.0, t.GetMatrix()[3][0]);
    double back[16];
    t.GetValues(back);
    EXPECT_EQ(0, std::memcmp(values, back, sizeof values));
}

TEST(Rotation, RotateZBy90OnIdentity)
{
    const double c = Cos90();
    EXPECT_NEAR(6.1e-17, c, 0.1e-17);
    CTransform t;
    t.RotateZ(90);
    EXPECT_TRUE(
        MatrixNear(t.GetMatrix(), {{{c, 1, 0, 0}, {-1, c, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}}, 0));
}

struct RotationCase
{
    const char* name;
    void (CTransform::*rotate)(double);
    Vector3 from;
    Vector3 to;
};

class QuarterTurnTest : public ::testing::TestWithParam<RotationCase>
{
};

TEST_P(QuarterTurnTest, TurnsCounterClockwiseAboutPositiveAxis)
{
    CTransform t;
    (t.*GetParam().rotate)(90);
    Vector3 p = GetParam().from;
    EXPECT_EQ(1, t.TransformPoint(p));
    EXPECT_TRUE(VectorNear(p, GetParam().to, 1e-15));
}

INSTANTIATE_TEST_SUITE_P(
    Axes, QuarterTurnTest,
    ::testing::Values(RotationCase{"X", &CTransform::RotateX, {0, 1, 0}, {0, 0, 1}},
                      RotationCase{"Y", &CTransform::RotateY, {0, 0, 1}, {1, 0, 0}},
                      RotationCase{"Z", &CTransform::RotateZ, {1, 0, 0}, {0, 1, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

struct EqualAnglesCase
{
    double first;
    double second;
};

class EqualAnglesTest : public ::testing::TestWithParam<EqualAnglesCase>
{
};

TEST_P(EqualAnglesTest, AnglesOneTurnApartGiveIdenticalElements)
{
    for (auto rotate : {&CTransform::RotateX, &CTransform::RotateY, &CTransform::RotateZ})
    {
        CTransform first;
        CTransform second;
        (first.*rotate)(GetParam().first);
        (second.*rotate)(GetParam().second);
        EXPECT_TRUE(MatrixNear(first.GetMatrix(), RowsOf(second.GetMatrix()), 0))
            << GetParam().first << " and " << GetParam().second;
    }
}

INSTANTIATE_TEST_SUITE_P(Angles, EqualAnglesTest,
                         ::testing::Values(EqualAnglesCase{-45, 315}, EqualAnglesCase{405, 45},
                                           EqualAnglesCase{720, 360}, EqualAnglesCase{-360, 0}));

struct CompositionCase
{
    const char* name;
    std::function<void(CTransform&)> operations;
    Rows expected;
    Vector3 point;
    Vector3 mappedPoint;
};

class CompositionTest : public ::testing::TestWithParam<CompositionCase>
{
};

TEST_P(CompositionTest, FirstCallActsFirst)
{
    CTransform t;
    GetParam().operations(t);
    EXPECT_TRUE(MatrixNear(t.GetMatrix(), GetParam().expected, 0));
    Vector3 p = GetParam().point;
    t.TransformPoint(p);
    EXPECT_TRUE(VectorNear(p, GetParam().mappedPoint, 0));
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, CompositionTest,
    ::testing::Values(CompositionCase{"TranslateThenScale",
                                      [](CTransform& t)
                                      {
                                          t.Translate(1, 2, 3);
                                          t.Scale(2, 3, 4);
                                      },
                                      {{{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 0}, {2, 6, 12, 1}}},
                                      {1, 1, 1},
                                      {4, 9, 16}},
                      CompositionCase{"ScaleThenTranslate",
                                      [](CTransform& t)
                                      {
                                          t.Scale(2, 3, 4);
                                          t.Translate(1, 2, 3);
                                      },
                                      {{{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 0}, {1, 2, 3, 1}}},
                                      {1, 1, 1},
                                      {3, 5, 7}},
                      CompositionCase{"RotateThenTranslate",
                                      [](CTransform& t)
                                      {
                                          t.RotateZCosSin(0, 1);
                                          t.Translate(1, 0, 0);
                                      },
                                      {{{0, 1, 0, 0}, {-1, 0, 0, 0}, {0, 0, 1, 0}, {1, 0, 0, 1}}},
                                      {1, 0, 0},
                                      {1, 1, 0}},
                      CompositionCase{"TranslateThenRotate",
                                      [](CTransform& t)
                                      {
                                          t.Translate(1, 0, 0);
                                          t.RotateZCosSin(0, 1);
                                      },
                                      {{{0, 1, 0, 0}, {-1, 0, 0, 0}, {0, 0, 1, 0}, {0, 1, 0, 1}}},
                                      {1, 0, 0},
                                      {0, 2, 0}},
                      CompositionCase{"RotateXThenRotateY",
                                      [](CTransform& t)
                                      {
                                          t.RotateXCosSin(0, 1);
                                          t.RotateYCosSin(0, 1);
                                      },
                                      {{{0, 0, -1, 0}, {1, 0, 0, 0}, {0, -1, 0, 0}, {0, 0, 0, 1}}},
                                      {0, 1, 0},
                                      {1, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Scale, ReplacesTinyFactorsByOne)
{
    CTransform t;
    t.Scale(2, 0, 3);
    EXPECT_TRUE(
        MatrixNear(t.GetMatrix(), {{{2, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 3, 0}, {0, 0, 0, 1}}}, 0));
    t.Scale(1e-10, -1e-9, 1);
    EXPECT_TRUE(MatrixNear(t.GetMatrix(),
                           {{{2, 0, 0, 0}, {0, -1e-9, 0, 0}, {0, 0, 3, 0}, {0, 0, 0, 1}}}, 0));
}

TEST(Scale, UniformScaleOfZeroChangesNothing)
{
    CTransform t;
    t.Translate(1, 2, 3);
    const Rows before = RowsOf(t.GetMatrix());
    t.ScaleUniform(0);
    t.ScaleUniform(-5e-10);
    EXPECT_TRUE(MatrixNear(t.GetMatrix(), before, 0));
    t.ScaleUniform(-2);
    EXPECT_TRUE(MatrixNear(t.GetMatrix(),
                           {{{-2, 0, 0, 0}, {0, -2, 0, 0}, {0, 0, -2, 0}, {-2, -4, -6, 1}}}, 0));
}

TEST(Mapping, TranslationMovesPointsButNotVectors)
{
    CTransform t;
    t.TranslateBy({1, 2, 3});
    Vector3 point;
    EXPECT_EQ(1, t.TransformPoint(point));
    EXPECT_TRUE(VectorNear(point, {1, 2, 3}, 0));
    Vector3 vector = {1, 0, 0};
    EXPECT_EQ(1, t.TransformVector(vector));
    EXPECT_TRUE(VectorNear(vector, {1, 0, 0}, 0));
    Vector3 origin;
    t.GetOrigin(&origin);
    EXPECT_TRUE(VectorNear(origin, {1, 2, 3}, 0));
    t.GetOrigin(nullptr);
}

TEST(Mapping, DividesByHomogeneousW)
{
    CTransform t;
    SetRows(t, {{{1, 0, 0, 1}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}});
    Vector3 point = {1, 4, 6};
    t.TransformPoint(point);
    EXPECT_TRUE(VectorNear(point, {0.5, 2, 3}, 0));
    Vector3 vector = {3, 6, 9};
    t.TransformVector(vector);
    EXPECT_TRUE(VectorNear(vector, {0.75, 1.5, 2.25}, 0));
}

struct ZeroWCase
{
    const char* name;
    double w;
};

class ZeroWTest : public ::testing::TestWithParam<ZeroWCase>
{
};

TEST_P(ZeroWTest, ZeroOrNaNWIsReplacedByTinyValue)
{
    CTransform t;
    SetRows(t, {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {1, 2, 3, GetParam().w}}});
    Vector3 point;
    t.TransformPoint(point);
    EXPECT_DOUBLE_EQ(1e10, point.x);
    EXPECT_DOUBLE_EQ(2e10, point.y);
    EXPECT_DOUBLE_EQ(3e10, point.z);
    Vector3 vector = {1, 0, 0};
    t.TransformVector(vector);
    EXPECT_DOUBLE_EQ(1e10, vector.x);
}

INSTANTIATE_TEST_SUITE_P(Values, ZeroWTest,
                         ::testing::Values(ZeroWCase{"Zero", 0.0}, ZeroWCase{"NaN", std::nan("")}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Mapping, TransformDirectionNormalisesLongEnoughResults)
{
    CTransform t;
    t.ScaleUniform(2);
    t.Translate(5, 5, 5);
    Vector3 direction = {3, 4, 0};
    EXPECT_EQ(1, t.TransformDirection(direction));
    EXPECT_TRUE(VectorNear(direction, {0.6, 0.8, 0}, 1e-16));

    CTransform identity;
    Vector3 tiny = {1e-10, 0, 0};
    identity.TransformDirection(tiny);
    EXPECT_TRUE(VectorNear(tiny, {1e-10, 0, 0}, 0));
}

TEST(Composition, MultiplyByNullChangesNothing)
{
    CTransform t;
    t.Translate(1, 2, 3);
    const Rows before = RowsOf(t.GetMatrix());
    t.Multiply(nullptr);
    EXPECT_TRUE(MatrixNear(t.GetMatrix(), before, 0));
}

TEST(Composition, MultiplyTransposedAndTranspose)
{
    const double translation[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {1, 2, 3, 1}};
    const Rows transposed = {{{1, 0, 0, 1}, {0, 1, 0, 2}, {0, 0, 1, 3}, {0, 0, 0, 1}}};
    CTransform t;
    t.MultiplyTransposed(translation);
    EXPECT_TRUE(MatrixNear(t.GetMatrix(), transposed, 0));
    t.Transpose();
    EXPECT_TRUE(MatrixNear(t.GetMatrix(), RowsOf(translation), 0));
}

TEST(Composition, SetProductAcceptsOwnMatrixAsEitherOperand)
{
    const double scale[4][4] = {{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 0}, {0, 0, 0, 1}};

    CTransform t;
    t.Translate(1, 2, 3);
    t.SetProduct(t.GetMatrix(), scale);
    EXPECT_TRUE(
        MatrixNear(t.GetMatrix(), {{{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 0}, {2, 6, 12, 1}}}, 0));

    t.SetIdentity();
    t.Translate(1, 2, 3);
    t.SetProduct(scale, t.GetMatrix());
    EXPECT_TRUE(
        MatrixNear(t.GetMatrix(), {{{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 0}, {1, 2, 3, 1}}}, 0));

    t.SetIdentity();
    t.RotateZCosSin(0, 1);
    t.SetProduct(t.GetMatrix(), t.GetMatrix());
    EXPECT_TRUE(
        MatrixNear(t.GetMatrix(), {{{-1, 0, 0, 0}, {0, -1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}}, 0));

    t.SetIdentity();
    t.Translate(1, 2, 3);
    t.Multiply(t.GetMatrix());
    EXPECT_TRUE(
        MatrixNear(t.GetMatrix(), {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {2, 4, 6, 1}}}, 0));
}

// A random matrix that is well-conditioned (diagonally dominant), with its
// rows reversed so that the elimination has to pivot.
void RandomWellConditioned(std::mt19937& random, double m[4][4])
{
    std::uniform_real_distribution<double> element(-1.0, 1.0);
    for (int i = 0; i < 4; ++i)
    {
        for (int j = 0; j < 4; ++j)
            m[3 - i][j] = element(random) + (i == j ? (element(random) < 0 ? -5.0 : 5.0) : 0.0);
    }
}

TEST(Invert, ProductWithInverseIsIdentity)
{
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round)
    {
        double m[4][4];
        RandomWellConditioned(random, m);
        CTransform t;
        t.SetValues(&m[0][0]);
        ASSERT_EQ(1, t.Invert()) << "round " << round;
        CTransform product;
        product.SetProduct(m, t.GetMatrix());
        EXPECT_TRUE(MatrixNear(product.GetMatrix(), kIdentityRows, 1e-12)) << "round " << round;
        product.SetProduct(t.GetMatrix(), m);
        EXPECT_TRUE(MatrixNear(product.GetMatrix(), kIdentityRows, 1e-12)) << "round " << round;
    }
}

// Gauss elimination with partial pivoting in the plainest form, row by row:
// the transform's inverse must match it bit for bit.
int ReferenceInvert(const double m[4][4], double out[4][4])
{
    double a[4][4];
    double r[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    std::memcpy(a, m, sizeof a);
    for (int q = 0; q < 4; ++q)
    {
        int pivot = q;
        for (int s = q + 1; s < 4; ++s)
        {
            if (std::fabs(a[s][q]) > std::fabs(a[pivot][q]))
                pivot = s;
        }
        for (int j = 0; j < 4; ++j)
        {
            std::swap(a[q][j], a[pivot][j]);
            std::swap(r[q][j], r[pivot][j]);
        }
        for (int s = q + 1; s < 4; ++s)
        {
            const double f = a[s][q] / a[q][q];
            for (int j = 0; j < 4; ++j)
            {
                a[s][j] -= f * a[q][j];
                r[s][j] -= f * r[q][j];
            }
        }
    }
    for (int q = 3; q >= 0; --q)
    {
        if (a[q][q] == 0 || std::isnan(a[q][q]))
            return 0;
        for (int s = 0; s < q; ++s)
        {
            const double f = a[s][q] / a[q][q];
            for (int j = 0; j < 4; ++j)
                r[s][j] -= f * r[q][j];
        }
    }
    for (int q = 0; q < 4; ++q)
    {
        for (int j = 0; j < 4; ++j)
            out[q][j] = r[q][j] / a[q][q];
    }
    return 1;
}

TEST(Invert, MatchesPlainEliminationBitForBit)
{
    // Dense and sparse matrices in every row order, so that each pivot choice occurs.
    std::mt19937 random(2024);
    std::uniform_real_distribution<double> element(-10.0, 10.0);
    std::uniform_int_distribution<int> coin(0, 3);
    for (int round = 0; round < 2000; ++round)
    {
        double m[4][4];
        for (auto& row : m)
        {
            for (double& value : row)
                value = coin(random) == 0 ? 0.0 : element(random);
        }
        double expected[4][4];
        const int expectedResult = ReferenceInvert(m, expected);

        CTransform t;
        t.SetValues(&m[0][0]);
        ASSERT_EQ(expectedResult, t.Invert()) << "round " << round;
        if (expectedResult == 1)
        {
            ASSERT_EQ(0, std::memcmp(expected, t.GetMatrix(), sizeof expected))
                << "round " << round << Describe(RowsOf(t.GetMatrix()))
                << Describe(RowsOf(expected));
        }
    }
}

TEST(Invert, PermutationNeedingPivotsInvertsExactly)
{
    CTransform t;
    SetRows(t, {{{0, 0, 2, 0}, {4, 0, 0, 0}, {0, 0, 0, 8}, {0, 1, 0, 0}}});
    ASSERT_EQ(1, t.Invert());
    EXPECT_TRUE(MatrixNear(t.GetMatrix(),
                           {{{0, 0.25, 0, 0}, {0, 0, 0, 1}, {0.5, 0, 0, 0}, {0, 0, 0.125, 0}}}, 0));
}

TEST(Invert, InverseOfRotationIsOppositeRotation)
{
    CTransform t;
    t.RotateZ(30);
    ASSERT_EQ(1, t.Invert());
    CTransform opposite;
    opposite.RotateZ(-30);
    EXPECT_TRUE(MatrixNear(t.GetMatrix(), RowsOf(opposite.GetMatrix()), 1e-15));
}

TEST(Invert, TinyPivotCountsAsRegular)
{
    CTransform t;
    SetRows(t, {{{1e-300, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}});
    ASSERT_EQ(1, t.Invert());
    EXPECT_DOUBLE_EQ(1e300, t.GetMatrix()[0][0]);
}

struct SingularCase
{
    const char* name;
    Rows m;
};

class SingularInvertTest : public ::testing::TestWithParam<SingularCase>
{
};

TEST_P(SingularInvertTest, ReturnsZeroAndLeavesElements)
{
    CTransform t;
    SetRows(t, GetParam().m);
    double before[16];
    t.GetValues(before);
    EXPECT_EQ(0, t.Invert());
    double after[16];
    t.GetValues(after);
    EXPECT_EQ(0, std::memcmp(before, after, sizeof before));
}

INSTANTIATE_TEST_SUITE_P(
    Matrices, SingularInvertTest,
    ::testing::Values(
        SingularCase{"ZeroRow", {{{1, 2, 3, 4}, {0, 0, 0, 0}, {5, 6, 7, 8}, {1, 0, 0, 1}}}},
        SingularCase{"ZeroColumn", {{{1, 0, 3, 4}, {2, 0, 1, 0}, {5, 0, 7, 8}, {1, 0, 0, 1}}}},
        SingularCase{"EqualRows", {{{1, 2, 3, 4}, {5, 6, 7, 8}, {1, 2, 3, 4}, {0, 0, 0, 1}}}},
        SingularCase{"NaNElement",
                     {{{1, 0, 0, 0}, {0, std::nan(""), 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}}},
        SingularCase{"AllZero", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Format, WritesOneColumnPerLine)
{
    CTransform t;
    t.Translate(1, 2, -3.25);
    EXPECT_STREQ("1.00, 0.00, 0.00, 1.00\n"
                 "0.00, 1.00, 0.00, 2.00\n"
                 "0.00, 0.00, 1.00, -3.25\n"
                 "0.00, 0.00, 0.00, 1.00",
                 t.Format().c_str());
}

std::vector<std::string> Lines(const char* text)
{
    std::vector<std::string> lines(1);
    for (const char* c = text; *c != '\0'; ++c)
    {
        if (*c == '\n')
            lines.emplace_back();
        else
            lines.back() += *c;
    }
    return lines;
}

struct HugeCase
{
    const char* name;
    double value;
    const char* lineStart;
};

class FormatHugeTest : public ::testing::TestWithParam<HugeCase>
{
};

TEST_P(FormatHugeTest, CutsLinesAtTheirBuffer)
{
    CTransform t;
    double values[16];
    for (double& value : values)
        value = GetParam().value;
    t.SetValues(values);
    const std::string text = t.Format();

    ASSERT_LT(text.size(), static_cast<std::size_t>(CTransform::kFormatBufferSize));
    const std::vector<std::string> lines = Lines(text.c_str());
    ASSERT_EQ(4u, lines.size());
    for (const std::string& line : lines)
    {
        EXPECT_EQ(static_cast<std::size_t>(CTransform::kFormatLineSize - 1), line.size());
        EXPECT_EQ(0u, line.find(GetParam().lineStart)) << line;
        EXPECT_EQ(std::string::npos, line.find(',')) << "one value fills the line";
        EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(line.back()))) << line;
    }
}

INSTANTIATE_TEST_SUITE_P(Values, FormatHugeTest,
                         ::testing::Values(HugeCase{"Positive", 1e300, "1000000000"},
                                           HugeCase{"Negative", -1e300, "-1000000000"},
                                           HugeCase{"Largest", 1.7976931348623157e308, "17976931"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Format, KeepsLargeValuesThatFit)
{
    // 1e50 takes 51 digits and ".00": the line fits and is not cut.
    CTransform t;
    t.ScaleUniform(1e50);
    const std::vector<std::string> lines = Lines(t.Format().c_str());
    ASSERT_EQ(4u, lines.size());
    EXPECT_EQ(0u, lines[0].find("100000000000000007")) << lines[0];
    EXPECT_EQ(54u + std::strlen(", 0.00, 0.00, 0.00"), lines[0].size()) << lines[0];
    EXPECT_EQ(".00, 0.00, 0.00, 0.00", lines[0].substr(51)) << lines[0];
    EXPECT_EQ("0.00, 0.00, 0.00, 1.00", lines[3]);
}

} // namespace
} // namespace qel::test
