#pragma once

namespace prvdrinfo {

// How many objects are being saved on this thread, one inside the other. An object
// graph with a cycle would otherwise save itself until the stack runs out: past
// PropertyBag::kMaxDepth the next capture raises.
inline thread_local int captureDepth = 0;

struct CaptureLevel {
  CaptureLevel() { ++captureDepth; }
  ~CaptureLevel() { --captureDepth; }
  CaptureLevel(const CaptureLevel&) = delete;
  CaptureLevel& operator=(const CaptureLevel&) = delete;
};

}  // namespace prvdrinfo
