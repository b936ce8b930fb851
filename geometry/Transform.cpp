#include "geometry/Transform.h"

#include "common/BoundedString.h"
#include "geometry/MatrixMath.h"

#include <cmath>
#include <cstring>

namespace qel
{
namespace
{

// Factors, lengths and extents below this in magnitude count as degenerate.
constexpr double kTolerance = 1e-9;

// A homogeneous w of 0 (or NaN) is replaced by this before dividing by it.
constexpr double kZeroW = 1e-10;

// Depth range of SetDepthScale.
constexpr double kDepthScaleRange = 32750.0;

const double kIdentity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

// out := a x b; out must not be a or b.
void MultiplyMatrices(const double a[4][4], const double b[4][4], double out[4][4])
{
    for (int i = 0; i < 4; ++i)
    {
        for (int j = 0; j < 4; ++j)
            out[i][j] =
                a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j] + a[i][3] * b[3][j];
    }
}

// The elimination below is written with constant indices (templates, loops
// of fixed length) so that the compiler keeps the working rows in registers
// and pairs the divisions; the arithmetic is that of the plain loops.
template <int First, int Second> void SwapRows(double (&m)[4][4])
{
    for (int j = 0; j < 4; ++j)
    {
        const double kept = m[First][j];
        m[First][j] = m[Second][j];
        m[Second][j] = kept;
    }
}

// Swaps row Q with the first row from Q down whose element in column Q has
// the largest magnitude.
template <int Q> void MovePivotUp(double (&a)[4][4], double (&r)[4][4])
{
    int pivot = Q;
    double largest = std::fabs(a[Q][Q]);
    for (int s = Q + 1; s < 4; ++s)
    {
        const double magnitude = std::fabs(a[s][Q]);
        if (magnitude > largest)
        {
            largest = magnitude;
            pivot = s;
        }
    }
    if (pivot == Q + 1)
    {
        SwapRows<Q, Q + 1>(a);
        SwapRows<Q, Q + 1>(r);
    }
    if constexpr (Q + 2 < 4)
    {
        if (pivot == Q + 2)
        {
            SwapRows<Q, Q + 2>(a);
            SwapRows<Q, Q + 2>(r);
        }
    }
    if constexpr (Q + 3 < 4)
    {
        if (pivot == Q + 3)
        {
            SwapRows<Q, Q + 3>(a);
            SwapRows<Q, Q + 3>(r);
        }
    }
}

// Subtracts multiples of row Q from the rows below it. Column Q of those rows
// is not updated: it becomes zero and is never read again.
template <int Q> void EliminateBelow(double (&a)[4][4], double (&r)[4][4])
{
    double f[4];
    for (int s = Q + 1; s < 4; ++s)
        f[s] = a[s][Q] / a[Q][Q];
    for (int s = Q + 1; s < 4; ++s)
    {
        for (int j = Q + 1; j < 4; ++j)
            a[s][j] -= f[s] * a[Q][j];
        for (int j = 0; j < 4; ++j)
            r[s][j] -= f[s] * r[Q][j];
    }
}

bool IsZeroOrNaN(double value)
{
    return value == 0.0 || std::isnan(value);
}

double HomogeneousW(double w)
{
    return IsZeroOrNaN(w) ? kZeroW : w;
}

// v divided by its length when the length is at least kTolerance.
Vector3 DividedByLength(const Vector3& v)
{
    const double length = VectorLength(v);
    if (length < kTolerance)
        return v;
    return {v.x / length, v.y / length, v.z / length};
}

// Unit vector along the axis of v's component with the smallest magnitude
// (the lowest index on ties).
Vector3 AxisOfSmallestComponent(const Vector3& v)
{
    const double magnitudes[3] = {std::fabs(v.x), std::fabs(v.y), std::fabs(v.z)};
    int smallest = 0;
    for (int i = 1; i < 3; ++i)
    {
        if (magnitudes[i] < magnitudes[smallest])
            smallest = i;
    }
    Vector3 axis;
    (smallest == 0 ? axis.x : smallest == 1 ? axis.y : axis.z) = 1.0;
    return axis;
}

void SetRow(double m[4][4], int row, const Vector3& v)
{
    m[row][0] = v.x;
    m[row][1] = v.y;
    m[row][2] = v.z;
}

} // namespace

