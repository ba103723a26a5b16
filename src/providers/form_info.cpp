#include "foundation/internal/class_registration.h"
#include "prvdrinfo/providers/form_info.h"

#include <string_view>

#include "prvdrinfo/services/text_service.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kSetTitle{"QOVWPHEI5PU864A0PPG6F5S4Z", "CFormInfo.Title"};
constexpr ErrorSite kSetAbbreviation{"YT3RZJJPM9UIBSNPEGAI6W3NT", "CFormInfo.Abbreviation"};
constexpr ErrorSite kSetFileGuid4db{"1DM1EYRIIPASQCCCZ9FBE13VJ", "CFormInfo.FileGuid4db"};
constexpr ErrorSite kSetRecordGuid{"45G14FVF4WWIQUG9KYK48OMJD", "CFormInfo.RecordGuid"};
constexpr ErrorSite kSetProviderGuid{"IYMDQO5S85X3WI3XB14SQDMAT", "CFormInfo.ProviderGuid"};
constexpr ErrorSite kSetSourceProjectGuid{"EUKDZ8YGO18KFP2D1P0PJQ54Y",
                                          "CFormInfo.SourceProjectGuid"};
constexpr ErrorSite kDeserialize{"NX5YUO49F4T83SU52ZNR7BOZY", "CFormInfo.Deserialize"};
constexpr ErrorSite kClone{"3XTH0CMAWKG7RLF43XOSU01UC", "CFormInfo.Clone"};
constexpr ErrorSite kWrite{"GYLOO89II2NN6X6WF0F9WKLF2", "CFormInfo.Class_WriteProperties"};
constexpr ErrorSite kRead{"T73TPCVQCTGJXH9PVVFOJ6OAQ", "CFormInfo.Class_ReadProperties"};

std::string CleanedCaption(const ErrorSite& site, std::string_view value, const char* message) {
  std::string cleaned = TextService::CleanCaption(value);
  if (TextService::IsEmpty(cleaned)) site.Raise(err::kInvalidProcedureCall, message);
  return cleaned;
}

std::string CleanedGuid(const ErrorSite& site, std::string_view value, const char* message) {
  std::string cleaned = TextService::CleanGuid(value);
  if (TextService::IsEmpty(cleaned)) site.Raise(err::kInvalidProcedureCall, message);
  return cleaned;
}
}  // namespace

void CFormInfo::SetTitle(const std::string& value) {
  kSetTitle.Guard([&] { title_ = CleanedCaption(kSetTitle, value, "Title Required."); });
}

void CFormInfo::SetAbbreviation(const std::string& value) {
  kSetAbbreviation.Guard(
      [&] { abbreviation_ = CleanedCaption(kSetAbbreviation, value, "Abbreviation Required."); });
}

void CFormInfo::SetFileGuid4db(const std::string& value) {
  kSetFileGuid4db.Guard(
      [&] { fileGuid4db_ = CleanedGuid(kSetFileGuid4db, value, "GUID Required."); });
}

void CFormInfo::SetRecordGuid(const std::string& value) {
  kSetRecordGuid.Guard(
      [&] { recordGuid_ = CleanedGuid(kSetRecordGuid, value, "RecordGuid Required."); });
}

void CFormInfo::SetProviderGuid(const std::string& value) {
  kSetProviderGuid.Guard(
      [&] { providerGuid_ = CleanedGuid(kSetProviderGuid, value, "GUID Required."); });
}

void CFormInfo::SetSourceProjectGuid(const std::string& value) {
  kSetSourceProjectGuid.Guard([&] {
    sourceProjectGuid_ =
        CleanedCaption(kSetSourceProjectGuid, value, "SourceProjectGuid Required.");
  });
}

void CFormInfo::Deserialize(const Variant& pa_PropertyBagContents) {
  kDeserialize.Guard([&] { DeserializeV(pa_PropertyBagContents); });
}

std::shared_ptr<CFormInfo> CFormInfo::Clone() const {
  return kClone.Guard([&] {
    auto copy = std::make_shared<CFormInfo>();
    copy->Deserialize(Serialize());
    return copy;
  });
}

void CFormInfo::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] {
    const std::string none;
    bag.WriteProperty("Abbreviation", abbreviation_);
    bag.WriteProperty("Title", title_);
    bag.WriteProperty("FileGuidCoverLetter", fileGuidCoverLetter_);
    bag.WriteProperty("RecordGuid", recordGuid_);
    bag.WriteProperty("FileGuid4db", fileGuid4db_, none);
    bag.WriteProperty("FileGuidXfm", fileGuidXfm_, none);
    bag.WriteProperty("ProviderGuid", providerGuid_, none);
    bag.WriteProperty("DefaultDescriptionTextRtf", defaultDescriptionTextRtf_, none);
    bag.WriteProperty("DefaultDescriptionTextRtfCoverLetter", defaultDescriptionTextRtfCoverLetter_,
                      none);
    bag.WriteProperty("SourceProjectGuid", sourceProjectGuid_, none);
    bag.WriteProperty("SourceProjectStatementNumber", sourceProjectStatementNumber_, int32_t{0});
  });
}

void CFormInfo::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    abbreviation_ = bag.ReadText("Abbreviation");
    title_ = bag.ReadText("Title");
    recordGuid_ = bag.ReadText("RecordGuid");
    fileGuidCoverLetter_ = bag.ReadText("FileGuidCoverLetter");
    fileGuid4db_ = bag.ReadText("FileGuid4db", "");
    fileGuidXfm_ = bag.ReadText("FileGuidXfm", "");
    providerGuid_ = bag.ReadText("ProviderGuid", "");
    defaultDescriptionTextRtf_ = bag.ReadText("DefaultDescriptionTextRtf", "");
    defaultDescriptionTextRtfCoverLetter_ =
        bag.ReadText("DefaultDescriptionTextRtfCoverLetter", "");
    sourceProjectGuid_ = bag.ReadText("SourceProjectGuid", "");
    sourceProjectStatementNumber_ = bag.ReadLong("SourceProjectStatementNumber", 0);
  });
}

std::shared_ptr<CFormInfo> CFormInfoFactory::CreateFormInfo() const {
  return std::make_shared<CFormInfo>();
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CFormInfo)
}  // namespace prvdrinfo
