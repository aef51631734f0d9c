#pragma once
// Reads a produced PDF back: each sheet's media box, /Rotate and the matrices it draws with.

#include <array>
#include <string>
#include <vector>

struct SheetInfo {
  double left = 0, bottom = 0, width = 0, height = 0;
  int rotate = 0;
  std::vector<std::array<double, 6>> matrices; // one per drawn item, in drawing order
  std::vector<std::string> drawn;              // resource names after the matrices
  std::string content;                         // the decoded content stream
};

struct PdfReadBack {
  bool loaded = false;
  std::vector<SheetInfo> sheets;
  std::string pageMode;
  size_t objectCount = 0;
};

PdfReadBack ReadBack(const std::string &path, const std::string &password = "");
