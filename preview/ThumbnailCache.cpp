#include "ThumbnailCache.h"

std::shared_ptr<const PageImage> ThumbnailCache::Find(int page) {
  std::lock_guard<std::mutex> lock(m_lock);
  const auto found = m_index.find(page);
  if (found == m_index.end())
    return nullptr;
  m_order.splice(m_order.begin(), m_order, found->second);
  return found->second->second;
}

bool ThumbnailCache::Contains(int page) const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_index.count(page) != 0;
}

void ThumbnailCache::Store(int page, std::shared_ptr<const PageImage> image) {
  if (!image)
    return;
  std::lock_guard<std::mutex> lock(m_lock);
  EraseLocked(page);
  m_nBytes += image->Bytes();
  m_order.emplace_front(page, std::move(image));
  m_index[page] = m_order.begin();
  while (m_nBytes > m_nBudget && m_order.size() > 1)
    EraseLocked(m_order.back().first);
}

void ThumbnailCache::Clear() {
  std::lock_guard<std::mutex> lock(m_lock);
  m_order.clear();
  m_index.clear();
  m_nBytes = 0;
}

size_t ThumbnailCache::Bytes() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_nBytes;
}

size_t ThumbnailCache::Count() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_order.size();
}

void ThumbnailCache::EraseLocked(int page) {
  const auto found = m_index.find(page);
  if (found == m_index.end())
    return;
  m_nBytes -= found->second->second->Bytes();
  m_order.erase(found->second);
  m_index.erase(found);
}
