#pragma once
// What the engine needs to know about a JPEG file before embedding it unchanged.

#include <string>

namespace engine {

struct JpegInfo {
  bool bComplete = false; // starts with a JPEG marker and has its end marker after the scan
  int nOrientation = 1;   // EXIF orientation 1..8; 1 when absent or unreadable
  int nWidth = 0, nHeight = 0;
  int nComponents = 0; // 1 grey, 3 colour, 4 CMYK
  int nBits = 8;
  bool bAdobe = false; // an Adobe marker: CMYK data stored inverted
};

// Reads the markers of a JPEG file (the entropy-coded data is scanned, not decoded).
JpegInfo ReadJpegInfo(const std::string &strUtf8Path);

} // namespace engine
