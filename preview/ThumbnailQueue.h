#pragma once
#include "PageImage.h"
#include "ThumbnailCache.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// What the rendering worker reports. Called on the worker's thread: a window only passes the
// report on to its own thread.
struct ThumbnailEvents {
  // The document was opened (status RENDER_OK) or not, with the reason and the page count.
  std::function<void(int status, const std::wstring &reason, int pageCount)> opened;
  // The thumbnail of page is now in the cache.
  std::function<void(int page)> thumbnail;
  // The large picture asked for by RequestLarge.
  std::function<void(int page, std::shared_ptr<const PageImage> image)> large;
};

// Renders the thumbnails of one PDF on a worker thread of its own, the pages on screen first
// and then outward from them, into a cache bounded in bytes. The worker keeps ahead of the
// screen only as far as half the cache holds, so that what it renders is not dropped again
// before it is shown; pages far from the screen are rendered when they come near it.
class ThumbnailQueue {
public:
  ThumbnailQueue(std::wstring path, std::string password, int thumbWidth, int thumbHeight,
                 size_t budgetBytes, ThumbnailEvents events);
  // Stops the worker.
  ~ThumbnailQueue();
  ThumbnailQueue(const ThumbnailQueue &) = delete;
  ThumbnailQueue &operator=(const ThumbnailQueue &) = delete;

  // Starts the worker, which opens the document first. False when it runs already or no thread
  // could be made.
  bool Start();
  // Ends the worker after the page it is rendering; no report comes after this returns.
  void Stop();

  // Pages first .. last (from 0) are on screen; rendering turns to them.
  void SetVisible(int first, int last);
  // One picture of page fitted into width x height, before any thumbnail; a newer request
  // replaces one not yet started.
  void RequestLarge(int page, int width, int height);

  // The page's thumbnail when it is cached.
  std::shared_ptr<const PageImage> Thumbnail(int page) { return m_cache.Find(page); }
  const ThumbnailCache &Cache() const { return m_cache; }
  // How many pages beyond the screen the worker renders ahead.
  int Ahead() const { return m_nAhead; }

  // The order in which pages are wanted for a screen showing first .. last of count pages:
  // the screen from the top, then alternately the next page below and above it, ahead pages
  // more at most.
  static std::vector<int> WantedOrder(int first, int last, int count, int ahead);

private:
  void Run();
  // The next page to render, or -1; called with m_lock held.
  int NextThumbnailLocked(int count) const;

  const std::wstring m_strPath;
  const std::string m_strPassword;
  const int m_nThumbWidth, m_nThumbHeight;
  ThumbnailEvents m_events;
  ThumbnailCache m_cache;
  int m_nAhead = 0;

  std::mutex m_lock;
  std::condition_variable m_wake;
  bool m_bStop = false;
  int m_nFirst = -1, m_nLast = -1;
  int m_nLargePage = -1, m_nLargeWidth = 0, m_nLargeHeight = 0;
  std::unique_ptr<std::thread> m_thread;
};
