#include "foundation/internal/class_registration.h"
#include "prvdrinfo/providers/descend_menu_items.h"

#include "prvdrinfo/services/text_service.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kAdd{"3R74VCTR2W91MD8K6IHLGL54Z", "CDescendMenuItems.Add"};
constexpr ErrorSite kRemoveByIndex{"T1R54SWJ7GAV7UTO19KM4ITJI", "CDescendMenuItems.RemoveByIndex"};
constexpr ErrorSite kRemoveByGuid{"3CZML80DMVJA2SL6BJPNRH8S2", "CDescendMenuItems.RemoveByGuid"};
constexpr ErrorSite kRemoveByCaption{"6LJ0EZOLN7SWMAQP3DLFD866C",
                                     "CDescendMenuItems.RemoveByCaption"};
constexpr ErrorSite kByIndex{"ROV03520QBS9VMC54MLZXDHJV", "CDescendMenuItems.MenuItemByIndex"};
constexpr ErrorSite kByGuid{"VTLRCXIO6VPE4BNDYI1E62JKQ", "CDescendMenuItems.MenuItemByGuid"};
constexpr ErrorSite kByCaption{"B7G67XOF6OD0DFTDCY7YRVGF4", "CDescendMenuItems.MenuItemByCaption"};
constexpr ErrorSite kFindCaption{"85NM9ZO2QVCRDYE2EJH5WPY5I", "CDescendMenuItems.IndexOfCaption"};
constexpr ErrorSite kWrite{"6KX3WZ9FJCX38KG81J48TO7J6", "CDescendMenuItems.Class_WriteProperties"};
constexpr ErrorSite kRead{"2G73X4B6S9RDS2WVJLXPSIVZT", "CDescendMenuItems.Class_ReadProperties"};

// The comparison form of a caption: the text service's sort key with arguments 3 and True.
std::string CaptionForm(const std::string& caption) {
  return TextService::SortKey(caption, 3, true);
}
}  // namespace

CDescendMenuItems::CDescendMenuItems() = default;

std::shared_ptr<CDescendMenuItem> CDescendMenuItems::Add(const std::string& p_Guid,
                                                         const std::string& p_Caption) {
  return kAdd.Guard([&] {
    if (TextService::IsEmpty(p_Guid)) kAdd.Raise(err::kInvalidProcedureCall, "GUID Required.");
    if (items_.Exists(p_Guid)) kAdd.Raise(err::kKeyAlreadyAssociated);
    auto item = std::make_shared<CDescendMenuItem>();
    item->SetGuid(p_Guid);
    item->SetCaption(p_Caption);
    items_.Add(item, p_Guid);
    return item;
  });
}

void CDescendMenuItems::RemoveByIndex(int32_t p_ZeroBasedIndex) {
  kRemoveByIndex.Guard([&] { items_.RemoveByIndex(p_ZeroBasedIndex); });
}

void CDescendMenuItems::RemoveByGuid(const std::string& p_Guid) {
  kRemoveByGuid.Guard([&] { items_.Remove(p_Guid); });
}

void CDescendMenuItems::RemoveByCaption(const std::string& p_Caption) {
  kRemoveByCaption.Guard([&] {
    // By position rather than by the item's GUID: an item whose GUID was changed after it
    // was added is still filed under the GUID it was added with.
    const int32_t index = IndexOfCaption(p_Caption);
    if (index >= 0) items_.RemoveByIndex(index);
  });
}

std::shared_ptr<CDescendMenuItem> CDescendMenuItems::MenuItemByIndex(
    int32_t p_ZeroBasedIndex) const {
  return kByIndex.Guard([&] { return items_.ItemByIndex(p_ZeroBasedIndex); });
}

std::shared_ptr<CDescendMenuItem> CDescendMenuItems::MenuItemByGuid(
    const std::string& p_Guid) const {
  return kByGuid.Guard([&] { return items_.Item(p_Guid); });
}

std::shared_ptr<CDescendMenuItem> CDescendMenuItems::MenuItemByCaption(
    const std::string& p_Caption) const {
  return kByCaption.Guard([&] {
    const int32_t index = IndexOfCaption(p_Caption);
    if (index < 0)
      kByCaption.Raise(err::kInvalidProcedureCall, "Item not found in this collection.");
    return items_.ItemByIndex(index);
  });
}

int32_t CDescendMenuItems::IndexOfCaption(const std::string& p_Caption) const {
  return kFindCaption.Guard([&] {
    const std::string wanted = CaptionForm(p_Caption);
    int32_t index = 0;
    for (const auto& item : items_) {
      if (item && CaptionForm(item->Caption()) == wanted) return index;
      ++index;
    }
    return int32_t{-1};
  });
}

void CDescendMenuItems::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] { items_.WriteTo(bag, "MenuItems"); });
}

void CDescendMenuItems::Class_ReadProperties(const PropertyBag& bag) {
  // Items are taken as stored; one that is no menu item fails when it is reached.
  kRead.Guard([&] { items_.ReadFrom(bag, "MenuItems", KeyedLoad::kAsStored); });
}

std::shared_ptr<CDescendMenuItems> CDescendMenuItemsFactory::CreateNewDescendMenuItems() const {
  return std::make_shared<CDescendMenuItems>();
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CDescendMenuItems)
}  // namespace prvdrinfo
