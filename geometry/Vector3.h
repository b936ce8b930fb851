// Three-component vector of the geometry toolkit and the free functions on it.
#pragma once

namespace qel
{

struct Vector3
{
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// Squared lengths below this count as zero when a vector is normalised.
constexpr double kMinNormalizeLengthSquared = 1e-10;

// destination := source / |source|. Returns -1 (destination untouched) when the
// squared length is below kMinNormalizeLengthSquared, else 0.
int NormalizeVector(Vector3& destination, const Vector3& source);

// destination := a x b; destination may be a or b.
void CrossProduct(Vector3& destination, const Vector3& a, const Vector3& b);

double DotProduct(const Vector3& a, const Vector3& b);
double VectorLengthSquared(const Vector3& a);
double VectorLength(const Vector3& a);

// Divides a by its length unless the length is exactly 0.
void NormalizeInPlace(Vector3& a);

// destination := ka * a + kb * b; destination may be a or b.
void CombineVectors(const Vector3& a, const Vector3& b, Vector3& destination, double ka, double kb);

} // namespace qel
