#pragma once
// Rectangles and matrices of the sheet layout, and reading them from PDF values. Matrices
// follow PDF's convention: a point (x, y) maps to (a x + c y + e, b x + d y + f).

#include "pdf/PdfValue.h"

namespace engine {

struct Matrix {
  double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
};

struct Rect {
  double left = 0, bottom = 0, width = 0, height = 0;
  double Right() const { return left + width; }
  double Top() const { return bottom + height; }
};

// a then b: the matrix of drawing through a, then through b.
Matrix Multiply(const Matrix &a, const Matrix &b);
void MapPoint(const Matrix &m, double &x, double &y);
// The bounding box of a rectangle after the matrix.
Rect MapRect(const Matrix &m, const Rect &r);

// A number usable as a coordinate: finite and of a size real pages have.
bool IsCoordinate(double v);
// A rectangle from an array of four numbers, corners in any order; false when it is not one
// or its numbers are not coordinates.
bool ReadRect(const pdf::Value *pArray, Rect &r);
// The array of four numbers of a rectangle.
pdf::Value RectArray(const Rect &r);
// The array of six numbers of a matrix.
pdf::Value MatrixArray(const Matrix &m);
// A matrix from an array of six coordinates; the identity for anything else.
Matrix ReadMatrix(const pdf::Value *pArray);

// The whole number a value gives (an integer, or a real within range, truncated); fallback for
// anything else, so that no cast ever sees a number it cannot hold.
int64_t IntegerOr(const pdf::Value *pValue, int64_t fallback);

// The quarter turn (0, 90, 180 or 270, counter-clockwise) a matrix gives what it draws.
int QuarterTurn(const Matrix &m);
// The factor by which a matrix of a turn and one scale scales lengths.
double ScaleOf(const Matrix &m);
// The matrix of a counter-clockwise turn by nDegrees, a multiple of 90.
Matrix TurnMatrix(int nDegrees);

} // namespace engine
