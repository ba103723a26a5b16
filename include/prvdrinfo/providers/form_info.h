#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/foundation/variant.h"

namespace prvdrinfo {

// One form of a forms provider, with the GUIDs of the stored files that make it up; what
// IProviderForm.DefaultFormInfo hands out.
//
// Setters with a rule clean the value first (the caption clean-up, or the GUID clean-up)
// and refuse a value that cleans up to nothing with error 5 and their own message; a
// refused value changes nothing. Loading stores the values as they were saved.
class PRVDRINFO_API CFormInfo : public CPersistable {
 public:
  static constexpr const char* kClassName = "CFormInfo";

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& value);  // "Title Required."
  const std::string& Abbreviation() const { return abbreviation_; }
  void SetAbbreviation(const std::string& value);  // "Abbreviation Required."
  const std::string& FileGuid4db() const { return fileGuid4db_; }
  void SetFileGuid4db(const std::string& value);  // "GUID Required."
  const std::string& FileGuidCoverLetter() const { return fileGuidCoverLetter_; }
  void SetFileGuidCoverLetter(const std::string& value) { fileGuidCoverLetter_ = value; }
  const std::string& RecordGuid() const { return recordGuid_; }
  void SetRecordGuid(const std::string& value);  // "RecordGuid Required."
  const std::string& FileGuidXfm() const { return fileGuidXfm_; }
  void SetFileGuidXfm(const std::string& value) { fileGuidXfm_ = value; }
  const std::string& ProviderGuid() const { return providerGuid_; }
  void SetProviderGuid(const std::string& value);  // "GUID Required."
  // Not persisted: a clone or a loaded copy has none.
  const std::string& FileGuidThumbnail() const { return fileGuidThumbnail_; }
  void SetFileGuidThumbnail(const std::string& value) { fileGuidThumbnail_ = value; }
  const std::string& SourceProjectGuid() const { return sourceProjectGuid_; }
  void SetSourceProjectGuid(const std::string& value);  // "SourceProjectGuid Required."
  int32_t SourceProjectStatementNumber() const { return sourceProjectStatementNumber_; }
  void SetSourceProjectStatementNumber(int32_t value) { sourceProjectStatementNumber_ = value; }
  const std::string& DefaultDescriptionTextRtf() const { return defaultDescriptionTextRtf_; }
  void SetDefaultDescriptionTextRtf(const std::string& value) {
    defaultDescriptionTextRtf_ = value;
  }
  const std::string& DefaultDescriptionTextRtfCoverLetter() const {
    return defaultDescriptionTextRtfCoverLetter_;
  }
  void SetDefaultDescriptionTextRtfCoverLetter(const std::string& value) {
    defaultDescriptionTextRtfCoverLetter_ = value;
  }

  using CPersistable::Deserialize;
  // The serialized bytes held in a Variant (13 "Type mismatch" for anything else).
  void Deserialize(const Variant& pa_PropertyBagContents);
  // An independent copy made through the serialized bytes.
  std::shared_ptr<CFormInfo> Clone() const;

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;

 private:
  std::string title_;
  std::string abbreviation_;
  std::string fileGuid4db_;
  std::string fileGuidCoverLetter_;
  std::string recordGuid_;
  std::string fileGuidXfm_;
  std::string providerGuid_;
  std::string fileGuidThumbnail_;
  std::string sourceProjectGuid_;
  int32_t sourceProjectStatementNumber_ = 0;
  std::string defaultDescriptionTextRtf_;
  std::string defaultDescriptionTextRtfCoverLetter_;

 protected:
  void LoadAllOrNothing(const PropertyBag& bag) override { LoadIntoCopy(*this, bag); }
};

class PRVDRINFO_API CFormInfoFactory {
 public:
  std::shared_ptr<CFormInfo> CreateFormInfo() const;
};

}  // namespace prvdrinfo
