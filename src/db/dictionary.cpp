#include "prvdrinfo/db/dictionary.h"

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/unicode.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kExists{"8FHEVHPIAQPIKQ7GM59TK7ND6", "Dictionary.Exists"};
constexpr ErrorSite kAdd{"OXAECYC5U7BP8LEOCLT072QLC", "Dictionary.Add"};
constexpr ErrorSite kItem{"C6UX3B8XRE8O4GTCINVM86NGC", "Dictionary.Item"};
constexpr ErrorSite kRemove{"AHZ1UVNUN1TOHCC930DWJMCKG", "Dictionary.Remove"};
}  // namespace

bool Dictionary::Exists(std::string_view key) const {
  return kExists.Guard([&] { return entries_.contains(unicode::FoldCase(key)); });
}

void Dictionary::Add(std::string_view key, const Variant& item) {
  kAdd.Guard([&] {
    if (!entries_.try_emplace(unicode::FoldCase(key), item).second) {
      kAdd.Raise(err::kKeyAlreadyAssociated);
    }
  });
}

Variant Dictionary::Item(std::string_view key) const {
  return kItem.Guard([&] {
    const auto it = entries_.find(unicode::FoldCase(key));
    if (it == entries_.end()) kItem.Raise(err::kInvalidProcedureCall);
    return it->second;
  });
}

void Dictionary::Remove(std::string_view key) {
  kRemove.Guard([&] {
    if (entries_.erase(unicode::FoldCase(key)) == 0) kRemove.Raise(err::kInvalidProcedureCall);
  });
}

}  // namespace prvdrinfo