CTransform::CTransform(const CTransform* source)
{
    SetFrom(source);
}

CTransform::~CTransform()
{
    while (m_pSaved)
        Pop();
}

void CTransform::SetIdentity()
{
    CopyFrom(kIdentity);
}

void CTransform::SetFrom(const CTransform* other)
{
    // Copying all 16 elements over the identity is the copy alone; taken so,
    // a transform set from itself keeps its elements.
    if (other == nullptr)
        SetIdentity();
    else
        CopyFrom(other->m_matrix);
}

void CTransform::GetValues(double values[16]) const
{
    std::memmove(values, m_matrix, sizeof m_matrix);
}

void CTransform::SetValues(const double values[16])
{
    std::memmove(m_matrix, values, sizeof m_matrix);
}

std::string CTransform::Format() const
{
    // snprintf cuts a line of very large values at the end of its buffer; four
    // full lines and their separators fill the result's buffer exactly.
    static_assert(4 * (kFormatLineSize - 1) + 3 + 1 <= kFormatBufferSize, "lines must fit");
    char lines[4][kFormatLineSize];
    for (int column = 0; column < 4; ++column)
    {
        FormatBounded(lines[column], sizeof lines[column], "%.2lf, %.2lf, %.2lf, %.2lf",
                      m_matrix[0][column], m_matrix[1][column], m_matrix[2][column],
                      m_matrix[3][column]);
    }
    char text[kFormatBufferSize];
    FormatBounded(text, sizeof text, "%s\n%s\n%s\n%s", lines[0], lines[1], lines[2], lines[3]);
    return text;
}

int CTransform::Push()
{
    auto saved = std::make_unique<CTransform>(this);
    saved->m_pSaved = std::move(m_pSaved);
    m_pSaved = std::move(saved);
    if (m_nStackLimit < 1 || m_nStackDepth < m_nStackLimit)
        return ++m_nStackDepth;
    DropOldestSavedState();
    return 0;
}

void CTransform::Pop()
{
    if (!m_pSaved)
        return;
    --m_nStackDepth;
    CopyFrom(m_pSaved->m_matrix);
    m_pSaved = std::move(m_pSaved->m_pSaved);
}

void CTransform::DropOldestSavedState()
{
    CTransform* newer = this;
    while (newer->m_pSaved && newer->m_pSaved->m_pSaved)
        newer = newer->m_pSaved.get();
    newer->m_pSaved.reset();
}

void CTransform::Multiply(const double matrix[4][4])
{
    if (matrix != nullptr)
        SetProduct(m_matrix, matrix);
}

void CTransform::SetProduct(const double a[4][4], const double b[4][4])
{
    // Computed aside: a or b may be m_matrix itself.
    double product[4][4];
    MultiplyMatrices(a, b, product);
    CopyFrom(product);
}

void CTransform::MultiplyTransposed(const double matrix[4][4])
{
    double transposed[4][4];
    TransposeMatrix(matrix, transposed);
    Multiply(transposed);
}

void CTransform::Transpose()
{
    TransposeMatrix(m_matrix, m_matrix);
}

