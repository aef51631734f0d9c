#include "ThumbnailQueue.h"

#include "PageRenderer.h"

#include <algorithm>
#include <system_error>

ThumbnailQueue::ThumbnailQueue(std::wstring path, std::string password, int thumbWidth,
                               int thumbHeight, size_t budgetBytes, ThumbnailEvents events)
    : m_strPath(std::move(path)), m_strPassword(std::move(password)),
      m_nThumbWidth(std::max(1, thumbWidth)), m_nThumbHeight(std::max(1, thumbHeight)),
      m_events(std::move(events)), m_cache(budgetBytes) {
  const size_t perPage = static_cast<size_t>(m_nThumbWidth) * static_cast<size_t>(m_nThumbHeight) * 3;
  m_nAhead = static_cast<int>(std::min<size_t>(budgetBytes / perPage / 2, 100000));
}

ThumbnailQueue::~ThumbnailQueue() { Stop(); }

bool ThumbnailQueue::Start() {
  if (m_thread)
    return false;
  try {
    m_thread = std::make_unique<std::thread>([this] { Run(); });
  } catch (const std::system_error &) {
    return false;
  }
  return true;
}

void ThumbnailQueue::Stop() {
  {
    std::lock_guard<std::mutex> lock(m_lock);
    m_bStop = true;
  }
  m_wake.notify_all();
  if (m_thread && m_thread->joinable())
    m_thread->join();
  m_thread.reset();
}

void ThumbnailQueue::SetVisible(int first, int last) {
  {
    std::lock_guard<std::mutex> lock(m_lock);
    m_nFirst = first;
    m_nLast = last;
  }
  m_wake.notify_all();
}

void ThumbnailQueue::RequestLarge(int page, int width, int height) {
  {
    std::lock_guard<std::mutex> lock(m_lock);
    m_nLargePage = page;
    m_nLargeWidth = width;
    m_nLargeHeight = height;
  }
  m_wake.notify_all();
}

std::vector<int> ThumbnailQueue::WantedOrder(int first, int last, int count, int ahead) {
  std::vector<int> order;
  first = std::max(0, first);
  last = std::min(count - 1, last);
  if (first > last)
    return order;
  for (int page = first; page <= last; ++page)
    order.push_back(page);
  for (int step = 1; ahead > 0 && (last + step < count || first - step >= 0); ++step) {
    if (last + step < count && ahead > 0) {
      order.push_back(last + step);
      --ahead;
    }
    if (first - step >= 0 && ahead > 0) {
      order.push_back(first - step);
      --ahead;
    }
  }
  return order;
}

int ThumbnailQueue::NextThumbnailLocked(int count) const {
  if (m_nFirst < 0)
    return -1;
  for (int page : WantedOrder(m_nFirst, m_nLast, count, m_nAhead))
    if (!m_cache.Contains(page))
      return page;
  return -1;
}

void ThumbnailQueue::Run() {
  PageRenderer renderer;
  const bool opened = renderer.Open(m_strPath, m_strPassword);
  const int count = renderer.PageCount();
  if (m_events.opened)
    m_events.opened(renderer.Status(), renderer.Reason(), count);
  if (!opened)
    return;
  std::unique_lock<std::mutex> lock(m_lock);
  while (!m_bStop) {
    if (m_nLargePage >= 0) {
      const int page = m_nLargePage, width = m_nLargeWidth, height = m_nLargeHeight;
      m_nLargePage = -1;
      lock.unlock();
      std::shared_ptr<const PageImage> image = renderer.Render(page, width, height);
      if (m_events.large)
        m_events.large(page, image);
      lock.lock();
      continue;
    }
    const int page = NextThumbnailLocked(count);
    if (page < 0) {
      m_wake.wait(lock);
      continue;
    }
    lock.unlock();
    std::shared_ptr<const PageImage> image = renderer.Render(page, m_nThumbWidth, m_nThumbHeight);
    if (!image) // a page that cannot be drawn is shown blank rather than tried again and again
      image = std::make_shared<PageImage>();
    m_cache.Store(page, image);
    if (m_events.thumbnail)
      m_events.thumbnail(page);
    lock.lock();
  }
}
