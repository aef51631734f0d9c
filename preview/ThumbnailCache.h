#pragma once
#include "PageImage.h"

#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <unordered_map>

// Rendered pages by page index, bounded by their bytes: storing past the bound drops the least
// recently used pages, so a long document never holds more than the bound. Safe to use from
// the rendering worker and the window's thread at once.
class ThumbnailCache {
public:
  explicit ThumbnailCache(size_t nBudgetBytes) : m_nBudget(nBudgetBytes) {}

  // The page's image, now the most recently used; null when absent.
  std::shared_ptr<const PageImage> Find(int page);
  // Whether the page is held, without counting as a use.
  bool Contains(int page) const;
  // Holds image for page (replacing an older one), then drops the least recently used pages
  // while the bytes exceed the budget; the page just stored always stays.
  void Store(int page, std::shared_ptr<const PageImage> image);
  void Clear();

  size_t Bytes() const;
  size_t Count() const;

private:
  using Entry = std::pair<int, std::shared_ptr<const PageImage>>;
  void EraseLocked(int page);

  const size_t m_nBudget;
  mutable std::mutex m_lock;
  std::list<Entry> m_order; // most recently used first
  std::unordered_map<int, std::list<Entry>::iterator> m_index;
  size_t m_nBytes = 0;
};
