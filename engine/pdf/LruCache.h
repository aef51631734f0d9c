#pragma once
// A cache of values by object number that drops the least recently used ones once their cost
// passes a bound, so that a long document never holds more than the bound.

#include <cstddef>
#include <cstdint>
#include <list>
#include <tuple>
#include <unordered_map>

namespace engine::pdf {

template <typename V> class LruCache {
public:
  explicit LruCache(size_t nCapacity) : m_nCapacity(nCapacity) {}

  // The cached value, now the most recently used; null when absent.
  const V *Find(uint32_t nKey) {
    auto found = m_index.find(nKey);
    if (found == m_index.end())
      return nullptr;
    m_items.splice(m_items.begin(), m_items, found->second);
    return &std::get<1>(*found->second);
  }

  void Put(uint32_t nKey, V value, size_t nCost) {
    Erase(nKey);
    m_items.emplace_front(nKey, std::move(value), nCost);
    m_index.emplace(nKey, m_items.begin());
    m_nCost += nCost;
    // The newest item stays even when it alone passes the bound.
    while (m_nCost > m_nCapacity && m_items.size() > 1) {
      m_nCost -= std::get<2>(m_items.back());
      m_index.erase(std::get<0>(m_items.back()));
      m_items.pop_back();
    }
  }

  void Erase(uint32_t nKey) {
    auto found = m_index.find(nKey);
    if (found == m_index.end())
      return;
    m_nCost -= std::get<2>(*found->second);
    m_items.erase(found->second);
    m_index.erase(found);
  }

  void Clear() {
    m_items.clear();
    m_index.clear();
    m_nCost = 0;
  }

private:
  using Item = std::tuple<uint32_t, V, size_t>;
  std::list<Item> m_items;
  std::unordered_map<uint32_t, typename std::list<Item>::iterator> m_index;
  size_t m_nCost = 0;
  size_t m_nCapacity;
};

} // namespace engine::pdf
