// A JPEG cut short still has a readable header, and the PDF library would embed it as it is;
// such a file is recognised here by its missing end-of-image marker. Inside the entropy-coded
// data every 0xFF byte is followed by 0x00 or a restart marker, so the first 0xFF 0xD9 after
// the first scan is the real end of the image.

#include "JpegInfo.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace engine {

namespace {

unsigned Read16(const unsigned char *p, bool bLittle) {
  return bLittle ? (p[0] | (p[1] << 8)) : ((p[0] << 8) | p[1]);
}

unsigned long Read32(const unsigned char *p, bool bLittle) {
  return bLittle ? (p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<unsigned long>(p[3]) << 24))
                 : ((static_cast<unsigned long>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3]);
}

// The orientation tag (0x0112) of IFD0 in an APP1 "Exif" segment's TIFF data.
int ExifOrientation(const unsigned char *pTiff, size_t nSize) {
  if (nSize < 8)
    return 1;
  bool bLittle;
  if (pTiff[0] == 'I' && pTiff[1] == 'I')
    bLittle = true;
  else if (pTiff[0] == 'M' && pTiff[1] == 'M')
    bLittle = false;
  else
    return 1;
  const unsigned long nIfd = Read32(pTiff + 4, bLittle);
  if (nIfd + 2 > nSize)
    return 1;
  const unsigned nEntries = Read16(pTiff + nIfd, bLittle);
  for (unsigned i = 0; i < nEntries; ++i) {
    const size_t at = nIfd + 2 + static_cast<size_t>(i) * 12;
    if (at + 12 > nSize)
      break;
    if (Read16(pTiff + at, bLittle) == 0x0112) {
      const unsigned nValue = Read16(pTiff + at + 8, bLittle);
      return (nValue >= 1 && nValue <= 8) ? static_cast<int>(nValue) : 1;
    }
  }
  return 1;
}

} // namespace

JpegInfo ReadJpegInfo(const std::string &strUtf8Path) {
  JpegInfo info;
  std::unique_ptr<FILE, int (*)(FILE *)> file(std::fopen(strUtf8Path.c_str(), "rb"), std::fclose);
  if (!file)
    return info;

  // Header segments, up to the first scan.
  unsigned char marker[4];
  if (std::fread(marker, 1, 2, file.get()) != 2 || marker[0] != 0xFF || marker[1] != 0xD8)
    return info;
  for (;;) {
    int c = std::fgetc(file.get());
    if (c != 0xFF)
      return info;
    while (c == 0xFF)
      c = std::fgetc(file.get());
    if (c == EOF || c == 0xD9)
      return info; // no scan at all
    unsigned char lengthBytes[2];
    if (std::fread(lengthBytes, 1, 2, file.get()) != 2)
      return info;
    const unsigned nLength = Read16(lengthBytes, false);
    if (nLength < 2)
      return info;
    std::vector<unsigned char> segment(nLength - 2);
    if (std::fread(segment.data(), 1, segment.size(), file.get()) != segment.size())
      return info;
    if (c == 0xE1 && segment.size() > 6 && std::memcmp(segment.data(), "Exif\0\0", 6) == 0 &&
        info.nOrientation == 1)
      info.nOrientation = ExifOrientation(segment.data() + 6, segment.size() - 6);
    if (c == 0xEE && segment.size() >= 5 && std::memcmp(segment.data(), "Adobe", 5) == 0)
      info.bAdobe = true;
    // Start of frame (any coding but the table and arithmetic-conditioning markers).
    if (c >= 0xC0 && c <= 0xCF && c != 0xC4 && c != 0xC8 && c != 0xCC && segment.size() >= 6) {
      info.nBits = segment[0];
      info.nHeight = static_cast<int>(Read16(segment.data() + 1, false));
      info.nWidth = static_cast<int>(Read16(segment.data() + 3, false));
      info.nComponents = segment[5];
    }
    if (c == 0xDA)
      break;
  }

  // Entropy-coded data (and any further scans) up to the end marker.
  unsigned char buffer[65536];
  bool bAfterFF = false;
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
    for (size_t i = 0; i < n; ++i) {
      if (bAfterFF && buffer[i] == 0xD9) {
        info.bComplete = true;
        return info;
      }
      bAfterFF = buffer[i] == 0xFF;
    }
  }
  return info;
}

} // namespace engine
