// The background reader's order and its cancelling, with a prober the test holds back.
#include "SourceProbeQueue.h"
#include "SourceProber.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Answers with the path's length as page count, each only when the test lets it.
class GatedProber : public SourceProber {
public:
  GatedProber() : SourceProber(std::string()) {}
  ProbeReply Probe(const ProbeRequest &request) override {
    std::unique_lock<std::mutex> lock(m_lock);
    ++started;
    m_changed.notify_all();
    m_changed.wait(lock, [this] { return allowed > 0 || aborted; });
    if (aborted)
      return ProbeReply{0, kProbeHelperFailed, {}};
    --allowed;
    return ProbeReply{static_cast<int32_t>(request.path.size()), 0, {}};
  }
  void Allow(int n) {
    std::lock_guard<std::mutex> lock(m_lock);
    allowed += n;
    m_changed.notify_all();
  }
  bool WaitStarted(int n) {
    std::unique_lock<std::mutex> lock(m_lock);
    return m_changed.wait_for(lock, std::chrono::seconds(20), [&] { return started >= n; });
  }
  void Abort() override {
    std::lock_guard<std::mutex> lock(m_lock);
    aborted = true;
    m_changed.notify_all();
  }

  int started = 0, allowed = 0;
  bool aborted = false;

private:
  std::mutex m_lock;
  std::condition_variable m_changed;
};

ProbeRequest Path(const wchar_t *path) {
  ProbeRequest request;
  request.path = path;
  return request;
}

class Queue : public ::testing::Test {
protected:
  Queue() {
    auto prober = std::make_unique<GatedProber>();
    gate = prober.get();
    queue = std::make_unique<SourceProbeQueue>(std::move(prober),
                                               [this](int32_t id, const ProbeReply &reply) {
                                                 std::lock_guard<std::mutex> lock(lock_);
                                                 answers.push_back({id, reply.nPages});
                                                 arrived.notify_all();
                                               });
  }
  bool WaitAnswers(size_t n) {
    std::unique_lock<std::mutex> lock(lock_);
    return arrived.wait_for(lock, std::chrono::seconds(20), [&] { return answers.size() >= n; });
  }
  std::vector<std::pair<int32_t, int32_t>> Answers() {
    std::lock_guard<std::mutex> lock(lock_);
    return answers;
  }

  GatedProber *gate = nullptr;
  std::unique_ptr<SourceProbeQueue> queue;
  std::mutex lock_;
  std::condition_variable arrived;
  std::vector<std::pair<int32_t, int32_t>> answers;
};

TEST_F(Queue, ReadsInTheOrderAskedWithUrgentRequestsFirst) {
  queue->Add(1, Path(L"a"));
  ASSERT_TRUE(gate->WaitStarted(1)); // 1 is being read
  queue->Add(2, Path(L"bb"));
  queue->Add(3, Path(L"ccc"));
  queue->Add(-9, Path(L"password check"), true);
  EXPECT_TRUE(queue->IsBusy());
  gate->Allow(4);
  ASSERT_TRUE(WaitAnswers(4));
  const std::vector<std::pair<int32_t, int32_t>> expected = {{1, 1}, {-9, 14}, {2, 2}, {3, 3}};
  EXPECT_EQ(Answers(), expected);
}

TEST_F(Queue, CancelledRequestsAreNotRead) {
  queue->Add(1, Path(L"a"));
  ASSERT_TRUE(gate->WaitStarted(1));
  queue->Add(2, Path(L"bb"));
  queue->Add(3, Path(L"ccc"));
  queue->Add(4, Path(L"dddd"));
  queue->Cancel(3);
  gate->Allow(10);
  ASSERT_TRUE(WaitAnswers(3));
  queue->CancelAll();
  queue->Add(5, Path(L"eeeee"));
  ASSERT_TRUE(WaitAnswers(4));
  const std::vector<std::pair<int32_t, int32_t>> expected = {{1, 1}, {2, 2}, {4, 4}, {5, 5}};
  EXPECT_EQ(Answers(), expected);
  EXPECT_EQ(gate->started, 4);
}

TEST_F(Queue, StopGivesUpTheReadingAndDeliversNothingMore) {
  queue->Add(1, Path(L"a"));
  queue->Add(2, Path(L"bb"));
  ASSERT_TRUE(gate->WaitStarted(1));
  queue->Stop(); // aborts the prober, which the gate sees
  EXPECT_TRUE(Answers().empty());
  EXPECT_FALSE(queue->IsBusy());
  queue->Add(3, Path(L"ccc")); // refused after Stop
  EXPECT_FALSE(queue->IsBusy());
}

} // namespace
