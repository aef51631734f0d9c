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

} // namespace engine
