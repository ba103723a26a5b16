#include "prvdrinfo/viewsdb/db_helpers.h"

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/text_service.h"

namespace prvdrinfo {

std::string CDbHelpers::DefinedNames() { return kSmartSort; }

int32_t CDbHelpers::CallbackCollate(int32_t CollationIndex, std::string_view Left, std::string_view Right) {
  static constexpr ErrorSite kSite{"89J1GRD6VT6XFGUHP5FVZ6VQ6", "CDbHelpers.CallbackCollate"};
  if (CollationIndex != 0) return 0;
  return kSite.Guard([&] {
    return TextService::CompareKeys(TextService::SortKey(Left, TextService::kCleanCaption, true),
                                    TextService::SortKey(Right, TextService::kCleanCaption, true));
  });
}

}  // namespace prvdrinfo
