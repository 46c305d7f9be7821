#pragma once
// Points and vectors in 3D: in the slide space x runs to the right, y down and z away
// from the viewer, in pixels. Arithmetic runs in double and is stored in float.
namespace kiv {

struct TVector3 {
  float X = 0;
  float Y = 0;
  float Z = 0;
  bool operator==(const TVector3&) const = default;
};

inline TVector3 operator+(const TVector3& a, const TVector3& b) {
  return {float(double(a.X) + b.X), float(double(a.Y) + b.Y), float(double(a.Z) + b.Z)};
}
inline TVector3 operator-(const TVector3& a, const TVector3& b) {
  return {float(double(a.X) - b.X), float(double(a.Y) - b.Y), float(double(a.Z) - b.Z)};
}
inline TVector3 operator*(const TVector3& a, double k) { return {float(a.X * k), float(a.Y * k), float(a.Z * k)}; }
inline double Dot(const TVector3& a, const TVector3& b) { return double(a.X) * b.X + double(a.Y) * b.Y + double(a.Z) * b.Z; }
inline TVector3 Cross(const TVector3& a, const TVector3& b) {
  return {float(double(a.Y) * b.Z - double(a.Z) * b.Y), float(double(a.Z) * b.X - double(a.X) * b.Z),
          float(double(a.X) * b.Y - double(a.Y) * b.X)};
}

}  // namespace kiv
