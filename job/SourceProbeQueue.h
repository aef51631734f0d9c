#pragma once
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "ProbeProtocol.h"

class SourceProber;

// The main window's background reader: one worker thread that reads the listed PDFs one after
// the other, in the order they were asked for, so that adding files never waits for them.
// Every answer goes to the deliver function on the worker's thread, with the identifier the
// request was given; the window then finds the row (it may be gone by then).
class SourceProbeQueue {
public:
  using Deliver = std::function<void(int32_t id, const ProbeReply &reply)>;

  // prober does the reading (the queue owns it); deliver is called for every answer that was
  // not cancelled before its reading started.
  SourceProbeQueue(std::unique_ptr<SourceProber> prober, Deliver deliver);
  // Stops as Stop does.
  ~SourceProbeQueue();
  SourceProbeQueue(const SourceProbeQueue &) = delete;
  SourceProbeQueue &operator=(const SourceProbeQueue &) = delete;

  // Reads request after those already asked for; urgent: before them (a password the user
  // waits for).
  void Add(int32_t id, const ProbeRequest &request, bool urgent = false);
  // Forgets the request with the identifier if its reading has not started.
  void Cancel(int32_t id);
  void CancelAll();
  // True while a request waits or is read.
  bool IsBusy() const;
  // Drops what waits, gives up the reading in progress and ends the worker; nothing is
  // delivered afterwards. Idempotent.
  void Stop();

private:
  struct Item {
    int32_t id;
    ProbeRequest request;
  };
  void Run();

  std::unique_ptr<SourceProber> m_prober;
  Deliver m_deliver;
  mutable std::mutex m_lock;
  std::condition_variable m_wake;
  std::deque<Item> m_waiting;
  bool m_reading = false;
  bool m_stopping = false;
  std::thread m_worker;
};
