#include "foundation/internal/class_registration.h"
#include "prvdrinfo/filters/provider_view_filter_groups.h"

#include "foundation/internal/content_parts.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kAdd{"HV0UR1FQA65V2FO7FMAOTH7F1", "CProviderViewFilterGroups.Add"};
constexpr ErrorSite kByIndex{"WZ2B9XWR8Z8YR7CZ6B95S4FGP",
                             "CProviderViewFilterGroups.FilterGroupByIndex"};
constexpr ErrorSite kRemoveByIndex{"U6AN089GWCEOY15RU4QH2I1U8",
                                   "CProviderViewFilterGroups.RemoveByIndex"};
constexpr ErrorSite kWrite{"5V8GR2ZQJWM5RM1S7JBR6SU0C",
                           "CProviderViewFilterGroups.Class_WriteProperties"};
constexpr ErrorSite kRead{"96GNROVPZ2GQOTGKNHFBEY853",
                          "CProviderViewFilterGroups.Class_ReadProperties"};
constexpr ErrorSite kContent{"OFLYNNPPUIAAK0J4GJD52PIE9",
                             "CProviderViewFilterGroups.AppendContentString3"};
}  // namespace

std::shared_ptr<CProviderViewFilterGroup> CProviderViewFilterGroups::Add() {
  return kAdd.Guard([&] {
    auto group = std::make_shared<CProviderViewFilterGroup>();
    groups_.Add(group);
    return group;
  });
}

std::shared_ptr<CProviderViewFilterGroup> CProviderViewFilterGroups::FilterGroupByIndex(
    int32_t p_ZeroBasedIndex) const {
  return kByIndex.Guard([&] { return groups_.ItemByIndex(p_ZeroBasedIndex); });
}

void CProviderViewFilterGroups::RemoveByIndex(int32_t p_ZeroBasedIndex) {
  kRemoveByIndex.Guard([&] { groups_.RemoveByIndex(p_ZeroBasedIndex); });
}

void CProviderViewFilterGroups::RemoveAll() { groups_.RemoveAll(); }

void CProviderViewFilterGroups::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] { groups_.WriteTo(bag, "FilterGroups"); });
}

void CProviderViewFilterGroups::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] { groups_.ReadFrom(bag, "FilterGroups"); });
}

void CProviderViewFilterGroups::AppendContentString3(StringBuilder& po_StringBuilder) const {
  kContent.Guard([&] { content::AppendEach(po_StringBuilder, groups_); });
}

std::shared_ptr<CProviderViewFilterGroups> CPViewFilterGrpsFctry::CreateProviderViewFilterGroups()
    const {
  return std::make_shared<CProviderViewFilterGroups>();
}

std::shared_ptr<CProviderViewFilterGroups>
CProviderViewFilterGroupsF::CreateProviderViewFilterGroups() const {
  return std::make_shared<CProviderViewFilterGroups>();
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CProviderViewFilterGroups)
}  // namespace prvdrinfo
