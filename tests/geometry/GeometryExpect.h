// Comparisons of matrices and vectors that print both sides on a mismatch.
#pragma once

#include "geometry/Transform.h"
#include "geometry/Vector3.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <sstream>

namespace qel::test
{

using Rows = std::array<std::array<double, 4>, 4>;

inline Rows RowsOf(const double m[4][4])
{
    Rows rows;
    for (int i = 0; i < 4; ++i)
    {
        for (int j = 0; j < 4; ++j)
            rows[i][j] = m[i][j];
    }
    return rows;
}

inline std::string Describe(const Rows& rows)
{
    std::ostringstream text;
    text.precision(17);
    for (const auto& row : rows)
        text << "\n  (" << row[0] << ", " << row[1] << ", " << row[2] << ", " << row[3] << ")";
    return text.str();
}

inline ::testing::AssertionResult MatrixNear(const double actual[4][4], const Rows& expected,
                                             double tolerance)
{
    const Rows rows = RowsOf(actual);
    for (int i = 0; i < 4; ++i)
    {
        for (int j = 0; j < 4; ++j)
        {
            if (!(std::fabs(rows[i][j] - expected[i][j]) <= tolerance))
            {
                return ::testing::AssertionFailure()
                       << "element [" << i << "][" << j << "] differs; actual:" << Describe(rows)
                       << "\nexpected:" << Describe(expected);
            }
        }
    }
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult VectorNear(const Vector3& actual, const Vector3& expected,
                                             double tolerance)
{
    if (std::fabs(actual.x - expected.x) <= tolerance &&
        std::fabs(actual.y - expected.y) <= tolerance &&
        std::fabs(actual.z - expected.z) <= tolerance)
        return ::testing::AssertionSuccess();
    std::ostringstream text;
    text.precision(17);
    text << "actual (" << actual.x << ", " << actual.y << ", " << actual.z << "), expected ("
         << expected.x << ", " << expected.y << ", " << expected.z << ")";
    return ::testing::AssertionFailure() << text.str();
}

inline void SetRows(CTransform& transform, const Rows& rows)
{
    double values[16];
    for (int i = 0; i < 16; ++i)
        values[i] = rows[i / 4][i % 4];
    transform.SetValues(values);
}

inline const Rows kIdentityRows = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};

} // namespace qel::test
