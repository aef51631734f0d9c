#include "Limits.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>

namespace engine::limits {

namespace {
std::atomic<uint64_t> g_hits[static_cast<size_t>(Bound::kCount)];
} // namespace

void NoteHit(Bound bound) {
  g_hits[static_cast<size_t>(bound)].fetch_add(1, std::memory_order_relaxed);
}

uint64_t HitCount(Bound bound) {
  return g_hits[static_cast<size_t>(bound)].load(std::memory_order_relaxed);
}

} // namespace engine::limits

namespace engine::pdf {

int64_t ClampToInt64(double value, int64_t fallback) {
  if (std::isnan(value))
    return fallback;
  // 2^63 is the first double past the range; everything below it converts exactly.
  if (value >= 9223372036854775808.0)
    return std::numeric_limits<int64_t>::max();
  if (value < -9223372036854775808.0)
    return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(value);
}

WorkBudget::WorkBudget(uint64_t nFileSize) {
  // Products stay far below 2^64 for any file a disk holds.
  m_nSteps = m_nStepsGiven =
      std::max(limits::kStepFloor, std::min(nFileSize, uint64_t{1} << 50) * limits::kStepsPerByte);
  m_nDecoded = m_nDecodedGiven = std::max(
      limits::kDecodeFloor, std::min(nFileSize, uint64_t{1} << 50) * limits::kDecodePerByte);
}

bool WorkBudget::Exhaust(limits::Bound bound) {
  if (!m_bExhausted) {
    m_bExhausted = true;
    m_why = bound;
    limits::NoteHit(bound);
  }
  m_nSteps = 0;
  m_nDecoded = 0;
  return false;
}

std::string WorkBudget::Reason() const {
  if (!m_bExhausted)
    return {};
  if (m_why == limits::Bound::DecodeBudget)
    return "the file asks for more decoding than its size explains (over " +
           std::to_string(m_nDecodedGiven >> 20) + " MB)";
  return "the file asks for more work than its size explains (over " +
         std::to_string(m_nStepsGiven) + " steps)";
}

} // namespace engine::pdf
