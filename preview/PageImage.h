#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// A rendered page or sheet: rows of packed 8-bit red, green and blue, top row first.
struct PageImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;

  size_t Bytes() const { return rgb.size(); }
  // The colour at pixel (x, y) as 0xRRGGBB; 0 outside the image.
  uint32_t At(int x, int y) const;
};
