#include "ThumbnailCache.h"

#include <gtest/gtest.h>

namespace {

std::shared_ptr<const PageImage> Image(size_t bytes) {
  auto image = std::make_shared<PageImage>();
  image->rgb.resize(bytes);
  return image;
}

TEST(ThumbnailCache, StaysWithinItsBudgetDroppingTheLeastRecentlyUsed) {
  ThumbnailCache cache(10000);
  for (int page = 0; page < 100; ++page) {
    cache.Store(page, Image(1000));
    EXPECT_LE(cache.Bytes(), 10000u);
    if (page == 50) {
      ASSERT_TRUE(cache.Find(45)); // a use keeps 45 in
    }
  }
  EXPECT_EQ(10u, cache.Count());
  EXPECT_TRUE(cache.Find(99));
  EXPECT_TRUE(cache.Contains(90));
  EXPECT_FALSE(cache.Contains(89));
  EXPECT_FALSE(cache.Find(45)); // used at 50, dropped long since
}

TEST(ThumbnailCache, ReplacesAndKeepsAnImageLargerThanTheBudget) {
  ThumbnailCache cache(100);
  cache.Store(1, Image(60));
  cache.Store(1, Image(40));
  EXPECT_EQ(40u, cache.Bytes());
  cache.Store(2, Image(500)); // the newest stays, alone
  EXPECT_EQ(1u, cache.Count());
  EXPECT_TRUE(cache.Contains(2));
  cache.Store(3, nullptr);
  EXPECT_FALSE(cache.Contains(3));
  cache.Clear();
  EXPECT_EQ(0u, cache.Bytes());
  EXPECT_EQ(0u, cache.Count());
}

} // namespace
