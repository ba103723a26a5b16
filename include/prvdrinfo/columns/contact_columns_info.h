#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/keyed_collection.h"
#include "prvdrinfo/foundation/persistable.h"

namespace prvdrinfo {

// The standard pieces of contact information that a contact column can show.
enum e_StandardContactColumns : int32_t {
  contactcol_Name = 0,
  contactcol_JobTitle = 1,
  contactcol_CompanyName = 2,
  contactcol_Address = 3,
  contactcol_City = 4,
  contactcol_Province = 5,
  contactcol_Country = 6,
  contactcol_CityProvince = 7,
  contactcol_CityProvinceCountry = 8,
  contactcol_PostalCode = 9,
  contactcol_BestPhoneNumber = 10,
  contactcol_DeskPhoneNumber = 11,
  contactcol_CellPhoneNumber = 12,
  contactcol_OfficePhoneNumber = 13,
  contactcol_BestFaxNumber = 14,
  contactcol_DeskFaxNumber = 15,
  contactcol_OfficeFaxNumber = 16,
  contactcol_BestEmailAddress = 17,
  contactcol_PrimaryEmailAddress = 18,
  contactcol_SecondaryEmailAddresses = 19,
  contactcol_OfficeEmailAddress = 20,
  contactcol_CompanyEmailAddress = 21,
  contactcol_BestWebpage = 22,
  contactcol_OfficeWebpage = 23,
  contactcol_CompanyWebpage = 24,
  contactcol_SignatureFileGuid = 25,
  contactcol_StampFileGuid = 26,
  contactcol_Signed = 27,
  contactcol_RoleText = 28,
  contactcol_Category = 29,
  contactcol_ContactAndCompanyNameShort = 30,
  contactcol_CompanyNameShort = 31,
  contactcol_NameShort = 32,
  contactcol_ProfessionalDesignations = 33,
};

// For a column that references a project contact: which provider column shows each
// standard piece of the referenced contact's information, and the address book's
// identifier for the piece that a column shows. A type never set reads as "". The first
// read creates the GUID list: one thread at a time, reads included.
class PRVDRINFO_API CContactColumnsInfo : public CPersistable {
 public:
  static constexpr const char* kClassName = "CContactColumnsInfo";

  e_StandardContactColumns FirstContactColumnType() const { return contactcol_Name; }
  e_StandardContactColumns LastContactColumnType() const {
    return contactcol_ProfessionalDesignations;
  }

  std::string ContactColumnGuid(e_StandardContactColumns p_ContactColumnType) const;
  // Replaces the type's entry; "" is stored like any other text.
  void SetContactColumnGuid(e_StandardContactColumns p_ContactColumnType, const std::string& value);

  // The address book's identifier of the type whose column is p_ColumnGuid. An unknown
  // GUID raises 80040000 hexadecimal "ColumnGuid not found."; the signature, stamp and
  // signed types raise 5 "Unknown contact column type.".
  std::string AddressBookColumnIdentifierFromColumnGuid(const std::string& p_ColumnGuid) const;
  // The lowest type whose GUID equals p_ColumnGuid exactly (letter case counts); none
  // raises 80040000 hexadecimal "ColumnGuid not found.".
  e_StandardContactColumns ContactColumnTypeFromGuid(const std::string& p_ColumnGuid) const;

