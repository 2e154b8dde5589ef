#include "support/ScopedEnvironment.h"

#include <cstdlib>

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value) : m_name(name) {
  if (const char* previous = std::getenv(name)) {
    m_previous = previous;
    m_hadValue = true;
  }
  if (value != nullptr) {
    setenv(name, value, 1);
  } else {
    unsetenv(name);
  }
}

ScopedEnvironment::~ScopedEnvironment() {
  if (m_hadValue) {
    setenv(m_name.c_str(), m_previous.c_str(), 1);
  } else {
    unsetenv(m_name.c_str());
  }
}
