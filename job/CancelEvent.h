#pragma once
#include <atomic>

// A manual-reset event that is only ever polled: Set by the user interface thread when the
// user cancels, tested by the worker through the engine's cancel callback. Created not set.
class CancelEvent {
public:
  void Set() { m_bSet.store(true, std::memory_order_release); }
  // A zero-timeout wait: true when the event is set.
  bool IsSignalled() const { return m_bSet.load(std::memory_order_acquire); }

private:
  std::atomic<bool> m_bSet{false};
};
