#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/keyed_objects.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/providers/descend_menu_item.h"

namespace prvdrinfo {

// The menu of places a user can descend to from a record, in insertion order, keyed by
// each item's GUID (compared without regard to case). The keyed-collection errors pass on
// unchanged: 9 for a position out of range, 5 for an unknown GUID.
class PRVDRINFO_API CDescendMenuItems : public CPersistable {
 public:
  static constexpr const char* kClassName = "CDescendMenuItems";

  CDescendMenuItems();

  // Appends an item with that GUID and caption. 457 when an item has that GUID already;
  // a blank GUID is refused (5 "GUID Required."), since the item could never be found.
  std::shared_ptr<CDescendMenuItem> Add(const std::string& p_Guid, const std::string& p_Caption);
  void RemoveByIndex(int32_t p_ZeroBasedIndex);
  void RemoveByGuid(const std::string& p_Guid);
  // Removes the first item whose caption matches (as MenuItemByCaption); no match is no
  // error.
  void RemoveByCaption(const std::string& p_Caption);
  std::shared_ptr<CDescendMenuItem> MenuItemByIndex(int32_t p_ZeroBasedIndex) const;
  std::shared_ptr<CDescendMenuItem> MenuItemByGuid(const std::string& p_Guid) const;
  // The first item whose caption has the same smart-sort key (caption clean-up, case
  // folded, numbers by value); 5 "Item not found in this collection." when none has.
  std::shared_ptr<CDescendMenuItem> MenuItemByCaption(const std::string& p_Caption) const;
  int32_t Count() const { return items_.Count(); }

  // Walks the items in order (the collection's enumerator).
  using const_iterator = KeyedObjects<CDescendMenuItem>::const_iterator;
  const_iterator begin() const { return items_.begin(); }
  const_iterator end() const { return items_.end(); }

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;

 private:
  int32_t IndexOfCaption(const std::string& p_Caption) const;  // -1 when none matches

  KeyedObjects<CDescendMenuItem> items_;
};

class PRVDRINFO_API CDescendMenuItemsFactory {
 public:
  std::shared_ptr<CDescendMenuItems> CreateNewDescendMenuItems() const;
};

}  // namespace prvdrinfo
