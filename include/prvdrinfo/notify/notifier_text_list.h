#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "prvdrinfo/foundation/content_source.h"
#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/persistable.h"

namespace prvdrinfo {

// An ordered list of texts of a notifier (project GUIDs, contact GUIDs, contact
// categories): entries are stored lower-cased, unique without regard to case and never
// hold a TAB, because the list is kept as its entries joined by TAB.
//
// Serialize() gives that text ("" when empty) and Deserialize(text) takes the TAB
// separated pieces as they are; the property-bag bytes (the text under "Contents") are
// SerializeV / DeserializeV, or Serialize / Deserialize reached through CPersistable.
// Add raises 5 with the list's own messages; a failed Add leaves the list unchanged.
// Positions are zero-based; a position out of range raises 9.
// The content string is the property-bag bytes taken as text.
class PRVDRINFO_API CNotifierTextList : public CPersistable, public CContentSource {
 public:
  void Add(const std::string& p_Entry);
  bool Exists(const std::string& p_Entry) const;
  int32_t Count() const { return static_cast<int32_t>(entries_.size()); }
  void RemoveByIndex(int32_t p_ZeroBasedIndex);
  void RemoveAll() { entries_.clear(); }

  std::string Serialize() const;
  void Deserialize(const std::string& p_Content);

  // SHA-256 of "CONTENTHASH" and each entry followed by a TAB, the entries taken in the
  // order of their sort keys, so the order of adding does not count.
  std::string ContentHash() const;

  std::vector<std::string>::const_iterator begin() const { return entries_.begin(); }
  std::vector<std::string>::const_iterator end() const { return entries_.end(); }

  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;
  void AppendContentString3(StringBuilder& po_StringBuilder) const override;

 protected:
  // p_EntryName names an entry in the messages ("Project GUID").
  explicit CNotifierTextList(const char* p_EntryName) : entryName_(p_EntryName) {}

  const std::string& EntryByIndex(int32_t p_ZeroBasedIndex) const;
  int32_t IndexOf(const std::string& p_Entry) const;  // -1 when absent
  void CheckNoTab(const std::string& p_Entry) const;
  void Append(const std::string& p_Entry);  // lower-cased, unless present

 private:
  const char* entryName_;
  std::vector<std::string> entries_;
};

}  // namespace prvdrinfo
