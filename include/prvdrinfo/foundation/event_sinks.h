#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "prvdrinfo/foundation/export.h"

namespace prvdrinfo {

// The listeners of one object's events. A host attaches a sink with Advise and keeps the
// cookie to detach it; the object holds the sink until then, as an automation connection
// point does (a sink that refers back to the object must be detached to break the cycle).
template <class Sink>
class PRVDRINFO_API EventSinks {
 public:
  int32_t Advise(std::shared_ptr<Sink> sink) {
    if (!sink) return 0;
    const int32_t cookie = ++lastCookie_;
    sinks_.emplace_back(cookie, std::move(sink));
    return cookie;
  }

  // An unknown cookie is ignored.
  void Unadvise(int32_t cookie) {
    std::erase_if(sinks_, [cookie](const auto& entry) { return entry.first == cookie; });
  }

  size_t Count() const { return sinks_.size(); }

  // Calls every sink in the order they were attached. Works on a snapshot, so a sink may
  // attach or detach sinks while it is called.
  template <class Call>
  void Raise(Call&& call) const {
    const auto snapshot = sinks_;
    for (const auto& entry : snapshot) call(*entry.second);
  }

 private:
  std::vector<std::pair<int32_t, std::shared_ptr<Sink>>> sinks_;
  int32_t lastCookie_ = 0;
};

}  // namespace prvdrinfo
