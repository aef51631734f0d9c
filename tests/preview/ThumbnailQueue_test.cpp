#include "ThumbnailQueue.h"

#include "PageRenderer.h"
#include "SimplePdf.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

std::wstring Wide(const std::string &s) { return std::wstring(s.begin(), s.end()); }

// What the worker reported, waited for instead of slept on.
struct Reports {
  std::mutex lock;
  std::condition_variable changed;
  int status = -1, pageCount = -1;
  std::wstring reason;
  std::vector<int> thumbnails;
  std::vector<std::pair<int, std::shared_ptr<const PageImage>>> large;
  size_t thumbnailsBeforeLarge = 0;

  ThumbnailEvents Events() {
    ThumbnailEvents events;
    events.opened = [this](int s, const std::wstring &r, int n) {
      std::lock_guard<std::mutex> g(lock);
      status = s;
      reason = r;
      pageCount = n;
      changed.notify_all();
    };
    events.thumbnail = [this](int page) {
      std::lock_guard<std::mutex> g(lock);
      thumbnails.push_back(page);
      changed.notify_all();
    };
    events.large = [this](int page, std::shared_ptr<const PageImage> image) {
      std::lock_guard<std::mutex> g(lock);
      large.emplace_back(page, image);
      thumbnailsBeforeLarge = thumbnails.size();
      changed.notify_all();
    };
    return events;
  }
  template <typename Pred> bool WaitFor(Pred pred) {
    std::unique_lock<std::mutex> g(lock);
    return changed.wait_for(g, std::chrono::seconds(30), pred);
  }
};

// Pages of width x height points, each with a green block of its own width.
void WritePages(const std::string &path, int count, double width = 200, double height = 100) {
  std::vector<SimplePage> pages(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    pages[static_cast<size_t>(i)].width = width;
    pages[static_cast<size_t>(i)].height = height;
    pages[static_cast<size_t>(i)].content = FillRect(0x00A000, 10, 10, 20 + i % 100, 50);
  }
  WriteSimplePdf(path, pages);
}

TEST(ThumbnailQueue, WantsTheScreenFirstThenOutward) {
  using V = std::vector<int>;
  EXPECT_EQ(V({4, 5, 6, 7, 3, 8, 2}), ThumbnailQueue::WantedOrder(4, 6, 20, 4));
  EXPECT_EQ(V({0, 1, 2, 3, 4}), ThumbnailQueue::WantedOrder(0, 1, 5, 10));
  EXPECT_EQ(V({8, 9, 7, 6}), ThumbnailQueue::WantedOrder(8, 12, 10, 2));
  EXPECT_TRUE(ThumbnailQueue::WantedOrder(-1, -1, 10, 5).empty());
  EXPECT_TRUE(ThumbnailQueue::WantedOrder(0, 3, 0, 5).empty());
}

TEST(ThumbnailQueue, RendersThePagesOnScreenBeforeAnyOther) {
  TempDir dir;
  WritePages(dir.file("doc.pdf"), 60);
  Reports reports;
  ThumbnailQueue queue(Wide(dir.file("doc.pdf")), "", 40, 40, 1 << 20, reports.Events());
  queue.SetVisible(20, 25);
  ASSERT_TRUE(queue.Start());
  ASSERT_TRUE(reports.WaitFor([&] { return reports.thumbnails.size() >= 10; }));
  queue.Stop();
  EXPECT_EQ(RENDER_OK, reports.status);
  EXPECT_EQ(60, reports.pageCount);
  const std::vector<int> first(reports.thumbnails.begin(), reports.thumbnails.begin() + 10);
  EXPECT_EQ((std::vector<int>{20, 21, 22, 23, 24, 25, 26, 19, 27, 18}), first);
  const auto image = queue.Thumbnail(22);
  ASSERT_TRUE(image);
  EXPECT_EQ(40, image->width);
  EXPECT_EQ(20, image->height);
}

TEST(ThumbnailQueue, ALongDocumentNeverHoldsMoreThanTheBudget) {
  TempDir dir;
  WritePages(dir.file("manual.pdf"), 3000, 100, 100); // thumbnails fill their 60 x 60 box
  Reports reports;
  const size_t budget = 60 * 60 * 3 * 40; // forty thumbnails
  ThumbnailQueue queue(Wide(dir.file("manual.pdf")), "", 60, 60, budget, reports.Events());
  EXPECT_EQ(20, queue.Ahead());
  ASSERT_TRUE(queue.Start());
  // Scrolls through the whole document a screen of twelve pages at a time.
  for (int first = 0; first < 3000; first += 300) {
    queue.SetVisible(first, first + 11);
    ASSERT_TRUE(reports.WaitFor([&] {
      for (int page = first; page <= first + 11; ++page)
        if (!queue.Cache().Contains(page))
          return false;
      return true;
    })) << first;
    EXPECT_LE(queue.Cache().Bytes(), budget);
    EXPECT_LE(queue.Cache().Count(), 40u);
  }
  queue.Stop();
  // Far fewer renders than pages: only what came near the screen.
  EXPECT_LT(reports.thumbnails.size(), 400u);
}

TEST(ThumbnailQueue, ALargePictureComesBeforeTheThumbnails) {
  TempDir dir;
  WritePages(dir.file("doc.pdf"), 5);
  Reports reports;
  ThumbnailQueue queue(Wide(dir.file("doc.pdf")), "", 40, 40, 1 << 20, reports.Events());
  queue.RequestLarge(3, 400, 400);
  queue.SetVisible(0, 4);
  ASSERT_TRUE(queue.Start());
  ASSERT_TRUE(reports.WaitFor([&] { return reports.thumbnails.size() == 5; }));
  queue.Stop();
  ASSERT_EQ(1u, reports.large.size());
  EXPECT_EQ(3, reports.large[0].first);
  ASSERT_TRUE(reports.large[0].second);
  EXPECT_EQ(400, reports.large[0].second->width);
  EXPECT_EQ(0u, reports.thumbnailsBeforeLarge);
}

TEST(ThumbnailQueue, ADocumentThatDoesNotOpenIsReportedOnce) {
  TempDir dir;
  WriteFileBytes(dir.file("bad.pdf"), "%PDF-1.4 nothing else");
  Reports reports;
  ThumbnailQueue queue(Wide(dir.file("bad.pdf")), "", 40, 40, 1 << 20, reports.Events());
  queue.SetVisible(0, 3);
  ASSERT_TRUE(queue.Start());
  ASSERT_TRUE(reports.WaitFor([&] { return reports.status != -1; }));
  queue.Stop();
  EXPECT_EQ(RENDER_DAMAGED, reports.status);
  EXPECT_FALSE(reports.reason.empty());
  EXPECT_TRUE(reports.thumbnails.empty());
}

} // namespace
