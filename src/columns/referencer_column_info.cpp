#include "foundation/internal/class_registration.h"
#include "prvdrinfo/columns/referencer_column_info.h"

#include "prvdrinfo/services/text_service.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kGetProviderColumn{"00N2QW97SPCGNCLWSIADVXHM2",
                                       "CReferencerColumnInfo.ReferencedProviderColumnGuid"};
constexpr ErrorSite kSetProviderColumn{"4DG2O0X9U5YAXWQPFXWG0CF1W",
                                       "CReferencerColumnInfo.ReferencedProviderColumnGuid"};
constexpr ErrorSite kGetProvider{"SVY0XO1IVV3BCYI0FMW9DFFCN",
                                 "CReferencerColumnInfo.ReferencedProviderGuid"};
constexpr ErrorSite kSetProvider{"NF9TQK4KLF6MYTH5KP3E8NHGB",
                                 "CReferencerColumnInfo.ReferencedProviderGuid"};
constexpr ErrorSite kWrite{"3IOVF6XPQ9VAJDCGGIMNILPVL",
                           "CReferencerColumnInfo.Class_WriteProperties"};
constexpr ErrorSite kRead{"XNVERVAAFEUJZFWDWK6S13L12",
                          "CReferencerColumnInfo.Class_ReadProperties"};

constexpr const char* kSingleOnly =
    "This provider only supports a single provider reference. Use ReferenceProviderGuid instead.";
constexpr const char* kMultipleOnly =
    "This column can reference multiple providers. Use ReferencedProviderColumnGuid instead.";
}  // namespace

bool CReferencerColumnInfo::SingleProviderReference() const {
  return !TextService::IsEmpty(referencedProviderGuid_);
}

bool CReferencerColumnInfo::MultipleProvidersReferencable() const {
  return !TextService::IsEmpty(referencedProviderColumnGuid_);
}

std::string CReferencerColumnInfo::ReferencedProviderColumnGuid() const {
  return kGetProviderColumn.Guard([&] {
    if (SingleProviderReference())
      kGetProviderColumn.Raise(err::kInvalidProcedureCall, kSingleOnly);
    return referencedProviderColumnGuid_;
  });
}

void CReferencerColumnInfo::SetReferencedProviderColumnGuid(const std::string& value) {
  kSetProviderColumn.Guard([&] {
    if (SingleProviderReference())
      kSetProviderColumn.Raise(err::kInvalidProcedureCall, kSingleOnly);
    referencedProviderColumnGuid_ = value;
  });
}

void CReferencerColumnInfo::SetReferencedRecordColumnGuid(const std::string& value) {
  referencedRecordColumnGuid_ = value;
}

std::string CReferencerColumnInfo::ReferencedProviderGuid() const {
  return kGetProvider.Guard([&] {
    if (MultipleProvidersReferencable())
      kGetProvider.Raise(err::kInvalidProcedureCall, kMultipleOnly);
    return referencedProviderGuid_;
  });
}

void CReferencerColumnInfo::SetReferencedProviderGuid(const std::string& value) {
  kSetProvider.Guard([&] {
    if (MultipleProvidersReferencable())
      kSetProvider.Raise(err::kInvalidProcedureCall, kMultipleOnly);
    referencedProviderGuid_ = value;
  });
}

void CReferencerColumnInfo::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] {
    bag.WriteProperty("ReferencedProviderGuid", referencedProviderGuid_, std::string());
    bag.WriteProperty("ReferencedProviderColumnGuid", referencedProviderColumnGuid_, std::string());
    bag.WriteProperty("ReferencedRecordColumnGuid", referencedRecordColumnGuid_, std::string());
  });
}

void CReferencerColumnInfo::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    referencedProviderGuid_ = bag.ReadText("ReferencedProviderGuid", "");
    referencedProviderColumnGuid_ = bag.ReadText("ReferencedProviderColumnGuid", "");
    referencedRecordColumnGuid_ = bag.ReadText("ReferencedRecordColumnGuid", "");
  });
}

std::shared_ptr<CReferencerColumnInfo> CReferencerColumnInfoF::CreateReferencerColumnInfo() const {
  return std::make_shared<CReferencerColumnInfo>();
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CReferencerColumnInfo)
}  // namespace prvdrinfo
