#include "foundation/internal/class_registration.h"
#include "prvdrinfo/views/provider_view_cols_sort.h"

#include "foundation/internal/content_parts.h"
#include "foundation/internal/wrapper_string_builder.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kItemContent{"QAH3T0HVWJCRR5X0JWD1CIHH1",
                                 "CProviderViewColsSortItem.AppendContentString3"};
constexpr ErrorSite kItemWrite{"QYMVPW24HVHCSAG4B0Z8FCRNC",
                               "CProviderViewColsSortItem.Class_WriteProperties"};
constexpr ErrorSite kItemRead{"B05PX72DLKU812HIBHMOILCPN",
                              "CProviderViewColsSortItem.Class_ReadProperties"};
constexpr ErrorSite kAdd{"5WHGGPC170XPW7DS2QG0JYR03", "CProviderViewColsSort.Add"};
constexpr ErrorSite kPrepend{"7O8JD0LDNIFG4VBVIZ4N586PU", "CProviderViewColsSort.Prepend"};
constexpr ErrorSite kInsert{"1PQF3WDE8SY8TFN4DQOQROTVZ", "CProviderViewColsSort.Insert"};
constexpr ErrorSite kRemove{"OPLLYWEBQHT1GDLBHQP2C0ORK", "CProviderViewColsSort.Remove"};
constexpr ErrorSite kColumn{"0EAFTS0E7TTB98DQGE5G92LPE", "CProviderViewColsSort.Column"};
constexpr ErrorSite kGuidByIndex{"N9BCE52YFEUJ7K2O25VRRBB91", "CProviderViewColsSort.GuidByIndex"};
constexpr ErrorSite kColumnByIndex{"IR8FLP7SZCL8ILSPLUB6LAIWH",
                                   "CProviderViewColsSort.ColumnByIndex"};
constexpr ErrorSite kContent{"0DP2MOQONSI8C1OP3WPB5HF9H",
                             "CProviderViewColsSort.AppendContentString3"};
constexpr ErrorSite kWrite{"6PY47PT5KSBN6JWFV9TZHNJ7H",
                           "CProviderViewColsSort.Class_WriteProperties"};
constexpr ErrorSite kRead{"7GM46GMHUWXOOLK7NK1QWTR8P",
                          "CProviderViewColsSort.Class_ReadProperties"};

e_ColumnSortDirection Reversed(e_ColumnSortDirection direction) {
  return direction == colsort_Ascending ? colsort_Descending : colsort_Ascending;
}
}  // namespace

CProviderViewColsSortItem::CProviderViewColsSortItem() { initialised_ = true; }

void CProviderViewColsSortItem::SetDirection(e_ColumnSortDirection value) {
  if (value == direction_) return;
  direction_ = value;
  isDirty_ = initialised_;
}

void CProviderViewColsSortItem::AppendContentString3(StringBuilder& po_StringBuilder) const {
  kItemContent.Guard([&] { content::AppendSerialized(po_StringBuilder, *this); });
}

void CProviderViewColsSortItem::Class_WriteProperties(PropertyBag& bag) const {
  kItemWrite.Guard([&] { bag.WriteProperty("Direction", static_cast<int32_t>(direction_)); });
}

void CProviderViewColsSortItem::Class_ReadProperties(const PropertyBag& bag) {
  kItemRead.Guard([&] {
    direction_ = static_cast<e_ColumnSortDirection>(bag.ReadLong("Direction", colsort_Ascending));
    initialised_ = true;
  });
}

CProviderViewColsSort::CProviderViewColsSort() = default;

std::shared_ptr<CProviderViewColsSortItem> CProviderViewColsSort::Add(const std::string& p_Guid) {
  return kAdd.Guard([&] {
    std::shared_ptr<CProviderViewColsSortItem> item;
    if (items_.Exists(p_Guid)) {
      item = items_.Item(p_Guid);
      item->SetDirection(Reversed(item->Direction()));
    } else {
      item = std::make_shared<CProviderViewColsSortItem>();
      items_.Add(item, p_Guid);
    }
    isDirty_ = true;
    return item;
  });
}

