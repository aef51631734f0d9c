#pragma once
// PDFs written out byte by byte for the renderer's tests: pages whose boxes, turn and drawing
// are given exactly.

#include <string>
#include <vector>

struct SimplePage {
  double width = 200, height = 100; // media box from the origin
  std::string cropBox;              // "x0 y0 x1 y1", or empty for none
  int rotate = 0;
  std::string content; // the page's drawing operators
};

// Writes a PDF of the pages to path, with a correct cross-reference table.
void WriteSimplePdf(const std::string &path, const std::vector<SimplePage> &pages);

// Drawing operators that fill the rectangle (x, y, w, h) with colour 0xRRGGBB.
std::string FillRect(unsigned rgb, double x, double y, double w, double h);
