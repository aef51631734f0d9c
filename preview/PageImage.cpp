#include "PageImage.h"

uint32_t PageImage::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height)
    return 0;
  const size_t at = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
  return (static_cast<uint32_t>(rgb[at]) << 16) | (static_cast<uint32_t>(rgb[at + 1]) << 8) |
         rgb[at + 2];
}