int CTransform::Invert()
{
    // Gauss elimination with partial pivoting; R turns into the inverse.
    double a[4][4];
    double r[4][4];
    std::memcpy(a, m_matrix, sizeof a);
    std::memcpy(r, kIdentity, sizeof r);

    MovePivotUp<0>(a, r);
    EliminateBelow<0>(a, r);
    MovePivotUp<1>(a, r);
    EliminateBelow<1>(a, r);
    MovePivotUp<2>(a, r);
    EliminateBelow<2>(a, r);

    // No tolerance: only an exact zero (or NaN) on the diagonal is singular.
    if (IsZeroOrNaN(a[3][3]) || IsZeroOrNaN(a[2][2]) || IsZeroOrNaN(a[1][1]) ||
        IsZeroOrNaN(a[0][0]))
        return 0;

    // Back substitution. Its quotients depend on A alone, so they are all
    // taken first; each element of R then goes through the same steps as in
    // row-by-row order: row 3 is taken from rows 0..2, then row 2 from rows
    // 0..1, then row 1 from row 0.
    const double numerators[6] = {a[0][3], a[1][3], a[2][3], a[0][2], a[1][2], a[0][1]};
    const double denominators[6] = {a[3][3], a[3][3], a[3][3], a[2][2], a[2][2], a[1][1]};
    double f[6];
    for (int i = 0; i < 6; ++i)
        f[i] = numerators[i] / denominators[i];
    for (int j = 0; j < 4; ++j)
    {
        r[0][j] -= f[0] * r[3][j];
        r[1][j] -= f[1] * r[3][j];
        r[2][j] -= f[2] * r[3][j];
        r[0][j] -= f[3] * r[2][j];
        r[1][j] -= f[4] * r[2][j];
        r[0][j] -= f[5] * r[1][j];
    }

    for (int q = 0; q < 4; ++q)
    {
        for (int j = 0; j < 4; ++j)
            r[q][j] /= a[q][q];
    }
    CopyFrom(r);
    return 1;
}

void CTransform::Scale(double sx, double sy, double sz)
{
    double e[4][4];
    std::memcpy(e, kIdentity, sizeof e);
    e[0][0] = std::fabs(sx) < kTolerance ? 1.0 : sx;
    e[1][1] = std::fabs(sy) < kTolerance ? 1.0 : sy;
    e[2][2] = std::fabs(sz) < kTolerance ? 1.0 : sz;
    Multiply(e);
}

void CTransform::ScaleUniform(double s)
{
    if (std::fabs(s) >= kTolerance)
        Scale(s, s, s);
}

void CTransform::Translate(double tx, double ty, double tz)
{
    const double e[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {tx, ty, tz, 1}};
    Multiply(e);
}

void CTransform::TranslateBy(const Vector3& offset)
{
    Translate(offset.x, offset.y, offset.z);
}

void CTransform::RotateXCosSin(double c, double s)
{
    const double e[4][4] = {{1, 0, 0, 0}, {0, c, s, 0}, {0, -s, c, 0}, {0, 0, 0, 1}};
    Multiply(e);
}

void CTransform::RotateYCosSin(double c, double s)
{
    const double e[4][4] = {{c, 0, -s, 0}, {0, 1, 0, 0}, {s, 0, c, 0}, {0, 0, 0, 1}};
    Multiply(e);
}

