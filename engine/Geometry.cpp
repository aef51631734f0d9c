#include "Geometry.h"

#include "pdf/Limits.h"

#include <algorithm>
#include <cmath>

namespace engine {

Matrix Multiply(const Matrix &a, const Matrix &b) {
  return {a.a * b.a + a.b * b.c, a.a * b.b + a.b * b.d,       a.c * b.a + a.d * b.c,
          a.c * b.b + a.d * b.d, a.e * b.a + a.f * b.c + b.e, a.e * b.b + a.f * b.d + b.f};
}

void MapPoint(const Matrix &m, double &x, double &y) {
  const double nx = m.a * x + m.c * y + m.e;
  const double ny = m.b * x + m.d * y + m.f;
  x = nx;
  y = ny;
}

Rect MapRect(const Matrix &m, const Rect &r) {
  double xs[4] = {r.left, r.Right(), r.left, r.Right()};
  double ys[4] = {r.bottom, r.bottom, r.Top(), r.Top()};
  for (int i = 0; i < 4; ++i)
    MapPoint(m, xs[i], ys[i]);
  const double left = *std::min_element(xs, xs + 4), right = *std::max_element(xs, xs + 4);
  const double bottom = *std::min_element(ys, ys + 4), top = *std::max_element(ys, ys + 4);
  return {left, bottom, right - left, top - bottom};
}

bool IsCoordinate(double v) { return std::isfinite(v) && std::fabs(v) <= limits::kMaxCoordinate; }

bool ReadRect(const pdf::Value *pArray, Rect &r) {
  if (pArray == nullptr || !pArray->IsArray() || pArray->array().size() != 4)
    return false;
  double v[4];
  for (int i = 0; i < 4; ++i) {
    const pdf::Value &item = pArray->array()[static_cast<size_t>(i)];
    if (!item.IsNumber() || !IsCoordinate(item.number()))
      return false;
    v[i] = item.number();
  }
  r = {std::min(v[0], v[2]), std::min(v[1], v[3]), std::fabs(v[2] - v[0]), std::fabs(v[3] - v[1])};
  return true;
}

pdf::Value RectArray(const Rect &r) {
  return pdf::Value(pdf::Array{pdf::Value(r.left), pdf::Value(r.bottom), pdf::Value(r.Right()),
                               pdf::Value(r.Top())});
}

pdf::Value MatrixArray(const Matrix &m) {
  return pdf::Value(pdf::Array{pdf::Value(m.a), pdf::Value(m.b), pdf::Value(m.c), pdf::Value(m.d),
                               pdf::Value(m.e), pdf::Value(m.f)});
}

Matrix ReadMatrix(const pdf::Value *pArray) {
  if (pArray == nullptr || !pArray->IsArray() || pArray->array().size() != 6)
    return {};
  double v[6];
  for (int i = 0; i < 6; ++i) {
    const pdf::Value &item = pArray->array()[static_cast<size_t>(i)];
    if (!item.IsNumber() || !IsCoordinate(item.number()))
      return {};
    v[i] = item.number();
  }
  return {v[0], v[1], v[2], v[3], v[4], v[5]};
}

int64_t IntegerOr(const pdf::Value *pValue, int64_t fallback) {
  if (pValue == nullptr || !pValue->IsNumber())
    return fallback;
  if (pValue->IsInt())
    return pValue->integer();
  const double v = pValue->number();
  // Within the range every 64-bit integer has: anything else is not a whole number of use.
  return std::isfinite(v) && std::fabs(v) < 9.0e18 ? static_cast<int64_t>(v) : fallback;
}

int QuarterTurn(const Matrix &m) {
  const double degrees = std::atan2(m.b, m.a) * 180 / M_PI;
  if (!std::isfinite(degrees))
    return 0;
  const long turn = std::lround(degrees / 90) * 90;
  return static_cast<int>(((turn % 360) + 360) % 360);
}

double ScaleOf(const Matrix &m) { return std::sqrt(std::fabs(m.a * m.d - m.b * m.c)); }

Matrix TurnMatrix(int nDegrees) {
  switch (((nDegrees % 360) + 360) % 360) {
  case 90:
    return {0, 1, -1, 0, 0, 0};
  case 180:
    return {-1, 0, 0, -1, 0, 0};
  case 270:
    return {0, -1, 1, 0, 0, 0};
  default:
    return {};
  }
}

} // namespace engine
