#include "geometry/MatrixMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace qel::test
{
namespace
{

struct DegreesCase
{
    double degrees;
    double reducedDegrees; // exact value in 0..360 the angle is reduced to
};

class DegreesToRadiansTest : public ::testing::TestWithParam<DegreesCase>
{
};

TEST_P(DegreesToRadiansTest, ReducesIntoZeroTo360AndConverts)
{
    const DegreesCase& c = GetParam();
    EXPECT_EQ(c.reducedDegrees * kPi / 180.0, DegreesToRadians(c.degrees)) << c.degrees;
}

// Expected remainders of the huge angles were computed with exact integers.
INSTANTIATE_TEST_SUITE_P(
    Angles, DegreesToRadiansTest,
    ::testing::Values(DegreesCase{0, 0}, DegreesCase{45, 45}, DegreesCase{360, 360},
                      DegreesCase{720, 360}, DegreesCase{405, 45}, DegreesCase{-30, 330},
                      DegreesCase{-360, 0}, DegreesCase{-405, 315},
                      // A tiny negative angle rounds up to 360 on the way.
                      DegreesCase{-1e-20, 360},
                      // On both sides of the point where the remainder takes over.
                      DegreesCase{35999.5, 359.5}, DegreesCase{36000.5, 0.5},
                      DegreesCase{-36000.5, 359.5}, DegreesCase{36360, 360}, DegreesCase{-36360, 0},
                      DegreesCase{10000170, 90}, DegreesCase{-10000170, 270},
                      DegreesCase{10000080, 360}, DegreesCase{-10000080, 0}, DegreesCase{1e20, 280},
                      DegreesCase{-1e20, 80}, DegreesCase{1152921504606846976.0, 136},
                      DegreesCase{1e300, 360}, DegreesCase{-1e300, 0},
                      DegreesCase{std::numeric_limits<double>::max(), 128}));

TEST(DegreesToRadians, ReturnsNaNForInfiniteAndNaNAngles)
{
    for (double degrees :
         {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
          std::numeric_limits<double>::quiet_NaN()})
    {
        EXPECT_TRUE(std::isnan(DegreesToRadians(degrees))) << degrees;
    }
}

TEST(DegreesToRadians, FullTurnsGiveTwoPi)
{
    EXPECT_EQ(2 * kPi, DegreesToRadians(720));
    EXPECT_EQ(DegreesToRadians(330), DegreesToRadians(-30));
}

struct NormalizeCase
{
    double radians;
    double expected;
};

class NormalizeAngleTest : public ::testing::TestWithParam<NormalizeCase>
{
};

TEST_P(NormalizeAngleTest, MovesAngleIntoOneTurn)
{
    EXPECT_NEAR(GetParam().expected, NormalizeAngle(GetParam().radians), 1e-15)
        << GetParam().radians;
}

INSTANTIATE_TEST_SUITE_P(Angles, NormalizeAngleTest,
                         ::testing::Values(NormalizeCase{0, 0}, NormalizeCase{1, 1},
                                           NormalizeCase{-kPi / 4, 7 * kPi / 4},
                                           NormalizeCase{7, 7 - kTwoPi},
                                           NormalizeCase{-7, 2 * kTwoPi - 7},
                                           NormalizeCase{-kTwoPi, kTwoPi}));

} // namespace
} // namespace qel::test
