#pragma once
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

// A tiny HTTP server on 127.0.0.1 for the update check tests: answers every request the same
// configured way, one connection at a time, until it is destroyed.
class LocalHttpServer {
public:
  enum class Mode {
    Respond, // the status and body below, with Content-Length
    Stall,   // reads the request and never answers
    Endless, // a 200 response whose body never ends
  };

  LocalHttpServer();
  ~LocalHttpServer();
  LocalHttpServer(const LocalHttpServer &) = delete;
  LocalHttpServer &operator=(const LocalHttpServer &) = delete;

  void Respond(int status, const std::string &body);
  void SetMode(Mode mode);

  int port() const { return m_port; }
  // "http://127.0.0.1:<port>"
  std::string host() const;
  // The request line and headers of the last request; how many requests came.
  std::string lastRequest() const;
  int requestCount() const { return m_requests; }

private:
  void Serve();
  void Answer(int client);

  int m_listener = -1;
  int m_port = 0;
  std::atomic<bool> m_stop{false};
  std::atomic<int> m_requests{0};
  mutable std::mutex m_lock;
  std::condition_variable m_stopped; // notified when m_stop is set
  Mode m_mode = Mode::Respond;
  int m_status = 200;
  std::string m_body;
  std::string m_lastRequest;
  std::thread m_thread;
};
