#pragma once

#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/notify/notifier_text_list.h"

namespace prvdrinfo {

// The projects a notifier applies to; an empty list means every project.
class PRVDRINFO_API CProviderViewNotifierPGs : public CNotifierTextList {
 public:
  static constexpr const char* kClassName = "CProviderViewNotifierPGs";
  CProviderViewNotifierPGs() : CNotifierTextList("Project GUID") {}
  const std::string& ProjectGuidByIndex(int32_t p_ZeroBasedIndex) const {
    return EntryByIndex(p_ZeroBasedIndex);
  }
  std::string ClassName() const override { return kClassName; }
};

// The individual contacts that receive a delivery.
class PRVDRINFO_API CProviderViewNotifierCGs : public CNotifierTextList {
 public:
  static constexpr const char* kClassName = "CProviderViewNotifierCGs";
  CProviderViewNotifierCGs() : CNotifierTextList("Contact GUID") {}
  const std::string& ContactGuidByIndex(int32_t p_ZeroBasedIndex) const {
    return EntryByIndex(p_ZeroBasedIndex);
  }
  // A copy of the entries, in order.
  std::vector<std::string> ArrayListClone() const { return {begin(), end()}; }
  std::string ClassName() const override { return kClassName; }
};

// The contact categories that receive a delivery. The members taking a category raise 5
// "Category required." for a blank one (TextService::IsEmpty).
class PRVDRINFO_API CProviderViewNotifierCCs : public CNotifierTextList {
 public:
  static constexpr const char* kClassName = "CProviderViewNotifierCCs";
  CProviderViewNotifierCCs() : CNotifierTextList("Contact Category") {}
  const std::string& ContactCategoryByIndex(int32_t p_ZeroBasedIndex) const {
    return EntryByIndex(p_ZeroBasedIndex);
  }
  void AddIfNotExists(const std::string& p_ContactCategory);
  int32_t IndexByCategory(const std::string& p_ContactCategory) const;  // -1 when absent
  void RemoveIfExists(const std::string& p_ContactCategory);
  std::string ClassName() const override { return kClassName; }
};

class PRVDRINFO_API CProviderViewNotifierCCF {
 public:
  std::shared_ptr<CProviderViewNotifierCCs> CreateProviderViewNotifierContactCategories() const;
};

}  // namespace prvdrinfo
