// The output's cross-reference bookkeeping over many blocks: numbers written late into blocks
// already put away, and everything read back in order.
#include "pdf/XrefOffsets.h"

#include <gtest/gtest.h>

#include <stdexcept>

using engine::pdf::XrefOffsets;

TEST(XrefOffsets, BlocksPutAwayComeBackWithLateWrites) {
  XrefOffsets offsets;
  const uint32_t kCount = 300000; // several blocks
  offsets.Add();                  // object 0
  for (uint32_t n = 1; n < kCount; ++n) {
    offsets.Add();
    // Every thousandth number waits until the end, as the page tree's root does.
    if (n % 1000 != 7)
      offsets.Set(n, {XrefOffsets::Entry::InFile, 0, uint64_t{n} * 10});
  }
  EXPECT_FALSE(offsets.Written(7));
  EXPECT_TRUE(offsets.Written(8));
  for (uint32_t n = 7; n < kCount; n += 1000)
    offsets.Set(n, {XrefOffsets::Entry::InStream, n % 200, 42});
  EXPECT_TRUE(offsets.Written(7));
  EXPECT_THROW(offsets.Set(8, {XrefOffsets::Entry::InFile, 0, 1}), std::logic_error);
  uint32_t seen = 0, wrong = 0;
  offsets.ForEach([&](uint32_t n, const XrefOffsets::Entry &e) {
    ++seen;
    if (n == 0)
      return;
    const bool late = n % 1000 == 7;
    if (late ? (e.kind != XrefOffsets::Entry::InStream || e.value != 42 || e.index != n % 200)
             : (e.kind != XrefOffsets::Entry::InFile || e.value != uint64_t{n} * 10))
      ++wrong;
  });
  EXPECT_EQ(seen, kCount);
  EXPECT_EQ(wrong, 0u);
}
