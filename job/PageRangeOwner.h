#pragma once
#include <cstdint>

// What the page range dialog asks of the window that opens it.
class PageRangeOwner {
public:
  virtual ~PageRangeOwner() = default;
  // 0 lets the dialog enable its (hidden) "cut into small PDFs" choice.
  virtual int32_t GetCutOptionFlag() const = 0;
};
