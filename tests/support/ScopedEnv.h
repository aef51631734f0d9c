#pragma once
#include <cstdlib>
#include <string>

// Sets an environment variable for the life of the object, then restores it.
class ScopedEnv {
public:
  ScopedEnv(const char *name, const std::string &value) : m_name(name) {
    if (const char *old = std::getenv(name)) {
      m_had = true;
      m_old = old;
    }
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (m_had)
      setenv(m_name.c_str(), m_old.c_str(), 1);
    else
      unsetenv(m_name.c_str());
  }
  ScopedEnv(const ScopedEnv &) = delete;
  ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
  std::string m_name;
  std::string m_old;
  bool m_had = false;
};
