#include "prvdrinfo/columns/contact_columns_info.h"

#include <gtest/gtest.h>

#include <string>

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/keyed_collection_field.h"
#include "prvdrinfo/services/vesk.h"
#include "support/error_capture.h"

namespace prvdrinfo {
namespace {

using testing::ErrorOf;

using Getter = std::string (CContactColumnsInfo::*)() const;
using Setter = void (CContactColumnsInfo::*)(const std::string&);

struct NamedProperty {
  e_StandardContactColumns type;
  Getter get;
  Setter set;
  bool hasAddressBookId;
};

#define PROPERTY(type, name, hasId) \
  NamedProperty { type, &CContactColumnsInfo::name, &CContactColumnsInfo::Set##name, hasId }

const NamedProperty kProperties[] = {
    PROPERTY(contactcol_Name, NameColumnGuid, true),
    PROPERTY(contactcol_JobTitle, JobTitleColumnGuid, true),
    PROPERTY(contactcol_CompanyName, CompanyNameColumnGuid, true),
    PROPERTY(contactcol_Address, OfficeAddressColumnGuid, true),
    PROPERTY(contactcol_City, OfficeCityColumnGuid, true),
    PROPERTY(contactcol_Province, OfficeProvinceColumnGuid, true),
    PROPERTY(contactcol_Country, OfficeCountryColumnGuid, true),
    PROPERTY(contactcol_CityProvince, OfficeCityProvinceColumnGuid, true),
    PROPERTY(contactcol_CityProvinceCountry, OfficeCityProvinceCountryColumnGuid, true),
    PROPERTY(contactcol_PostalCode, OfficePostalCodeColumnGuid, true),
    PROPERTY(contactcol_BestPhoneNumber, BestPhoneNumberColumnGuid, true),
    PROPERTY(contactcol_DeskPhoneNumber, DeskPhoneNumberColumnGuid, true),
    PROPERTY(contactcol_CellPhoneNumber, CellphoneNumberColumnGuid, true),
    PROPERTY(contactcol_OfficePhoneNumber, OfficePhoneNumberColumnGuid, true),
    PROPERTY(contactcol_BestFaxNumber, BestFaxNumberColumnGuid, true),
    PROPERTY(contactcol_DeskFaxNumber, DeskFaxNumberColumnGuid, true),
    PROPERTY(contactcol_OfficeFaxNumber, OfficeFaxNumberColumnGuid, true),
    PROPERTY(contactcol_BestEmailAddress, BestEmailAddressColumnGuid, true),
    PROPERTY(contactcol_PrimaryEmailAddress, PrimaryEmailAddressColumnGuid, true),
    PROPERTY(contactcol_SecondaryEmailAddresses, SecondaryEmailAddressesColumnGuid, true),
    PROPERTY(contactcol_OfficeEmailAddress, OfficeGeneralEmailAddressColumnGuid, true),
    PROPERTY(contactcol_CompanyEmailAddress, CompanyGeneralEmailAddressColumnGuid, true),
    PROPERTY(contactcol_BestWebpage, BestWebpageColumnGuid, true),
    PROPERTY(contactcol_OfficeWebpage, OfficeWebpageColumnGuid, true),
    PROPERTY(contactcol_CompanyWebpage, CompanyWebpageColumnGuid, true),
    PROPERTY(contactcol_SignatureFileGuid, SignatureFileGuidColumnGuid, false),
    PROPERTY(contactcol_StampFileGuid, StampFileGuidColumnGuid, false),
    PROPERTY(contactcol_Signed, SignedColumnGuid, false),
    PROPERTY(contactcol_RoleText, RoleTextColumnGuid, true),
    PROPERTY(contactcol_Category, CategoryColumnGuid, true),
    PROPERTY(contactcol_ContactAndCompanyNameShort, ContactAndCompanyNameShortColumnGuid, true),
    PROPERTY(contactcol_CompanyNameShort, CompanyNameShortColumnGuid, true),
    PROPERTY(contactcol_NameShort, NameShortColumnGuid, true),
    PROPERTY(contactcol_ProfessionalDesignations, ProfessionalDesignationsColumnGuid, true),
};
#undef PROPERTY

std::string GuidFor(int32_t type) {
  return "9A0B1C2D-0000-4000-8000-0000000000" + std::to_string(10 + type);
}

TEST(ContactColumnsInfo, TypeRangeAndEnumerationValues) {
  CContactColumnsInfo info;
  EXPECT_EQ(info.FirstContactColumnType(), 0);
  EXPECT_EQ(info.LastContactColumnType(), 33);
  ASSERT_EQ(std::size(kProperties), 34u);
  for (size_t i = 0; i < std::size(kProperties); ++i)
    EXPECT_EQ(kProperties[i].type, static_cast<int32_t>(i));
}

TEST(ContactColumnsInfo, FreshInfoIsEmptyAndKnowsNoGuid) {
  CContactColumnsInfo info;
  for (const auto& p : kProperties) {
    EXPECT_EQ((info.*p.get)(), "");
    EXPECT_EQ(info.ContactColumnGuid(p.type), "");
  }
  for (const std::string& guid : {std::string(), GuidFor(0)}) {
    const CError e = ErrorOf([&] { info.ContactColumnTypeFromGuid(guid); });
    EXPECT_EQ(e.Number(), -2147221504);
    EXPECT_EQ(e.Description(), "ColumnGuid not found.");
  }
}

TEST(ContactColumnsInfo, EachNamedPropertyIsItsTypesEntry) {
  for (const auto& p : kProperties) {
    SCOPED_TRACE(static_cast<int>(p.type));
    CContactColumnsInfo info;
    (info.*p.set)(GuidFor(p.type));
    EXPECT_EQ(info.ContactColumnGuid(p.type), GuidFor(p.type));
    EXPECT_EQ(info.ContactColumnTypeFromGuid(GuidFor(p.type)), p.type);
    for (const auto& other : kProperties) {
      if (other.type != p.type) {
        EXPECT_EQ((info.*other.get)(), "");
      }
    }
    info.SetContactColumnGuid(p.type, "X");
    EXPECT_EQ((info.*p.get)(), "X");
  }
}

TEST(ContactColumnsInfo, LookupByGuidIsExactAndFindsTheLowestType) {
  CContactColumnsInfo info;
  const std::string guid = "abcdef01-0000-4000-8000-000000000001";
  info.SetSignedColumnGuid(guid);
  info.SetJobTitleColumnGuid(guid);
  EXPECT_EQ(info.ContactColumnTypeFromGuid(guid), contactcol_JobTitle);
  EXPECT_EQ(ErrorOf([&] {
              info.ContactColumnTypeFromGuid("ABCDEF01-0000-4000-8000-000000000001");
            }).Number(),
            -2147221504);
  // A replaced GUID no longer answers.
  info.SetJobTitleColumnGuid("other");
  EXPECT_EQ(info.ContactColumnTypeFromGuid(guid), contactcol_Signed);
  // "" is stored like any text, so it is found like any text.
  info.SetCategoryColumnGuid("");
  EXPECT_EQ(info.ContactColumnTypeFromGuid(""), contactcol_Category);
}

TEST(ContactColumnsInfo, AddressBookIdentifierFollowsTheCatalogue) {
  for (const auto& p : kProperties) {
    SCOPED_TRACE(static_cast<int>(p.type));
    CContactColumnsInfo info;
    (info.*p.set)(GuidFor(p.type));
    if (p.hasAddressBookId) {
      const std::string id = info.AddressBookColumnIdentifierFromColumnGuid(GuidFor(p.type));
      EXPECT_FALSE(id.empty());
      EXPECT_EQ(id, CVesk::AddressBookColumnIdentifier(p.type));
    } else {
      const CError e =
          ErrorOf([&] { info.AddressBookColumnIdentifierFromColumnGuid(GuidFor(p.type)); });
      EXPECT_EQ(e.Number(), 5);
      EXPECT_EQ(e.Description(), "Unknown contact column type.");
    }
  }
  CContactColumnsInfo empty;
  const CError e = ErrorOf([&] { empty.AddressBookColumnIdentifierFromColumnGuid("nothing"); });
  EXPECT_EQ(e.Number(), -2147221504);
  EXPECT_EQ(e.Description(), "ColumnGuid not found.");
}

TEST(ContactColumnsInfo, ContentCarriesEveryTypeToAnotherInstance) {
  CContactColumnsInfo source;
  for (const auto& p : kProperties) (source.*p.set)(GuidFor(p.type));
  CContactColumnsInfo target;
  target.SetNameColumnGuid("will be replaced");
  target.SetContent(source.Content());
  for (const auto& p : kProperties) EXPECT_EQ((target.*p.get)(), GuidFor(p.type));
  EXPECT_EQ(target.Content(), source.Content());
}

TEST(ContactColumnsInfo, StoresOneKeyedCollectionWithTypeKeys) {
  CContactColumnsInfo info;
  info.SetBestEmailAddressColumnGuid("mail");
  info.SetNameColumnGuid("name");
  PropertyBag bag;
  bag.SetContents(info.Content());
  ASSERT_EQ(bag.Count(), 1u);
  EXPECT_EQ(bag.Entries()[0].key, "ColumnGuids");
  const auto guids = ReadKeyedCollection(bag, "ColumnGuids");
  ASSERT_EQ(guids->Count(), 2);
  EXPECT_EQ(guids->KeyByIndex(0), "KEY_17");
  EXPECT_EQ(guids->ItemByIndex(0).AsText(), "mail");
  EXPECT_EQ(guids->KeyByIndex(1), "KEY_0");
}

TEST(ContactColumnsInfo, LoadsTheOlderCollectionLayout) {
  PropertyBag bag;
  bag.WriteProperty("ColumnGuidsCount", int32_t{2});
  bag.WriteProperty("ColumnGuidsKey0", "KEY_3");
  bag.WriteProperty("ColumnGuidsItem0", "address");
  bag.WriteProperty("ColumnGuidsKey1", "KEY_28");
  bag.WriteProperty("ColumnGuidsItem1", "role");
  CContactColumnsInfo info;
  info.SetContent(bag.Contents());
  EXPECT_EQ(info.OfficeAddressColumnGuid(), "address");
  EXPECT_EQ(info.RoleTextColumnGuid(), "role");
  EXPECT_EQ(info.NameColumnGuid(), "");
}

TEST(ContactColumnsInfo, UndecodableContentChangesNothing) {
  CContactColumnsInfo info;
  info.SetNameColumnGuid("kept");
  for (const Bytes& bad : {Bytes{}, Bytes{0xFF, 0x00, 0x13}}) {
    EXPECT_THROW(info.SetContent(bad), CError);
    EXPECT_EQ(info.NameColumnGuid(), "kept");
  }
}

TEST(ContactColumnsInfo, FactoryGivesAnEmptyInstance) {
  const auto info = CContactColumnsInfoFcty().CreateContactColumnsInfo();
  ASSERT_TRUE(info);
  EXPECT_EQ(info->NameColumnGuid(), "");
}

}  // namespace
}  // namespace prvdrinfo
