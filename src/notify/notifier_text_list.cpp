#include "prvdrinfo/notify/notifier_text_list.h"

#include <algorithm>
#include <map>
#include <utility>

#include "foundation/internal/content_parts.h"
#include "services/internal/libs_factory.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/text_service.h"
#include "prvdrinfo/foundation/unicode.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kAdd{"U6QUSKMWGVCN4M34D7XS95ALS", "CNotifierTextList.Add"};
constexpr ErrorSite kByIndex{"YXGP8EQQ9B7K495SY24JGFRV5", "CNotifierTextList.ByIndex"};
constexpr ErrorSite kRemove{"PQVK52A92FPG46I25333SXEJG", "CNotifierTextList.RemoveByIndex"};
constexpr ErrorSite kHash{"6JGCJ7XU4LH4R4WU56Z99QJQ2", "CNotifierTextList.ContentHash"};
constexpr ErrorSite kWrite{"L7BC0VHHNNS8DH3A328ERRQ9Q", "CNotifierTextList.Class_WriteProperties"};
constexpr ErrorSite kRead{"ZXAPOAT41CEKJJS5WM52UI8A1", "CNotifierTextList.Class_ReadProperties"};
constexpr ErrorSite kContent{"7DG5SD2ILFRIGH5AE0C8SFX9B", "CNotifierTextList.AppendContentString3"};

constexpr char kTab = '\t';
}  // namespace

void CNotifierTextList::CheckNoTab(const std::string& p_Entry) const {
  if (p_Entry.find(kTab) != std::string::npos) {
    kAdd.Raise(err::kInvalidProcedureCall,
               std::string("Can't use TAB character in ") + entryName_ + ".");
  }
}

void CNotifierTextList::Add(const std::string& p_Entry) {
  kAdd.Guard([&] {
    CheckNoTab(p_Entry);
    if (IndexOf(p_Entry) >= 0) {
      kAdd.Raise(err::kInvalidProcedureCall,
                 std::string(entryName_) + " already exists in collection.");
    }
    Append(p_Entry);
  });
}

void CNotifierTextList::Append(const std::string& p_Entry) {
  if (IndexOf(p_Entry) < 0) entries_.push_back(unicode::FoldCase(p_Entry));
}

int32_t CNotifierTextList::IndexOf(const std::string& p_Entry) const {
  const std::string wanted = unicode::FoldCase(p_Entry);
  for (size_t i = 0; i < entries_.size(); ++i) {
    // Loaded entries are taken as stored, so they are folded too.
    if (unicode::FoldCase(entries_[i]) == wanted) return static_cast<int32_t>(i);
  }
  return -1;
}

bool CNotifierTextList::Exists(const std::string& p_Entry) const { return IndexOf(p_Entry) >= 0; }

const std::string& CNotifierTextList::EntryByIndex(int32_t p_ZeroBasedIndex) const {
  if (p_ZeroBasedIndex < 0 || static_cast<size_t>(p_ZeroBasedIndex) >= entries_.size()) {
    kByIndex.Raise(err::kSubscriptOutOfRange);
  }
  return entries_[static_cast<size_t>(p_ZeroBasedIndex)];
}

void CNotifierTextList::RemoveByIndex(int32_t p_ZeroBasedIndex) {
  if (p_ZeroBasedIndex < 0 || static_cast<size_t>(p_ZeroBasedIndex) >= entries_.size()) {
    kRemove.Raise(err::kSubscriptOutOfRange);
  }
  entries_.erase(entries_.begin() + p_ZeroBasedIndex);
}

std::string CNotifierTextList::Serialize() const {
  std::string joined;
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (i > 0) joined += kTab;
    joined += entries_[i];
  }
  return joined;
}

void CNotifierTextList::Deserialize(const std::string& p_Content) {
  std::vector<std::string> pieces;
  if (!p_Content.empty()) {
    size_t start = 0;
    for (;;) {
      const size_t tab = p_Content.find(kTab, start);
      pieces.push_back(
          p_Content.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
  }
  entries_ = std::move(pieces);
}

std::string CNotifierTextList::ContentHash() const {
  return kHash.Guard([&] {
    // Equal sort keys (entries loaded as stored may differ only in case) keep a fixed
    // order through the text itself.
    std::multimap<std::pair<std::string, std::string>, const std::string*> sorted;
    for (const std::string& entry : entries_) {
      sorted.emplace(std::make_pair(TextService::SortKey(entry, 0, false), entry), &entry);
    }
    const auto hasher = CLibsFactory().CreateHasher("sha-256", "hex");
    hasher->Update("CONTENTHASH");
    for (const auto& [key, entry] : sorted) {
      hasher->Update(*entry);
      hasher->Update(std::string_view("\t"));
    }
    return hasher->Digest();
  });
}

void CNotifierTextList::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard(
      [&] { bag.WriteProperty("Contents", Variant(Serialize()), Variant(std::string())); });
}

void CNotifierTextList::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] { Deserialize(bag.ReadText("Contents", "")); });
}

void CNotifierTextList::AppendContentString3(StringBuilder& po_StringBuilder) const {
  kContent.Guard([&] { content::AppendSerialized(po_StringBuilder, *this); });
}

}  // namespace prvdrinfo
