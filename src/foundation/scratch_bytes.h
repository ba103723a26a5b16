#pragma once

#include <cstddef>

#include "prvdrinfo/foundation/variant.h"

namespace prvdrinfo {

// A byte buffer kept on this thread for the next encoding, so that building bytes does
// not grow a fresh vector each time. Encodings nest (a save routine may serialize a
// child), so each live ScratchBytes has a buffer of its own.
class ScratchBytes {
 public:
  ScratchBytes();
  ~ScratchBytes();
  ScratchBytes(const ScratchBytes&) = delete;
  ScratchBytes& operator=(const ScratchBytes&) = delete;

  Bytes& Buffer() { return *buffer_; }

 private:
  Bytes* buffer_;
};

}  // namespace prvdrinfo
