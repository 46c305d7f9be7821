#pragma once
// Points and vectors of the slide space: x to the right, y down, z away from the viewer,
// in pixels of the slide area. Arithmetic runs in double and is stored in float.
namespace kiv {

struct TVec3 {
  float X = 0;
  float Y = 0;
  float Z = 0;
  bool operator==(const TVec3&) const = default;
};

inline TVec3 operator+(const TVec3& a, const TVec3& b) {
  return {float(double(a.X) + b.X), float(double(a.Y) + b.Y), float(double(a.Z) + b.Z)};
}
inline TVec3 operator-(const TVec3& a, const TVec3& b) {
  return {float(double(a.X) - b.X), float(double(a.Y) - b.Y), float(double(a.Z) - b.Z)};
}
inline TVec3 operator*(const TVec3& a, double k) { return {float(a.X * k), float(a.Y * k), float(a.Z * k)}; }
inline double Dot(const TVec3& a, const TVec3& b) { return double(a.X) * b.X + double(a.Y) * b.Y + double(a.Z) * b.Z; }
inline TVec3 Cross(const TVec3& a, const TVec3& b) {
  return {float(double(a.Y) * b.Z - double(a.Z) * b.Y), float(double(a.Z) * b.X - double(a.X) * b.Z),
          float(double(a.X) * b.Y - double(a.Y) * b.X)};
}

}  // namespace kiv
