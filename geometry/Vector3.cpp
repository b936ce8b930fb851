#include "geometry/Vector3.h"

#include <cmath>

namespace qel
{

int NormalizeVector(Vector3& destination, const Vector3& source)
{
    const double lengthSquared = source.x * source.x + source.y * source.y + source.z * source.z;
    if (lengthSquared < kMinNormalizeLengthSquared)
        return -1;
    const double factor = 1.0 / std::sqrt(lengthSquared);
    destination = {source.x * factor, source.y * factor, source.z * factor};
    return 0;
}

void CrossProduct(Vector3& destination, const Vector3& a, const Vector3& b)
{
    // Built in a temporary so that destination may alias a or b.
    const Vector3 product = {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    destination = product;
}

double DotProduct(const Vector3& a, const Vector3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

double VectorLengthSquared(const Vector3& a)
{
    return DotProduct(a, a);
}

double VectorLength(const Vector3& a)
{
    return std::sqrt(VectorLengthSquared(a));
}

void NormalizeInPlace(Vector3& a)
{
    const double length = VectorLength(a);
    if (length == 0.0)
        return;
    a.x /= length;
    a.y /= length;
    a.z /= length;
}

void CombineVectors(const Vector3& a, const Vector3& b, Vector3& destination, double ka, double kb)
{
    const Vector3 sum = {ka * a.x + kb * b.x, ka * a.y + kb * b.y, ka * a.z + kb * b.z};
    destination = sum;
}

} // namespace qel
