#include "SourceProbeQueue.h"

#include "SourceProber.h"

#include <algorithm>

SourceProbeQueue::SourceProbeQueue(std::unique_ptr<SourceProber> prober, Deliver deliver)
    : m_prober(std::move(prober)), m_deliver(std::move(deliver)) {}

SourceProbeQueue::~SourceProbeQueue() { Stop(); }

void SourceProbeQueue::Add(int32_t id, const ProbeRequest &request, bool urgent) {
  std::lock_guard<std::mutex> lock(m_lock);
  if (m_stopping)
    return;
  if (urgent)
    m_waiting.push_front({id, request});
  else
    m_waiting.push_back({id, request});
  // The worker starts with the first request: a window that never reads a file has none.
  if (!m_worker.joinable())
    m_worker = std::thread(&SourceProbeQueue::Run, this);
  m_wake.notify_one();
}

void SourceProbeQueue::Cancel(int32_t id) {
  std::lock_guard<std::mutex> lock(m_lock);
  m_waiting.erase(std::remove_if(m_waiting.begin(), m_waiting.end(),
                                 [id](const Item &item) { return item.id == id; }),
                  m_waiting.end());
}

void SourceProbeQueue::CancelAll() {
  std::lock_guard<std::mutex> lock(m_lock);
  m_waiting.clear();
}

bool SourceProbeQueue::IsBusy() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_reading || !m_waiting.empty();
}

void SourceProbeQueue::Stop() {
  {
    std::lock_guard<std::mutex> lock(m_lock);
    m_stopping = true;
    m_waiting.clear();
    m_wake.notify_one();
  }
  m_prober->Abort();
  if (m_worker.joinable())
    m_worker.join();
}

void SourceProbeQueue::Run() {
  for (;;) {
    Item item;
    {
      std::unique_lock<std::mutex> lock(m_lock);
      m_wake.wait(lock, [this] { return m_stopping || !m_waiting.empty(); });
      if (m_stopping)
        return;
      item = std::move(m_waiting.front());
      m_waiting.pop_front();
      m_reading = true;
    }
    const ProbeReply reply = m_prober->Probe(item.request);
    std::lock_guard<std::mutex> lock(m_lock);
    // Delivered under the lock: Stop cannot return while an answer is on its way to the
    // window.
    if (!m_stopping && m_deliver)
      m_deliver(item.id, reply);
    m_reading = false;
  }
}
