#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "prvdrinfo/db/collation.h"
#include "prvdrinfo/foundation/export.h"

namespace prvdrinfo {

// The SmartSort collation ("COLLATE SMARTSORT", any case), registered on every views
// database connection. Two captions compare as their smart-sort keys
// (TextService::SortKey(text, 3, true)) do in byte order, so ordering by caption with
// SmartSort agrees with ordering by the stored caption_sort column: "View 2" before
// "view 10", captions with equal keys in an equal place. Any collation index but 0
// compares everything as equal.
//
// Sorting compares each caption many times, so the object remembers the keys of the
// captions it has seen (a bounded number of short ones); the result depends on the two
// texts only. One object may serve several connections and threads.
class PRVDRINFO_API CDbHelpers : public ICollation {
 public:
  static constexpr const char* kSmartSort = "SmartSort";

  CDbHelpers();
  ~CDbHelpers() override;
  CDbHelpers(const CDbHelpers&) = delete;
  CDbHelpers& operator=(const CDbHelpers&) = delete;

  std::string DefinedNames() override;
  // -1, 0 or 1.
  int32_t CallbackCollate(int32_t CollationIndex, std::string_view Left,
                          std::string_view Right) override;

 private:
  struct KeyCache;
  std::unique_ptr<KeyCache> keys_;
};

}  // namespace prvdrinfo