void CTransform::RotateZCosSin(double c, double s)
{
    const double e[4][4] = {{c, s, 0, 0}, {-s, c, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    Multiply(e);
}

void CTransform::RotateXRadians(double angle)
{
    RotateXCosSin(std::cos(angle), std::sin(angle));
}

void CTransform::RotateYRadians(double angle)
{
    RotateYCosSin(std::cos(angle), std::sin(angle));
}

void CTransform::RotateZRadians(double angle)
{
    RotateZCosSin(std::cos(angle), std::sin(angle));
}

void CTransform::RotateX(double degrees)
{
    RotateXRadians(DegreesToRadians(degrees));
}

void CTransform::RotateY(double degrees)
{
    RotateYRadians(DegreesToRadians(degrees));
}

void CTransform::RotateZ(double degrees)
{
    RotateZRadians(DegreesToRadians(degrees));
}

int CTransform::TransformPoint(Vector3& point) const
{
    const double x = point.x;
    const double y = point.y;
    const double z = point.z;
    const auto& m = m_matrix;
    double p[4];
    for (int j = 0; j < 4; ++j)
        p[j] = x * m[0][j] + y * m[1][j] + z * m[2][j] + m[3][j];
    const double w = HomogeneousW(p[3]);
    point = {p[0] / w, p[1] / w, p[2] / w};
    return 1;
}

int CTransform::TransformVector(Vector3& vector) const
{
    const double x = vector.x;
    const double y = vector.y;
    const double z = vector.z;
    const auto& m = m_matrix;
    const double w = HomogeneousW(x * m[0][3] + y * m[1][3] + z * m[2][3] + m[3][3]);
    vector.x = (x * m[0][0] + y * m[1][0] + z * m[2][0]) / w;
    vector.y = (x * m[0][1] + y * m[1][1] + z * m[2][1]) / w;
    vector.z = (x * m[0][2] + y * m[1][2] + z * m[2][2]) / w;
    return 1;
}

int CTransform::TransformDirection(Vector3& direction) const
{
    TransformVector(direction);
    direction = DividedByLength(direction);
    return 1;
}

void CTransform::GetOrigin(Vector3* origin) const
{
    Vector3 point;
    TransformPoint(point);
    if (origin != nullptr)
        *origin = point;
}

void CTransform::SetAxisFrame(const Vector3& axis)
{
    const Vector3 v = DividedByLength(axis);
    Vector3 u;
    CrossProduct(u, v, AxisOfSmallestComponent(v));
    u = DividedByLength(u);
    Vector3 w;
    CrossProduct(w, u, v);

    // Columns 0, 1, 2 are W, U and V.
    double frame[4][4];
    std::memcpy(frame, kIdentity, sizeof frame);
    SetRow(frame, 0, w);
    SetRow(frame, 1, u);
    SetRow(frame, 2, v);
    TransposeMatrix(frame, frame);
    SetIdentity();
    Multiply(frame);
}

void CTransform::SetPlacement(const Vector3& axis, double scale, const Vector3& origin)
{
    const Vector3 v = DividedByLength(axis);
    Vector3 d;
    CrossProduct(d, v, AxisOfSmallestComponent(v));
    Vector3 w;
    CrossProduct(w, d, v);

    double frame[4][4];
    std::memcpy(frame, kIdentity, sizeof frame);
    SetRow(frame, 0, w);
    SetRow(frame, 1, d);
    SetRow(frame, 2, v);
    SetIdentity();
    ScaleUniform(scale);
    Multiply(frame);
    TranslateBy(origin);
}

void CTransform::ApplyExtrusion(const Vector3& normal)
{
    Vector3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    if (ArbitraryAxis(axes, normal) != 0)
        return;
    double e[4][4];
    std::memcpy(e, kIdentity, sizeof e);
    for (int i = 0; i < 3; ++i)
        SetRow(e, i, axes[i]);
    Multiply(e);
}

void CTransform::SetAlignToZ(const Vector3& direction)
{
    const double a = direction.x;
    const double b = direction.y;
    const double c = direction.z;
    const double d = VectorLength(direction);
    const double h = std::sqrt(b * b + c * c);
    SetIdentity();
    if (h >= kTolerance)
    {
        SetRow(m_matrix, 0, {h / d, 0.0, a / d});
        SetRow(m_matrix, 1, {-a * b / (h * d), c / h, b / d});
        SetRow(m_matrix, 2, {-a * c / (h * d), -b / h, c / d});
    }
    else
    {
        // The direction lies on the X axis.
        SetRow(m_matrix, 0, {0.0, 0.0, a / d});
        SetRow(m_matrix, 1, {0.0, 1.0, 0.0});
        SetRow(m_matrix, 2, {-a / d, 0.0, 0.0});
    }
}

void CTransform::SetAlignFromZ(const Vector3& direction)
{
    SetAlignToZ(direction);
    Transpose();
}

void CTransform::SetAlignPair(const Vector3& first, const Vector3& second)
{
    CTransform fromZ;
    fromZ.SetAlignFromZ(second);
    CTransform toZ;
    toZ.SetAlignToZ(first);
    SetProduct(fromZ.m_matrix, toZ.m_matrix);
}

void CTransform::SetMirrorZ()
{
    SetIdentity();
    m_matrix[2][2] = -1.0;
}

void CTransform::SetOrtho(double left, double right, double top, double bottom, double nearZ,
                          double farZ)
{
    SetIdentity();
    const double width = right - left;
    const double height = top - bottom;
    const double depth = farZ - nearZ;
    if (std::fabs(width) < kTolerance || std::fabs(height) < kTolerance)
        return;
    if (std::fabs(depth) >= kTolerance)
    {
        Scale(2.0 / width, 2.0 / height, 2.0 / depth);
        Translate(-(right + left) / width, -(top + bottom) / height, -(farZ + nearZ) / depth);
    }
    else
    {
        Scale(2.0 / width, 2.0 / height, 1.0);
        Translate(-(right + left) / width, -(top + bottom) / height, 0.0);
    }
}

void CTransform::SetOrthoScaled(double left, double right, double top, double bottom, double nearZ,
                                double farZ)
{
    SetOrtho(left, right, top, bottom, nearZ, farZ);
    const double depth = farZ - nearZ;
    if (depth > 0.0)
        Scale(depth, depth, 1.0);
}

void CTransform::SetDepthScale(double left, double right, double top, double bottom, double nearZ,
                               double farZ)
{
    if (right - left == 0.0 || top - bottom == 0.0 || farZ - nearZ == 0.0)
        return;
    SetIdentity();
    m_matrix[2][2] = kDepthScaleRange / (farZ - nearZ);
}

CTransform* CTransform::SetFrustum(double left, double right, double top, double bottom,
                                   double nearZ, double farZ)
{
    const double width = right - left;
    const double height = top - bottom;
    const double depth = farZ - nearZ;
    if (width == 0.0 || height == 0.0 || depth == 0.0)
        return nullptr;
    const double frustum[4][4] = {
        {2.0 * nearZ / width, 0, 0, 0},
        {0, 2.0 * nearZ / height, 0, 0},
        {(right + left) / width, (top + bottom) / height, -(farZ + nearZ) / depth, -1.0},
        {0, 0, -2.0 * farZ * nearZ / depth, 0}};
    CopyFrom(frustum);
    return this;
}

int CTransform::Decompose(double out[16]) const
{
    return DecomposeMatrix(m_matrix, out);
}

int CTransform::GetComponents(double* scaleX, double* scaleY, double* scaleZ, double* rotateX,
                              double* rotateY, double* rotateZ, double* translateX,
                              double* translateY, double* translateZ) const
{
    double parts[16];
    if (!Decompose(parts))
        return 0;
    const struct
    {
        double* output;
        double value;
    } results[] = {
        {scaleX, parts[kScaleX]},
        {scaleY, parts[kScaleY]},
        {scaleZ, parts[kScaleZ]},
        {rotateX, NormalizeAngle(parts[kRotateX])},
        {rotateY, NormalizeAngle(parts[kRotateY])},
        {rotateZ, NormalizeAngle(parts[kRotateZ])},
        {translateX, parts[kTranslateX]},
        {translateY, parts[kTranslateY]},
        {translateZ, parts[kTranslateZ]},
    };
    for (const auto& result : results)
    {
        if (result.output != nullptr)
            *result.output = result.value;
    }
    return 1;
}

void CTransform::CopyFrom(const double matrix[4][4])
{
    std::memmove(m_matrix, matrix, sizeof m_matrix);
}

} // namespace qel