  std::string RoleTextColumnGuid() const { return ContactColumnGuid(contactcol_RoleText); }
  void SetRoleTextColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_RoleText, value);
  }
  std::string NameColumnGuid() const { return ContactColumnGuid(contactcol_Name); }
  void SetNameColumnGuid(const std::string& value) { SetContactColumnGuid(contactcol_Name, value); }
  std::string NameShortColumnGuid() const { return ContactColumnGuid(contactcol_NameShort); }
  void SetNameShortColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_NameShort, value);
  }
  std::string JobTitleColumnGuid() const { return ContactColumnGuid(contactcol_JobTitle); }
  void SetJobTitleColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_JobTitle, value);
  }
  std::string CompanyNameColumnGuid() const { return ContactColumnGuid(contactcol_CompanyName); }
  void SetCompanyNameColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_CompanyName, value);
  }
  std::string CompanyNameShortColumnGuid() const {
    return ContactColumnGuid(contactcol_CompanyNameShort);
  }
  void SetCompanyNameShortColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_CompanyNameShort, value);
  }
  std::string ContactAndCompanyNameShortColumnGuid() const {
    return ContactColumnGuid(contactcol_ContactAndCompanyNameShort);
  }
  void SetContactAndCompanyNameShortColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_ContactAndCompanyNameShort, value);
  }
  std::string OfficeAddressColumnGuid() const { return ContactColumnGuid(contactcol_Address); }
  void SetOfficeAddressColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_Address, value);
  }
  std::string OfficeCityColumnGuid() const { return ContactColumnGuid(contactcol_City); }
  void SetOfficeCityColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_City, value);
  }
  std::string OfficeProvinceColumnGuid() const { return ContactColumnGuid(contactcol_Province); }
  void SetOfficeProvinceColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_Province, value);
  }
  std::string OfficeCountryColumnGuid() const { return ContactColumnGuid(contactcol_Country); }
  void SetOfficeCountryColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_Country, value);
  }
  std::string OfficeCityProvinceColumnGuid() const {
    return ContactColumnGuid(contactcol_CityProvince);
  }
  void SetOfficeCityProvinceColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_CityProvince, value);
  }
  std::string OfficeCityProvinceCountryColumnGuid() const {
    return ContactColumnGuid(contactcol_CityProvinceCountry);
  }
  void SetOfficeCityProvinceCountryColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_CityProvinceCountry, value);
  }
  std::string OfficePostalCodeColumnGuid() const {
    return ContactColumnGuid(contactcol_PostalCode);
  }
  void SetOfficePostalCodeColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_PostalCode, value);
  }
  std::string BestPhoneNumberColumnGuid() const {
    return ContactColumnGuid(contactcol_BestPhoneNumber);
  }
  void SetBestPhoneNumberColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_BestPhoneNumber, value);
  }
  std::string DeskPhoneNumberColumnGuid() const {
    return ContactColumnGuid(contactcol_DeskPhoneNumber);
  }
  void SetDeskPhoneNumberColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_DeskPhoneNumber, value);
  }
  std::string CellphoneNumberColumnGuid() const {
    return ContactColumnGuid(contactcol_CellPhoneNumber);
  }
  void SetCellphoneNumberColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_CellPhoneNumber, value);
  }
  std::string OfficePhoneNumberColumnGuid() const {
    return ContactColumnGuid(contactcol_OfficePhoneNumber);
  }
  void SetOfficePhoneNumberColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_OfficePhoneNumber, value);
  }
  std::string BestFaxNumberColumnGuid() const {
    return ContactColumnGuid(contactcol_BestFaxNumber);
  }
  void SetBestFaxNumberColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_BestFaxNumber, value);
  }
  std::string DeskFaxNumberColumnGuid() const {
    return ContactColumnGuid(contactcol_DeskFaxNumber);
  }
  void SetDeskFaxNumberColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_DeskFaxNumber, value);
  }
  std::string OfficeFaxNumberColumnGuid() const {
    return ContactColumnGuid(contactcol_OfficeFaxNumber);
  }
  void SetOfficeFaxNumberColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_OfficeFaxNumber, value);
  }
  std::string BestEmailAddressColumnGuid() const {
    return ContactColumnGuid(contactcol_BestEmailAddress);
  }
  void SetBestEmailAddressColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_BestEmailAddress, value);
  }
  std::string PrimaryEmailAddressColumnGuid() const {
    return ContactColumnGuid(contactcol_PrimaryEmailAddress);
  }
  void SetPrimaryEmailAddressColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_PrimaryEmailAddress, value);
  }
  std::string SecondaryEmailAddressesColumnGuid() const {
    return ContactColumnGuid(contactcol_SecondaryEmailAddresses);
  }
  void SetSecondaryEmailAddressesColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_SecondaryEmailAddresses, value);
  }
  std::string OfficeGeneralEmailAddressColumnGuid() const {
    return ContactColumnGuid(contactcol_OfficeEmailAddress);
  }
  void SetOfficeGeneralEmailAddressColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_OfficeEmailAddress, value);
  }
  std::string CompanyGeneralEmailAddressColumnGuid() const {
    return ContactColumnGuid(contactcol_CompanyEmailAddress);
  }
  void SetCompanyGeneralEmailAddressColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_CompanyEmailAddress, value);
  }
  std::string BestWebpageColumnGuid() const { return ContactColumnGuid(contactcol_BestWebpage); }
  void SetBestWebpageColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_BestWebpage, value);
  }
  std::string OfficeWebpageColumnGuid() const {
    return ContactColumnGuid(contactcol_OfficeWebpage);
  }
  void SetOfficeWebpageColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_OfficeWebpage, value);
  }
  std::string CompanyWebpageColumnGuid() const {
    return ContactColumnGuid(contactcol_CompanyWebpage);
  }
  void SetCompanyWebpageColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_CompanyWebpage, value);
  }
  std::string SignatureFileGuidColumnGuid() const {
    return ContactColumnGuid(contactcol_SignatureFileGuid);
  }
  void SetSignatureFileGuidColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_SignatureFileGuid, value);
  }
  std::string StampFileGuidColumnGuid() const {
    return ContactColumnGuid(contactcol_StampFileGuid);
  }
  void SetStampFileGuidColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_StampFileGuid, value);
  }
  std::string SignedColumnGuid() const { return ContactColumnGuid(contactcol_Signed); }
  void SetSignedColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_Signed, value);
  }
  std::string CategoryColumnGuid() const { return ContactColumnGuid(contactcol_Category); }
  void SetCategoryColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_Category, value);
  }
  std::string ProfessionalDesignationsColumnGuid() const {
    return ContactColumnGuid(contactcol_ProfessionalDesignations);
  }
  void SetProfessionalDesignationsColumnGuid(const std::string& value) {
    SetContactColumnGuid(contactcol_ProfessionalDesignations, value);
  }

  // The serialized bytes, and back.
  Bytes Content() const;
  void SetContent(const Bytes& value);

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;

 private:
  KeyedCollection& Guids() const;

  mutable std::shared_ptr<KeyedCollection> guids_;  // "KEY_<type>" -> column GUID

 protected:
  void LoadAllOrNothing(const PropertyBag& bag) override { LoadIntoCopy(*this, bag); }
};

class PRVDRINFO_API CContactColumnsInfoFcty {
 public:
  std::shared_ptr<CContactColumnsInfo> CreateContactColumnsInfo() const;
};

}  // namespace prvdrinfo
