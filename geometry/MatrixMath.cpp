#include "geometry/MatrixMath.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace qel
{
namespace
{

// Beyond this many degrees the angle is reduced with fmod instead of the
// 360-degree steps: a huge angle would take practically forever, and from
// about 2^53 on a step no longer changes the value at all. Below 2^53 every
// step is exact, so both ways give the same result.
constexpr double kStepwiseReductionLimit = 36000.0;

// The exact remainder, with the end points the stepwise reduction reaches:
// a positive multiple of 360 ends at 360, a negative one at +0.
double ReduceByRemainder(double degrees)
{
    const double rest = std::fmod(degrees, 360.0);
    if (degrees > 0.0)
        return rest == 0.0 ? 360.0 : rest;
    return rest < 0.0 ? rest + 360.0 : 0.0;
}

void CopyMatrix(const double source[4][4], double destination[4][4])
{
    std::memcpy(destination, source, 16 * sizeof(double));
}

// The three indices of 0..3 other than skipped, in ascending order.
void OtherIndices(int skipped, int others[3])
{
    int count = 0;
    for (int i = 0; i < 4; ++i)
    {
        if (i != skipped)
            others[count++] = i;
    }
}

// Determinant of m without the given row and column.
double Minor(const double m[4][4], int row, int column)
{
    int r[3];
    int c[3];
    OtherIndices(row, r);
    OtherIndices(column, c);
    return Determinant3(m[r[0]][c[0]], m[r[1]][c[0]], m[r[2]][c[0]], m[r[0]][c[1]], m[r[1]][c[1]],
                        m[r[2]][c[1]], m[r[0]][c[2]], m[r[1]][c[2]], m[r[2]][c[2]]);
}

Vector3 FirstThree(const double row[4])
{
    return {row[0], row[1], row[2]};
}

// v := v - k * w
void SubtractScaled(Vector3& v, double k, const Vector3& w)
{
    v.x = v.x - k * w.x;
    v.y = v.y - k * w.y;
    v.z = v.z - k * w.z;
}

void Negate(Vector3& v)
{
    v = {-v.x, -v.y, -v.z};
}

// Moves the perspective column of l into out[12..15]. Returns 0 when the
// upper part cannot be inverted.
int SplitPerspective(double l[4][4], const double p[4][4], double out[16])
{
    if (l[0][3] == 0.0 && l[1][3] == 0.0 && l[2][3] == 0.0)
    {
        out[kPerspectiveX] = out[kPerspectiveY] = out[kPerspectiveZ] = out[kPerspectiveW] = 0.0;
        return 1;
    }
    const double rightHandSide[4] = {l[0][3], l[1][3], l[2][3], l[3][3]};
    double inverse[4][4];
    if (!InvertAdjugate(p, inverse))
        return 0;
    TransposeMatrix(inverse, inverse);
    MultiplyRowVector(rightHandSide, inverse, out + kPerspectiveX);
    l[0][3] = l[1][3] = l[2][3] = 0.0;
    l[3][3] = 1.0;
    return 1;
}

// Gram-Schmidt on the rows of the upper part: scales, shears and the
// orthonormal rows r[0..2] of the rotation.
void SplitScaleAndShear(const double l[4][4], double out[16], Vector3 r[3])
{
    r[0] = FirstThree(l[0]);
    r[1] = FirstThree(l[1]);
    r[2] = FirstThree(l[2]);

    out[kScaleX] = VectorLength(r[0]);
    NormalizeInPlace(r[0]);
    out[kShearXY] = DotProduct(r[0], r[1]);
    SubtractScaled(r[1], out[kShearXY], r[0]);
    out[kScaleY] = VectorLength(r[1]);
    NormalizeInPlace(r[1]);
    out[kShearXY] /= out[kScaleY];

    out[kShearXZ] = DotProduct(r[0], r[2]);
    SubtractScaled(r[2], out[kShearXZ], r[0]);
    out[kShearYZ] = DotProduct(r[1], r[2]);
    SubtractScaled(r[2], out[kShearYZ], r[1]);
    out[kScaleZ] = VectorLength(r[2]);
    NormalizeInPlace(r[2]);
    out[kShearXZ] /= out[kScaleZ];
    out[kShearYZ] /= out[kScaleZ];

    // A reflection goes into the scales, leaving a proper rotation.
    Vector3 cross;
    CrossProduct(cross, r[1], r[2]);
    if (DotProduct(r[0], cross) < 0.0)
    {
        for (int i = 0; i < 3; ++i)
        {
            out[kScaleX + i] = -out[kScaleX + i];
            Negate(r[i]);
        }
    }
}

void SplitRotation(const Vector3 r[3], double out[16])
{
    out[kRotateY] = std::asin(-r[0].z);
    if (std::cos(out[kRotateY]) != 0.0)
    {
        out[kRotateX] = std::atan2(r[1].z, r[2].z);
        out[kRotateZ] = std::atan2(r[0].y, r[0].x);
    }
    else
    {
        out[kRotateX] = std::atan2(r[1].x, r[1].y);
        out[kRotateZ] = 0.0;
    }
}

} // namespace

double DegreesToRadians(double degrees)
{
    if (!std::isfinite(degrees))
        return std::numeric_limits<double>::quiet_NaN();
    double value = degrees;
    if (std::fabs(value) > kStepwiseReductionLimit)
        value = ReduceByRemainder(value);
    while (value < 0.0)
        value += 360.0;
    while (value > 360.0)
        value -= 360.0;
    return value * kPi / 180.0;
}

double NormalizeAngle(double radians)
{
    const double rest = std::fmod(radians, kTwoPi);
    return radians < 0.0 ? rest + kTwoPi : rest;
}

void TransposeMatrix(const double source[4][4], double destination[4][4])
{
    double result[4][4];
    for (int i = 0; i < 4; ++i)
    {
        for (int j = 0; j < 4; ++j)
            result[i][j] = source[j][i];
    }
    CopyMatrix(result, destination);
}

void MultiplyRowVector(const double p[4], const double m[4][4], double destination[4])
{
    double result[4];
    for (int i = 0; i < 4; ++i)
        result[i] = p[0] * m[0][i] + p[1] * m[1][i] + p[2] * m[2][i] + p[3] * m[3][i];
    std::memcpy(destination, result, sizeof result);
}

double Determinant2(double a, double b, double c, double d)
{
    return a * d - b * c;
}

double Determinant3(double a1, double a2, double a3, double b1, double b2, double b3, double c1,
                    double c2, double c3)
{
    return a1 * Determinant2(b2, b3, c2, c3) - b1 * Determinant2(a2, a3, c2, c3) +
           c1 * Determinant2(a2, a3, b2, b3);
}

double Determinant4(const double m[4][4])
{
    return m[0][0] * Minor(m, 0, 0) - m[0][1] * Minor(m, 0, 1) + m[0][2] * Minor(m, 0, 2) -
           m[0][3] * Minor(m, 0, 3);
}

void Adjugate(const double in[4][4], double out[4][4])
{
    double result[4][4];
    for (int row = 0; row < 4; ++row)
    {
        for (int column = 0; column < 4; ++column)
        {
            const double minor = Minor(in, row, column);
            result[column][row] = (row + column) % 2 == 0 ? minor : -minor;
        }
    }
    CopyMatrix(result, out);
}

int InvertAdjugate(const double in[4][4], double out[4][4])
{
    const double determinant = Determinant4(in);
    Adjugate(in, out);
    if (std::fabs(determinant) < kMinAdjugateDeterminant)
    {
        std::fputs("Non-singular matrix, no inverse!\n", stdout);
        return 0;
    }
    for (int i = 0; i < 4; ++i)
    {
        for (int j = 0; j < 4; ++j)
            out[i][j] /= determinant;
    }
    return 1;
}

int DecomposeMatrix(const double in[4][4], double out[16])
{
    if (in[3][3] == 0.0)
        return 0;
    double l[4][4];
    for (int i = 0; i < 4; ++i)
    {
        for (int j = 0; j < 4; ++j)
            l[i][j] = in[i][j] / in[3][3];
    }

    double p[4][4];
    CopyMatrix(l, p);
    p[0][3] = p[1][3] = p[2][3] = 0.0;
    p[3][3] = 1.0;
    if (Determinant4(p) == 0.0)
        return 0;

    if (!SplitPerspective(l, p, out))
        return 0;

    for (int i = 0; i < 3; ++i)
    {
        out[kTranslateX + i] = l[3][i];
        l[3][i] = 0.0;
    }

    Vector3 rotationRows[3];
    SplitScaleAndShear(l, out, rotationRows);
    SplitRotation(rotationRows, out);
    return 1;
}

int ArbitraryAxis(Vector3 axes[3], const Vector3& normal)
{
    Vector3 zAxis;
    if (NormalizeVector(zAxis, normal) != 0)
        return -1;

    // Normals close to the world Z axis take the world Y axis as helper.
    constexpr double kArbitraryAxisBound = 1.0 / 64.0;
    Vector3 helper = {0.0, 0.0, 1.0};
    if (std::fabs(zAxis.x) < kArbitraryAxisBound && std::fabs(zAxis.y) < kArbitraryAxisBound)
        helper = {0.0, 1.0, 0.0};

    CrossProduct(axes[0], helper, zAxis);
    NormalizeInPlace(axes[0]);
    CrossProduct(axes[1], zAxis, axes[0]);
    NormalizeInPlace(axes[1]);
    axes[2] = zAxis;
    return 0;
}

} // namespace qel
