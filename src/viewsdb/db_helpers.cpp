#include "prvdrinfo/viewsdb/db_helpers.h"

#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/text_service.h"

namespace prvdrinfo {

namespace {

// An ORDER BY over 10,000 captions makes about 270,000 comparisons; computing both keys
// every time took seconds. Remembering them brings it to one key per caption. Bounded,
// so that a long-lived connection cannot grow it without end.
constexpr size_t kMaxEntries = 20000;
constexpr size_t kMaxCachedText = 512;

}  // namespace

struct CDbHelpers::KeyCache {
  // Looks texts up without copying them.
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };

  std::mutex mutex;
  std::unordered_map<std::string, std::string, Hash, std::equal_to<>> keys;

  // Element references survive rehashing; only the clear below drops them, and it runs
  // before either key is looked up.
  const std::string& KeyOf(std::string_view text, std::string& uncached) {
    if (text.size() > kMaxCachedText) {
      uncached = TextService::SortKey(text, TextService::kCleanCaption, true);
      return uncached;
    }
    if (const auto found = keys.find(text); found != keys.end()) return found->second;
    return keys
        .emplace(std::string(text), TextService::SortKey(text, TextService::kCleanCaption, true))
        .first->second;
  }

  int32_t Compare(std::string_view left, std::string_view right) {
    const std::lock_guard lock(mutex);
    if (keys.size() + 2 > kMaxEntries) keys.clear();
    std::string leftUncached;
    std::string rightUncached;
    const std::string& leftKey = KeyOf(left, leftUncached);
    const std::string& rightKey = KeyOf(right, rightUncached);
    return TextService::CompareKeys(leftKey, rightKey);
  }
};

CDbHelpers::CDbHelpers() : keys_(std::make_unique<KeyCache>()) {}

CDbHelpers::~CDbHelpers() = default;

std::string CDbHelpers::DefinedNames() { return kSmartSort; }

int32_t CDbHelpers::CallbackCollate(int32_t CollationIndex, std::string_view Left,
                                    std::string_view Right) {
  static constexpr ErrorSite kSite{"89J1GRD6VT6XFGUHP5FVZ6VQ6", "CDbHelpers.CallbackCollate"};
  if (CollationIndex != 0) return 0;
  return kSite.Guard([&] { return keys_->Compare(Left, Right); });
}

}  // namespace prvdrinfo
