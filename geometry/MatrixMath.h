// Free functions on angles and on 4x4 matrices stored row-major
// (element [row][column]). Points are row vectors: p' = [x y z 1] x M.
#pragma once

#include "geometry/Vector3.h"

namespace qel
{

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;

// Reduces the angle into 0..360 degrees (360 itself stays 360, -30 becomes
// 330) and converts it to radians. A NaN or infinite angle gives NaN.
double DegreesToRadians(double degrees);

// Remainder of the angle by 2 pi, moved up by 2 pi when the angle is negative.
double NormalizeAngle(double radians);

// The matrix functions below accept the same array as input and output.
void TransposeMatrix(const double source[4][4], double destination[4][4]);

// destination[i] := sum over k of p[k] * m[k][i].
void MultiplyRowVector(const double p[4], const double m[4][4], double destination[4]);

double Determinant2(double a, double b, double c, double d);

// Determinant of the 3x3 matrix whose columns are (a1 a2 a3), (b1 b2 b3), (c1 c2 c3).
double Determinant3(double a1, double a2, double a3, double b1, double b2, double b3, double c1,
                    double c2, double c3);

// Expansion along row 0.
double Determinant4(const double m[4][4]);

// out := transposed matrix of cofactors, so that in x out = det(in) x identity.
void Adjugate(const double in[4][4], double out[4][4]);

// Determinants below this in magnitude have no inverse for InvertAdjugate.
constexpr double kMinAdjugateDeterminant = 1e-8;

// out := inverse of in by the adjugate. Returns 1, or 0 after writing
// "Non-singular matrix, no inverse!\n" to standard output when |det| is below
// kMinAdjugateDeterminant (out then holds the adjugate).
int InvertAdjugate(const double in[4][4], double out[4][4]);

// Indices of the decomposition result (16 doubles).
enum DecompositionIndex
{
    kScaleX = 0,
    kScaleY = 1,
    kScaleZ = 2,
    kShearXY = 3,
    kShearXZ = 4,
    kShearYZ = 5,
    kRotateX = 6,
    kRotateY = 7,
    kRotateZ = 8,
    kTranslateX = 9,
    kTranslateY = 10,
    kTranslateZ = 11,
    kPerspectiveX = 12,
    kPerspectiveY = 13,
    kPerspectiveZ = 14,
    kPerspectiveW = 15,
};

// Splits in into scale, shear, rotation (radians, applied about X, then Y,
// then Z), translation and perspective, in this order of application. Returns
// 1, or 0 when in[3][3] is 0, the upper part is singular or the perspective
// part cannot be inverted.
int DecomposeMatrix(const double in[4][4], double out[16]);

// Arbitrary axis algorithm of the DXF format: axes[0..2] := the X, Y and Z
// axes of the object coordinate system of a plane with this normal. Returns
// 0, or -1 (axes untouched) for a normal too short to normalise.
int ArbitraryAxis(Vector3 axes[3], const Vector3& normal);

} // namespace qel
