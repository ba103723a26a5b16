#pragma once

#include <time.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "prvdrinfo/services/vesk.h"

namespace prvdrinfo::test {

// Sets (or with nullopt unsets) an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(std::string name, std::optional<std::string> value) : name_(std::move(name)) {
    if (const char* old = std::getenv(name_.c_str())) old_ = old;
    Apply(value);
  }
  ~ScopedEnv() { Apply(old_); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  void Apply(const std::optional<std::string>& value) {
    if (value) {
      setenv(name_.c_str(), value->c_str(), 1);
    } else {
      unsetenv(name_.c_str());
    }
    tzset();
  }
  std::string name_;
  std::optional<std::string> old_;
};

// A fixed time zone, e.g. ScopedTimeZone tz("EST5EDT,M3.2.0,M11.1.0"). POSIX rule texts
// need no zone database and apply the same rule in every year.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const std::string& tz) : env_("TZ", tz) {}

 private:
  ScopedEnv env_;
};

// A fixed "now" (a local automation date) for the life of the object.
class ScopedClock {
 public:
  explicit ScopedClock(double now) {
    CVesk::SetClock([now] { return now; });
  }
  ~ScopedClock() { CVesk::SetClock({}); }
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;
};

// Collects log lines for the life of the object.
class ScopedLogCapture {
 public:
  struct Line {
    std::string className;
    std::string message;
  };
  ScopedLogCapture() {
    CVesk::SetLogSink([this](const std::string& className, const std::string& message) {
      lines_.push_back({className, message});
    });
  }
  ~ScopedLogCapture() { CVesk::SetLogSink({}); }
  ScopedLogCapture(const ScopedLogCapture&) = delete;
  ScopedLogCapture& operator=(const ScopedLogCapture&) = delete;

  const std::vector<Line>& Lines() const { return lines_; }
  bool Contains(const std::string& text) const {
    for (const auto& line : lines_) {
      if (line.message.find(text) != std::string::npos) return true;
    }
    return false;
  }

 private:
  std::vector<Line> lines_;
};

}  // namespace prvdrinfo::test
