#include "GeometryExpect.h"

#include "geometry/MatrixMath.h"
#include "geometry/Transform.h"

#include <gtest/gtest.h>

#include <string>

namespace qel::test
{
namespace
{

struct Parts
{
    Vector3 scale;
    Vector3 shear; // XY, XZ, YZ
    Vector3 rotation;
    Vector3 translation;
    Vector3 perspective; // W follows from the other parts: element [3][3] stays 1
};

double PerspectiveW(const Parts& parts)
{
    return 1.0 - DotProduct(parts.translation, parts.perspective);
}

// Scale, then shear, then rotation about X, Y and Z, then translation, then
// perspective, as row vectors meet them.
void Compose(CTransform& t, const Vector3& scale, const Vector3& shear, const Vector3& rotation,
             const Vector3& translation, const double perspective[4])
{
    t.SetIdentity();
    t.Scale(scale.x, scale.y, scale.z);
    const double shearMatrix[4][4] = {
        {1, 0, 0, 0}, {shear.x, 1, 0, 0}, {shear.y, shear.z, 1, 0}, {0, 0, 0, 1}};
    t.Multiply(shearMatrix);
    t.RotateXRadians(rotation.x);
    t.RotateYRadians(rotation.y);
    t.RotateZRadians(rotation.z);
    t.TranslateBy(translation);
    const double perspectiveMatrix[4][4] = {{1, 0, 0, perspective[0]},
                                            {0, 1, 0, perspective[1]},
                                            {0, 0, 1, perspective[2]},
                                            {0, 0, 0, perspective[3]}};
    t.Multiply(perspectiveMatrix);
}

void ComposeFromDecomposition(CTransform& t, const double d[16])
{
    Compose(t, {d[kScaleX], d[kScaleY], d[kScaleZ]}, {d[kShearXY], d[kShearXZ], d[kShearYZ]},
            {d[kRotateX], d[kRotateY], d[kRotateZ]},
            {d[kTranslateX], d[kTranslateY], d[kTranslateZ]}, d + kPerspectiveX);
}

void ComposeParts(CTransform& t, const Parts& p)
{
    const double perspective[4] = {p.perspective.x, p.perspective.y, p.perspective.z,
                                   PerspectiveW(p)};
    Compose(t, p.scale, p.shear, p.rotation, p.translation, perspective);
}

struct DecomposeCase
{
    const char* name;
    Parts parts;
};

class DecomposeRecoversPartsTest : public ::testing::TestWithParam<DecomposeCase>
{
};

TEST_P(DecomposeRecoversPartsTest, RecoversEveryPart)
{
    const Parts& p = GetParam().parts;
    CTransform t;
    ComposeParts(t, p);
    double d[16];
    ASSERT_EQ(1, DecomposeMatrix(t.GetMatrix(), d));
    EXPECT_TRUE(VectorNear({d[kScaleX], d[kScaleY], d[kScaleZ]}, p.scale, 1e-12)) << "scale";
    EXPECT_TRUE(VectorNear({d[kShearXY], d[kShearXZ], d[kShearYZ]}, p.shear, 1e-12)) << "shear";
    EXPECT_TRUE(VectorNear({d[kRotateX], d[kRotateY], d[kRotateZ]}, p.rotation, 1e-12))
        << "rotation";
    EXPECT_TRUE(VectorNear({d[kTranslateX], d[kTranslateY], d[kTranslateZ]}, p.translation, 1e-12))
        << "translation";
    const bool hasPerspective =
        p.perspective.x != 0 || p.perspective.y != 0 || p.perspective.z != 0;
    EXPECT_TRUE(
        VectorNear({d[kPerspectiveX], d[kPerspectiveY], d[kPerspectiveZ]}, p.perspective, 1e-12))
        << "perspective";
    EXPECT_NEAR(hasPerspective ? PerspectiveW(p) : 0.0, d[kPerspectiveW], 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Compositions, DecomposeRecoversPartsTest,
    ::testing::Values(
        DecomposeCase{"Identity", {{1, 1, 1}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
        DecomposeCase{"ScaleRotationTranslation",
                      {{2, 3, 4}, {0, 0, 0}, {0.3, -0.5, 1.2}, {1, 2, 3}, {0, 0, 0}}},
        DecomposeCase{"WithShear",
                      {{2, 0.5, 4}, {0.5, -0.25, 0.75}, {-2.5, 1.1, -0.4}, {-5, 0, 7}, {0, 0, 0}}},
        DecomposeCase{
            "WithPerspective",
            {{1.5, 2, 0.5}, {0.1, 0.2, -0.3}, {0.7, 0.2, 2.9}, {1, 2, 3}, {0.01, 0, 0.02}}},
        DecomposeCase{"PerspectiveOnly",
                      {{1, 1, 1}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0.5, 0}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Decompose, DividesByHomogeneousScaleFirst)
{
    const Parts p = {{2, 3, 4}, {0.5, 0, 0}, {0.3, -0.5, 1.2}, {1, 2, 3}, {0, 0, 0}};
    CTransform t;
    ComposeParts(t, p);
    double scaled[16];
    t.GetValues(scaled);
    for (double& value : scaled)
        value *= -4.0;
    CTransform weighted;
    weighted.SetValues(scaled);

    double d[16];
    double expected[16];
    ASSERT_EQ(1, weighted.Decompose(d));
    ASSERT_EQ(1, t.Decompose(expected));
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(expected[i], d[i], 1e-12) << "index " << i;
}

TEST(Decompose, NegativeDeterminantGoesIntoNegativeScales)
{
    const Parts p = {{-2, 3, 4}, {0.25, 0, -0.5}, {0.3, -0.5, 1.2}, {1, 2, 3}, {0, 0.02, 0}};
    CTransform original;
    ComposeParts(original, p);
    double d[16];
    ASSERT_EQ(1, original.Decompose(d));
    EXPECT_LT(d[kScaleX], 0);
    EXPECT_LT(d[kScaleY], 0);
    EXPECT_LT(d[kScaleZ], 0);
    EXPECT_NEAR(2, -d[kScaleX], 1e-12);
    EXPECT_NEAR(3, -d[kScaleY], 1e-12);
    EXPECT_NEAR(4, -d[kScaleZ], 1e-12);

    CTransform rebuilt;
    ComposeFromDecomposition(rebuilt, d);
    EXPECT_TRUE(MatrixNear(rebuilt.GetMatrix(), RowsOf(original.GetMatrix()), 1e-12));
}

struct FailureCase
{
    const char* name;
    Rows m;
    const char* output;
};

class DecomposeFailureTest : public ::testing::TestWithParam<FailureCase>
{
};

TEST_P(DecomposeFailureTest, ReturnsZeroAndWritesNoComponent)
{
    CTransform t;
    SetRows(t, GetParam().m);
    double d[16];
    double values[9];
    for (double& value : values)
        value = -123.0;

    ::testing::internal::CaptureStdout();
    EXPECT_EQ(0, t.Decompose(d));
    EXPECT_EQ(0, t.GetComponents(&values[0], &values[1], &values[2], &values[3], &values[4],
                                 &values[5], &values[6], &values[7], &values[8]));
    const std::string output = ::testing::internal::GetCapturedStdout();

    for (double value : values)
        EXPECT_EQ(-123.0, value);
    // Once for Decompose, once for GetComponents.
    const std::string once = GetParam().output;
    EXPECT_EQ(once + once, output);
}

INSTANTIATE_TEST_SUITE_P(
    Matrices, DecomposeFailureTest,
    ::testing::Values(
        FailureCase{
            "ZeroHomogeneousScale", {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {1, 2, 3, 0}}}, ""},
        FailureCase{
            "SingularUpperPart", {{{1, 2, 3, 0}, {2, 4, 6, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}}, ""},
        FailureCase{"PerspectiveWithoutInverse",
                    {{{1e-3, 0, 0, 0.5}, {0, 1e-3, 0, 0}, {0, 0, 1e-3, 0}, {0, 0, 0, 1}}},
                    "Non-singular matrix, no inverse!\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Decompose, TinyUpperPartWithoutPerspectiveNeedsNoInverse)
{
    // The adjugate inverse is only taken for the perspective part.
    CTransform t;
    SetRows(t, {{{1e-3, 0, 0, 0}, {0, 1e-3, 0, 0}, {0, 0, 1e-3, 0}, {0, 0, 0, 1}}});
    double scaleX = 0;
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(1, t.GetComponents(&scaleX, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr));
    EXPECT_EQ("", ::testing::internal::GetCapturedStdout());
    EXPECT_EQ(1e-3, scaleX);
}

TEST(GetComponents, RotationAboutZOfMinus45IsSevenQuartersPi)
{
    CTransform t;
    t.RotateZ(-45);
    double rotateZ = 0;
    ASSERT_EQ(1, t.GetComponents(nullptr, nullptr, nullptr, nullptr, nullptr, &rotateZ, nullptr,
                                 nullptr, nullptr));
    EXPECT_NEAR(7 * kPi / 4, rotateZ, 1e-12);
}

TEST(GetComponents, ReturnsScalesRotationsAndTranslations)
{
    CTransform t;
    t.Scale(2, 3, 4);
    t.RotateX(-30);
    t.RotateY(20);
    t.RotateZ(200);
    t.Translate(7, 8, 9);
    double v[9];
    ASSERT_EQ(1, t.GetComponents(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8]));
    const double expected[9] = {2, 3, 4, 330 * kPi / 180, 20 * kPi / 180, 200 * kPi / 180, 7, 8, 9};
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(expected[i], v[i], 1e-12) << "output " << i;
}

} // namespace
} // namespace qel::test
