// A 4x4 transform with a stack of saved states. Points are row vectors
// (p' = [x y z 1] x M, translation in row 3); every elementary operation E is
// applied as M := M x E, so operations act on a point in the order of the calls.
#pragma once

#include "geometry/Vector3.h"

#include <memory>
#include <string>

namespace qel
{

class CTransform
{
public:
    using Matrix = double[4][4];

    // Size of each line buffer of Format and the bound of its result.
    static constexpr int kFormatLineSize = 256;
    static constexpr int kFormatBufferSize = 1024;

    // Identity, or a copy of the source's elements (never of its saved states).
    explicit CTransform(const CTransform* source = nullptr);
    ~CTransform();
    CTransform(const CTransform&) = delete;
    CTransform& operator=(const CTransform&) = delete;

    // State and stack
    void SetIdentity();
    void SetFrom(const CTransform* other);
    void GetValues(double values[16]) const;
    void SetValues(const double values[16]);
    const Matrix& GetMatrix() const { return m_matrix; }
    // Four lines, line i holding column i, each cut to kFormatLineSize - 1
    // characters. The text is the caller's own: threads format at once.
    std::string Format() const;
    // Returns the new depth, or 0 when the stack was full (the oldest saved
    // state is then dropped).
    int Push();
    void Pop();
    void SetStackLimit(int limit) { m_nStackLimit = limit; }
    int GetStackDepth() const { return m_nStackDepth; }

    // Composition; matrix arguments may be this transform's own matrix.
    void Multiply(const double matrix[4][4]);
    void SetProduct(const double a[4][4], const double b[4][4]);
    void MultiplyTransposed(const double matrix[4][4]);
    void Transpose();
    // Returns 1, or 0 for a singular matrix (the elements stay unchanged).
    int Invert();

    // Elementary transforms
    void Scale(double sx, double sy, double sz);
    void ScaleUniform(double s);
    void Translate(double tx, double ty, double tz);
    void TranslateBy(const Vector3& offset);
    void RotateXCosSin(double c, double s);
    void RotateYCosSin(double c, double s);
    void RotateZCosSin(double c, double s);
    void RotateXRadians(double angle);
    void RotateYRadians(double angle);
    void RotateZRadians(double angle);
    void RotateX(double degrees);
    void RotateY(double degrees);
    void RotateZ(double degrees);

    // Mapping points and vectors in place; each returns 1.
    int TransformPoint(Vector3& point) const;
    int TransformVector(Vector3& vector) const;
    int TransformDirection(Vector3& direction) const;
    void GetOrigin(Vector3* origin) const;

    // Frames and projections
    void SetAxisFrame(const Vector3& axis);
    void SetPlacement(const Vector3& axis, double scale, const Vector3& origin);
    void ApplyExtrusion(const Vector3& normal);
    void SetAlignToZ(const Vector3& direction);
    void SetAlignFromZ(const Vector3& direction);
    void SetAlignPair(const Vector3& first, const Vector3& second);
    void SetMirrorZ();
    void SetOrtho(double left, double right, double top, double bottom, double nearZ, double farZ);
    void SetOrthoScaled(double left, double right, double top, double bottom, double nearZ,
                        double farZ);
    void SetDepthScale(double left, double right, double top, double bottom, double nearZ,
                       double farZ);
    // Returns this transform, or null (nothing changed) for a degenerate box.
    CTransform* SetFrustum(double left, double right, double top, double bottom, double nearZ,
                           double farZ);

    // Decomposition into the 16 values of DecomposeMatrix; 1, or 0 on failure.
    int Decompose(double out[16]) const;
    // Scales, rotations (radians in 0..2 pi) and translations; every output may
    // be null. Returns 0 with nothing written when the decomposition fails.
    int GetComponents(double* scaleX, double* scaleY, double* scaleZ, double* rotateX,
                      double* rotateY, double* rotateZ, double* translateX, double* translateY,
                      double* translateZ) const;

private:
    void CopyFrom(const double matrix[4][4]);
    void DropOldestSavedState();

    Matrix m_matrix;
    std::unique_ptr<CTransform> m_pSaved;
    int m_nStackLimit = -1;
    int m_nStackDepth = 0;
};

} // namespace qel
