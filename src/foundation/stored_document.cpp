#include "foundation/stored_document.h"

#include <utility>

namespace prvdrinfo {

namespace {

// Room kept past this many entries goes back to the allocator, so that one large
// document does not stay on a thread for good.
constexpr size_t kKeptEntries = 4096;

std::vector<std::unique_ptr<StoredDocument>>& Pool() {
  static thread_local std::vector<std::unique_ptr<StoredDocument>> pool;
  return pool;
}

}  // namespace

LentDocument::LentDocument() {
  auto& pool = Pool();
  if (pool.empty()) {
    document_ = std::make_unique<StoredDocument>();
  } else {
    document_ = std::move(pool.back());
    pool.pop_back();
  }
}

LentDocument::~LentDocument() {
  document_->end = nullptr;
  if (document_->entries.capacity() > kKeptEntries) {
    document_->entries = {};
    document_->maps = {};
  } else {
    document_->entries.clear();
    document_->maps.clear();
  }
  try {
    Pool().push_back(std::move(document_));
  } catch (...) {
    // No room to keep it: it goes.
  }
}

}  // namespace prvdrinfo
