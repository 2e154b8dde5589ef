#pragma once
// Sets (or, with nullptr, removes) one environment variable for the lifetime of the object and
// puts the previous state back afterwards.
#include <string>

class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value);
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::string m_name;
  std::string m_previous;
  bool m_hadValue = false;
};
