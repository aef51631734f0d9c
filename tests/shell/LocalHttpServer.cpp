#include "LocalHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Waits up to ms for fd to become readable; false on time-out.
bool WaitReadable(int fd, int ms) {
  pollfd entry{fd, POLLIN, 0};
  return poll(&entry, 1, ms) > 0;
}

bool SendAll(int fd, const std::string &data) {
  size_t sent = 0;
  while (sent < data.size()) {
    const ssize_t n = send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
    if (n <= 0)
      return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

} // namespace

LocalHttpServer::LocalHttpServer() {
  m_listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof(address);
  if (m_listener < 0 || bind(m_listener, reinterpret_cast<sockaddr *>(&address), length) != 0 ||
      listen(m_listener, 8) != 0 ||
      getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
    throw std::runtime_error("test HTTP server: cannot listen on 127.0.0.1");
  m_port = ntohs(address.sin_port);
  m_thread = std::thread([this] { Serve(); });
}

LocalHttpServer::~LocalHttpServer() {
  {
    std::lock_guard<std::mutex> lock(m_lock);
    m_stop = true;
  }
  m_stopped.notify_all();
  m_thread.join();
  close(m_listener);
}

void LocalHttpServer::Respond(int status, const std::string &body) {
  std::lock_guard<std::mutex> lock(m_lock);
  m_mode = Mode::Respond;
  m_status = status;
  m_body = body;
}

void LocalHttpServer::SetMode(Mode mode) {
  std::lock_guard<std::mutex> lock(m_lock);
  m_mode = mode;
}

std::string LocalHttpServer::host() const { return "http://127.0.0.1:" + std::to_string(m_port); }

std::string LocalHttpServer::lastRequest() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_lastRequest;
}

void LocalHttpServer::Serve() {
  while (!m_stop) {
    if (!WaitReadable(m_listener, 50))
      continue;
    const int client = accept(m_listener, nullptr, nullptr);
    if (client < 0)
      continue;
    Answer(client);
    close(client);
  }
}

void LocalHttpServer::Answer(int client) {
  std::string request;
  char buffer[4096];
  while (request.find("\r\n\r\n") == std::string::npos && !m_stop) {
    if (!WaitReadable(client, 50))
      continue;
    const ssize_t n = recv(client, buffer, sizeof buffer, 0);
    if (n <= 0)
      return;
    request.append(buffer, static_cast<size_t>(n));
  }
  Mode mode;
  int status;
  std::string body;
  {
    std::lock_guard<std::mutex> lock(m_lock);
    m_lastRequest = request;
    mode = m_mode;
    status = m_status;
    body = m_body;
  }
  ++m_requests;
  if (mode == Mode::Stall) {
    std::unique_lock<std::mutex> lock(m_lock);
    m_stopped.wait(lock, [this] { return m_stop.load(); });
    return;
  }
  if (mode == Mode::Endless) {
    SendAll(client, "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n\r\n");
    const std::string block(64 * 1024, 'x');
    while (!m_stop && SendAll(client, block)) {
    }
    return;
  }
  const std::string head = "HTTP/1.1 " + std::to_string(status) +
                           " Status\r\nContent-Length: " + std::to_string(body.size()) +
                           "\r\nContent-Type: text/plain\r\nConnection: close\r\n\r\n";
  SendAll(client, head + body);
}