std::shared_ptr<CProviderViewColsSortItem> CProviderViewColsSort::Prepend(
    const std::string& p_Guid) {
  return kPrepend.Guard([&] {
    std::shared_ptr<CProviderViewColsSortItem> item;
    const int32_t index = items_.IndexOfKey(p_Guid);
    if (index == 0) {
      item = items_.ItemByIndex(0);
      item->SetDirection(Reversed(item->Direction()));
    } else {
      item = std::make_shared<CProviderViewColsSortItem>();
    }
    if (index >= 0) items_.RemoveByIndex(index);
    if (items_.Count() == 0) {
      items_.Add(item, p_Guid);
    } else {
      items_.AddBefore(item, p_Guid, 0);
    }
    isDirty_ = true;
    return item;
  });
}

std::shared_ptr<CProviderViewColsSortItem> CProviderViewColsSort::Insert(
    const std::string& p_Guid, const std::string& p_InsertAtGuid,
    e_InsertSortOrderPosition p_BeforeOrAfter) {
  return kInsert.Guard([&] {
    const int32_t at = items_.IndexOfKey(p_InsertAtGuid);
    const int32_t current = items_.IndexOfKey(p_Guid);
    // GUIDs differing only in case are the same key: taking one out would take out the other.
    if (p_InsertAtGuid == p_Guid || (at >= 0 && current == at)) {
      kInsert.Raise(err::kInvalidProcedureCall, "New and InsertAt GUIDs must be different.");
    }
    if (at < 0) kInsert.Raise(err::kInvalidProcedureCall, "InsertAt GUID does not exist.");
    auto item = std::make_shared<CProviderViewColsSortItem>();
    if (current >= 0) {
      const bool samePlace =
          p_BeforeOrAfter == insertpos_After ? current == at + 1 : current == at - 1;
      if (samePlace) item->SetDirection(colsort_Descending);
      items_.RemoveByIndex(current);
    }
    const int32_t target = items_.IndexOfKey(p_InsertAtGuid);
    if (p_BeforeOrAfter == insertpos_After) {
      items_.AddAfter(item, p_Guid, target);
    } else {
      items_.AddBefore(item, p_Guid, target);
    }
    return item;
  });
}

void CProviderViewColsSort::Remove(const std::string& p_Guid) {
  kRemove.Guard([&] { items_.Remove(p_Guid); });
}

void CProviderViewColsSort::RemoveAll() {
  items_.RemoveAll();
  isDirty_ = true;
}

std::shared_ptr<CProviderViewColsSortItem> CProviderViewColsSort::Column(
    const std::string& p_Guid) const {
  return kColumn.Guard([&] { return items_.Item(p_Guid); });
}

std::string CProviderViewColsSort::GuidByIndex(int32_t p_ZeroBasedIndex) const {
  return kGuidByIndex.Guard([&] { return items_.KeyByIndex(p_ZeroBasedIndex); });
}

std::shared_ptr<CProviderViewColsSortItem> CProviderViewColsSort::ColumnByIndex(
    int32_t p_ZeroBasedIndex) const {
  return kColumnByIndex.Guard([&] { return items_.ItemByIndex(p_ZeroBasedIndex); });
}

bool CProviderViewColsSort::IsDirty() const {
  if (isDirty_) return true;
  for (const auto& item : items_) {
    if (item->IsDirty()) return true;
  }
  return false;
}

void CProviderViewColsSort::SetIsDirty(bool value) {
  isDirty_ = value;
  if (value) return;
  for (const auto& item : items_) item->SetIsDirty(false);
}

void CProviderViewColsSort::AppendContentString3(StringBuilder& po_StringBuilder) const {
  kContent.Guard([&] {
    for (auto it = items_.begin(); it != items_.end(); ++it) {
      po_StringBuilder.Append(std::string_view(it.Key()));
      po_StringBuilder.Append(std::string_view("_"));
      (*it)->AppendContentString3(po_StringBuilder);
    }
  });
}

void CProviderViewColsSort::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] { items_.WriteTo(bag, "Columns"); });
}

void CProviderViewColsSort::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] { items_.ReadFrom(bag, "Columns"); });
}

std::shared_ptr<CProviderViewColsSort> CProviderViewColsSortF::CreateViewColsSort() const {
  return std::make_shared<CProviderViewColsSort>();
}

PRVDRINFO_REGISTER_CLASS(CProviderViewColsSortItem)
PRVDRINFO_REGISTER_CLASS(CProviderViewColsSort)

}  // namespace prvdrinfo
