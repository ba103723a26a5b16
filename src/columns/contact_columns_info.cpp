#include "foundation/internal/class_registration.h"
#include "prvdrinfo/columns/contact_columns_info.h"

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/keyed_collection_field.h"
#include "prvdrinfo/services/vesk.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kGet{"GN8LQMWMTUYUSNX66PVTK0GBY", "CContactColumnsInfo.ContactColumnGuid"};
constexpr ErrorSite kSet{"KXHMIORLWWHGBV0JD0AQNM0U2", "CContactColumnsInfo.ContactColumnGuid"};
constexpr ErrorSite kAddressBook{"FJCU97XYCANL3M7JVX4B5WABR",
                                 "CContactColumnsInfo.AddressBookColumnIdentifierFromColumnGuid"};
constexpr ErrorSite kTypeFromGuid{"MZ9OR21U0TNCWWWJ947O6K82N",
                                  "CContactColumnsInfo.ContactColumnTypeFromGuid"};
constexpr ErrorSite kContent{"ZN81QU1VJ1WSN6WHJ1N7J4AEJ", "CContactColumnsInfo.Content"};
constexpr ErrorSite kSetContent{"3KN428B5MU1WAFQ0CEYU7GNQT", "CContactColumnsInfo.Content"};
constexpr ErrorSite kWrite{"SG1K65Z8ZCIUJ8RFPGQKT7P65",
                           "CContactColumnsInfo.Class_WriteProperties"};
constexpr ErrorSite kRead{"PT1ELQ9GSY6VDJZ5AET1CK3K5", "CContactColumnsInfo.Class_ReadProperties"};

std::string KeyOf(int32_t contactColumnType) { return "KEY_" + std::to_string(contactColumnType); }
}  // namespace

KeyedCollection& CContactColumnsInfo::Guids() const {
  if (!guids_) guids_ = std::make_shared<KeyedCollection>(true, 1, true);
  return *guids_;
}

std::string CContactColumnsInfo::ContactColumnGuid(
    e_StandardContactColumns p_ContactColumnType) const {
  return kGet.Guard([&] {
    const KeyedCollection& guids = Guids();
    const std::string key = KeyOf(p_ContactColumnType);
    return guids.Exists(key) ? guids.Item(key).ToText() : std::string();
  });
}

void CContactColumnsInfo::SetContactColumnGuid(e_StandardContactColumns p_ContactColumnType,
                                               const std::string& value) {
  kSet.Guard([&] {
    // The entry moves to the end, as remove-then-add does; the change is made on a copy
    // so that a failure leaves the old entry in place.
    KeyedCollection changed(Guids());
    const std::string key = KeyOf(p_ContactColumnType);
    if (changed.Exists(key)) changed.Remove(key);
    changed.Add(Variant(value), key);
    *guids_ = std::move(changed);
  });
}

e_StandardContactColumns CContactColumnsInfo::ContactColumnTypeFromGuid(
    const std::string& p_ColumnGuid) const {
  return kTypeFromGuid.Guard([&] {
    const KeyedCollection& guids = Guids();
    for (int32_t type = FirstContactColumnType(); type <= LastContactColumnType(); ++type) {
      const std::string key = KeyOf(type);
      if (guids.Exists(key) && guids.Item(key).ToText() == p_ColumnGuid) {
        return static_cast<e_StandardContactColumns>(type);
      }
    }
    kTypeFromGuid.Raise(err::kObjectErrorBase, "ColumnGuid not found.");
  });
}

std::string CContactColumnsInfo::AddressBookColumnIdentifierFromColumnGuid(
    const std::string& p_ColumnGuid) const {
  return kAddressBook.Guard([&] {
    const e_StandardContactColumns type = ContactColumnTypeFromGuid(p_ColumnGuid);
    if (!CVesk::HasAddressBookColumnIdentifier(type)) {
      kAddressBook.Raise(err::kInvalidProcedureCall, "Unknown contact column type.");
    }
    return CVesk::AddressBookColumnIdentifier(type);
  });
}

Bytes CContactColumnsInfo::Content() const {
  return kContent.Guard([&] { return Serialize(); });
}

void CContactColumnsInfo::SetContent(const Bytes& value) {
  kSetContent.Guard([&] { Deserialize(value); });
}

void CContactColumnsInfo::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] { WriteKeyedCollection(bag, "ColumnGuids", Guids()); });
}

void CContactColumnsInfo::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] { guids_ = ReadKeyedCollection(bag, "ColumnGuids"); });
}

std::shared_ptr<CContactColumnsInfo> CContactColumnsInfoFcty::CreateContactColumnsInfo() const {
  return std::make_shared<CContactColumnsInfo>();
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CContactColumnsInfo)
}  // namespace prvdrinfo
