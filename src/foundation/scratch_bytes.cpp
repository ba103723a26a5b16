#include "foundation/scratch_bytes.h"

#include <memory>
#include <vector>

namespace prvdrinfo {

namespace {

// A buffer that grew past this is given back rather than kept for the thread's life.
constexpr size_t kKeepCapacity = size_t{4} << 20;

thread_local std::vector<std::unique_ptr<Bytes>> pool;
thread_local size_t inUse = 0;

}  // namespace

ScratchBytes::ScratchBytes() {
  if (pool.size() == inUse) pool.push_back(std::make_unique<Bytes>());
  buffer_ = pool[inUse++].get();
  buffer_->clear();
}

ScratchBytes::~ScratchBytes() {
  --inUse;
  if (buffer_->capacity() > kKeepCapacity) Bytes().swap(*buffer_);
}

}  // namespace prvdrinfo
