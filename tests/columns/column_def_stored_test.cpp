#include "prvdrinfo/columns/column_def_stored.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "prvdrinfo/columns/referencer_column_info.h"
#include "prvdrinfo/foundation/keyed_collection_field.h"
#include "prvdrinfo/services/string_buffer.h"
#include "prvdrinfo/services/string_builder.h"
#include "prvdrinfo/services/vesk.h"
#include "support/column_test_support.h"

namespace prvdrinfo {
namespace {

using testing::BagOf;
using testing::ErrorOf;
using testing::KeysOf;
using testing::UnitsOf;
using testing::Without;

constexpr const char* kGuid = "6F1C2D3E-4A5B-4C6D-8E7F-901A2B3C4D5E";
constexpr int32_t kLocale = 4105;

// Every field away from its fresh value, so that a lost field shows.
std::shared_ptr<CColumnDefStored> FullColumn() {
  auto c = std::make_shared<CColumnDefStored>();
  c->SetGuid(kGuid);
  c->SetFormGuid("form");
  c->SetDefaultCaption(kLocale, "Caption");
  c->SetDefaultVisibility(cv_DefaultHide);
  c->SetDefaultAggregateType(colaggregate_Sum);
  c->SetSource(colsource_Computed);
  c->SetVeskDatatype(datatype_Percentage);
  c->SetDescription("about");
  c->SetDefaultAlignment(colalign_Center);
  c->SetIdentifier("amount_pct");
  c->SetFormatType(colformat_Special);
  c->SetSpecialFormatString("0.00%");
  c->SetLegalCharacters(legalchars_Regex);
  c->SetLegalCharactersRegex("^[0-9]+$");
  c->SetCaseHandling(case_ProviderHandled);
  c->SetWhitespaceHandling(static_cast<e_WhitespaceHandling>(white_Flatten + white_Trim));
  c->SetAutocompleteGuid("auto");
  c->SetUiType(coluitype_Contact);
  c->SetEditability(coleditable_ReadOnly);
  c->SetAutoColoring(colcolor_Stored);
  c->SetLinkedProviderGuidColumnGuid("linked");
  c->SetAvailability(colavail_ReportsOnly);
  c->SetGroupKey("group");
  c->SetProviderGuid("provider");
  c->SetIsHybrid(true);
  c->SetIsTemplateColumn(true);
  c->SetUpdateWhenValueUnchanged(true);
  c->SetIsPopular(true);
  c->SetSpecialColumnType(specialcol_Search);
  c->SetNormalColumnGuid("normal");
  c->SetIsMiscellaneous(true);
  c->FormGuids()->Add(Variant("form 2"), "k2");
  c->FormGuids()->Add(Variant("form 3"));
  c->ContactColumnsInfo()->SetNameColumnGuid("name column");
  return c;
}

void ExpectSameFields(const CColumnDefStored& a, const CColumnDefStored& b) {
  EXPECT_EQ(a.Guid(), b.Guid());
  EXPECT_EQ(a.FormGuid(), b.FormGuid());
  EXPECT_EQ(a.DefaultCaption(0), b.DefaultCaption(0));
  EXPECT_EQ(a.DefaultVisibility(), b.DefaultVisibility());
  EXPECT_EQ(a.DefaultAggregateType(), b.DefaultAggregateType());
  EXPECT_EQ(a.Source(), b.Source());
  EXPECT_EQ(a.VeskDatatype(), b.VeskDatatype());
  EXPECT_EQ(a.Description(), b.Description());
  EXPECT_EQ(a.DefaultAlignment(), b.DefaultAlignment());
  EXPECT_EQ(a.Identifier(), b.Identifier());
  EXPECT_EQ(a.FormatType(), b.FormatType());
  EXPECT_EQ(a.SpecialFormatString(), b.SpecialFormatString());
  EXPECT_EQ(a.LegalCharacters(), b.LegalCharacters());
  EXPECT_EQ(a.LegalCharactersRegex(), b.LegalCharactersRegex());
  EXPECT_EQ(a.CaseHandling(), b.CaseHandling());
  EXPECT_EQ(a.WhitespaceHandling(), b.WhitespaceHandling());
  EXPECT_EQ(a.AutocompleteGuid(), b.AutocompleteGuid());
  EXPECT_EQ(a.UiType(), b.UiType());
  EXPECT_EQ(a.Editability(), b.Editability());
  EXPECT_EQ(a.AutoColoring(), b.AutoColoring());
  EXPECT_EQ(a.LinkedProviderGuidColumnGuid(), b.LinkedProviderGuidColumnGuid());
  EXPECT_EQ(a.Availability(), b.Availability());
  EXPECT_EQ(a.GroupKey(), b.GroupKey());
  EXPECT_EQ(a.ProviderGuid(), b.ProviderGuid());
  EXPECT_EQ(a.IsHybrid(), b.IsHybrid());
  EXPECT_EQ(a.IsTemplateColumn(), b.IsTemplateColumn());
  EXPECT_EQ(a.UpdateWhenValueUnchanged(), b.UpdateWhenValueUnchanged());
  EXPECT_EQ(a.IsPopular(), b.IsPopular());
  EXPECT_EQ(a.SpecialColumnType(), b.SpecialColumnType());
  EXPECT_EQ(a.NormalColumnGuid(), b.NormalColumnGuid());
  EXPECT_EQ(a.IsMiscellaneous(), b.IsMiscellaneous());
  EXPECT_EQ(a.FormGuids()->Content(), b.FormGuids()->Content());
}

TEST(ColumnDefStored, FreshState) {
  const auto c = CColumnDefStoredFactory().CreateColumnDefStored();
  EXPECT_EQ(c->ColumnIndex(), -1);
  for (int32_t t = specialcol_Sort; t <= specialcol_Formatted; ++t)
    EXPECT_FALSE(c->SupportSpecialFormatType(t));
  EXPECT_EQ(c->DefaultCaption(kLocale), CVesk::DefaultCaption());
  EXPECT_FALSE(c->DefaultCaption(kLocale).empty());
  EXPECT_EQ(c->Guid(), "");
  EXPECT_EQ(c->Identifier(), "");
  EXPECT_EQ(c->NormalColumnGuid(), "");
  EXPECT_EQ(c->DefaultValueType(), coldefaultvalue_None);
  EXPECT_EQ(c->DefaultAggregateType(), colaggregate_None);
  EXPECT_EQ(c->UiType(), coluitype_Standard);
  EXPECT_EQ(c->VbDatatype(), VariantType::Text);
  EXPECT_FALSE(c->IsHybrid());
  EXPECT_FALSE(c->UpdateWhenValueUnchanged());
  EXPECT_EQ(c->FormGuids()->Count(), 0);
}

TEST(ColumnDefStored, AnswersToTheWholeInterfaceFamily) {
  const std::shared_ptr<IBaseColumnDef> c = std::make_shared<CColumnDefStored>();
  EXPECT_TRUE(std::dynamic_pointer_cast<IBaseColumnDef2>(c));
  EXPECT_TRUE(std::dynamic_pointer_cast<IBaseColumnDef3>(c));
  EXPECT_TRUE(std::dynamic_pointer_cast<IBaseColumnDef4>(c));
  EXPECT_TRUE(std::dynamic_pointer_cast<IBaseColumnDef5>(c));
  EXPECT_TRUE(std::dynamic_pointer_cast<IBaseColumnDef6>(c));
  EXPECT_TRUE(std::dynamic_pointer_cast<IBaseColumnDef7>(c));
  EXPECT_TRUE(std::dynamic_pointer_cast<IBaseColumnDef8>(c));
  const auto asDef8 = std::dynamic_pointer_cast<IBaseColumnDef8>(c);
  const auto stored = std::dynamic_pointer_cast<CColumnDefStored>(c);
  ASSERT_TRUE(asDef8 && stored);
  asDef8->SetUpdateWhenValueUnchanged(true);
  EXPECT_TRUE(stored->UpdateWhenValueUnchanged());
}

TEST(ColumnDefStored, SupportSpecialFormatTypeTakesOnlyOneToFive) {
  CColumnDefStored c;
  c.SetSupportSpecialFormatType(specialcol_Backcolor, true);
  for (int32_t t = specialcol_Sort; t <= specialcol_Formatted; ++t) {
    EXPECT_EQ(c.SupportSpecialFormatType(t), t == specialcol_Backcolor);
  }
  for (const int32_t bad : {0, 6, -1, INT_MIN, INT_MAX}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(ErrorOf([&] { c.SupportSpecialFormatType(bad); }).Number(), 9);
    EXPECT_EQ(ErrorOf([&] { c.SetSupportSpecialFormatType(bad, true); }).Number(), 9);
  }
}

TEST(ColumnDefStored, VbDatatypeFollowsTheDataType) {
  CColumnDefStored c;
  c.SetVeskDatatype(datatype_Percentage);
  EXPECT_EQ(static_cast<int32_t>(c.VbDatatype()), 4);
  c.SetVeskDatatype(datatype_Blob);
  EXPECT_EQ(static_cast<int32_t>(c.VbDatatype()), 8209);
  c.SetVeskDatatype(static_cast<e_VeskDataType>(10));
  const CError e = ErrorOf([&] { c.VbDatatype(); });
  EXPECT_EQ(e.Number(), 5);
  EXPECT_EQ(e.Description(), "Unknown VESK data type.");
}

TEST(ColumnDefStored, UseDefaultIsNoAggregateTypeOfAColumn) {
  CColumnDefStored c;
  c.SetDefaultAggregateType(colaggregate_Custom);
  const CError e = ErrorOf([&] { c.SetDefaultAggregateType(colaggregate_UseDefault); });
  EXPECT_EQ(e.Number(), 5);
  EXPECT_EQ(e.Description(), "Invalid procedure call or argument");
  EXPECT_EQ(c.DefaultAggregateType(), colaggregate_Custom);
}

TEST(ColumnDefStored, NormalColumnGuidFollowsGuidUntilSet) {
  CColumnDefStored c;
  c.SetGuid("a");
  EXPECT_EQ(c.NormalColumnGuid(), "a");
  c.SetGuid("b");
  EXPECT_EQ(c.NormalColumnGuid(), "b");
  EXPECT_EQ(c.IBaseColumnDef7_NormalColumnGuid(), "b");
  c.SetNormalColumnGuid("n");
  c.SetGuid("c");
  EXPECT_EQ(c.NormalColumnGuid(), "n");
  c.SetNormalColumnGuid("");
  EXPECT_EQ(c.NormalColumnGuid(), "c");
}

TEST(ColumnDefStored, CaptionIgnoresTheLocale) {
  CColumnDefStored c;
  c.SetDefaultCaption(1033, "Amount");
  EXPECT_EQ(c.DefaultCaption(kLocale), "Amount");
  EXPECT_EQ(c.DefaultCaption(0), "Amount");
}

TEST(ColumnDefStored, FreshColumnWritesTheKeysWithoutDefaultsAndANormalColumnType) {
  CColumnDefStored c;
  c.SetGuid(kGuid);
  const PropertyBag bag = BagOf(c.Serialize());
  EXPECT_EQ(KeysOf(bag), (std::vector<std::string>{"Guid",
                                                   "FormGuid",
                                                   "DefaultCaption",
                                                   "DefaultVisibility",
                                                   "DefaultAggregateType",
                                                   "Source",
                                                   "VeskDataType",
                                                   "Description",
                                                   "Alignment",
                                                   "Identifier",
                                                   "FormatType",
                                                   "FormatString",
                                                   "LegalCharacters",
                                                   "LegalCharactersRegex",
                                                   "CaseHandling",
                                                   "WhitespaceHandling",
                                                   "AutocompleteGuid",
                                                   "UiType",
                                                   "Editability",
                                                   "NormalColumnType",
                                                   "FormGuids",
                                                   "ContactColumnsInfo"}));
  EXPECT_EQ(bag.ReadText("NormalColumnType"), kGuid);
  EXPECT_FALSE(bag.Exists("NormalColumnGuid"));
  EXPECT_EQ(bag.ReadProperty("DefaultVisibility").Type(), VariantType::Long);
  // A non-contact column stores its contact information as no object.
  const Variant contact = bag.ReadProperty("ContactColumnsInfo");
  ASSERT_TRUE(contact.IsObject());
  EXPECT_EQ(contact.AsObject(), nullptr);
}

TEST(ColumnDefStored, EveryKeyInSaveOrderWhenNothingIsDefault) {
  const auto c = FullColumn();
  const PropertyBag bag = BagOf(c->Serialize());
  EXPECT_EQ(KeysOf(bag), (std::vector<std::string>{"Guid",
                                                   "FormGuid",
                                                   "DefaultCaption",
                                                   "DefaultVisibility",
                                                   "DefaultAggregateType",
                                                   "Source",
                                                   "VeskDataType",
                                                   "Description",
                                                   "Alignment",
                                                   "Identifier",
                                                   "FormatType",
                                                   "FormatString",
                                                   "LegalCharacters",
                                                   "LegalCharactersRegex",
                                                   "CaseHandling",
                                                   "WhitespaceHandling",
                                                   "AutocompleteGuid",
                                                   "UiType",
                                                   "Editability",
                                                   "AutoColoring",
                                                   "LinkedProviderGuidColumnGuid",
                                                   "Availability",
                                                   "GroupKey",
                                                   "ProviderGuid",
                                                   "IsHybrid",
                                                   "IsTemplateColumn",
                                                   "UpdateWHenValueUnchanged",
                                                   "IsPopular",
                                                   "SpecialColumnType",
                                                   "NormalColumnGuid",
                                                   "IsMiscellaneous",
                                                   "FormGuids",
                                                   "ContactColumnsInfo"}));
  EXPECT_EQ(bag.ReadText("NormalColumnGuid"), "normal");
  EXPECT_FALSE(bag.Exists("NormalColumnType"));
  EXPECT_EQ(bag.ReadProperty("IsHybrid").Type(), VariantType::Boolean);
  EXPECT_EQ(bag.ReadProperty("UiType").Type(), VariantType::Long);
}

TEST(ColumnDefStored, ValuesEqualToTheirDefaultsAreLeftOut) {
  auto c = FullColumn();
  c->SetIsHybrid(false);
  c->SetGroupKey("");
  c->SetAvailability(colavail_All);
  const auto keys = KeysOf(c->Serialize());
  for (const char* key : {"IsHybrid", "GroupKey", "Availability"}) {
    EXPECT_EQ(std::find(keys.begin(), keys.end(), key), keys.end()) << key;
  }
  CColumnDefStored loaded;
  loaded.SetGroupKey("stale");
  loaded.Deserialize(c->Serialize());
  EXPECT_EQ(loaded.GroupKey(), "");
  EXPECT_FALSE(loaded.IsHybrid());
}

TEST(ColumnDefStored, RoundTripKeepsEveryFieldTheBytesAndTheContentId) {
  for (const bool full : {false, true}) {
    SCOPED_TRACE(full);
    std::shared_ptr<CColumnDefStored> original =
        full ? FullColumn() : std::make_shared<CColumnDefStored>();
    if (!full) original->SetGuid(kGuid);
    const Bytes bytes = original->Serialize();
    CColumnDefStored loaded;
    loaded.Deserialize(bytes);
    ExpectSameFields(*original, loaded);
    EXPECT_EQ(loaded.Serialize(), bytes);
    EXPECT_EQ(loaded.ContentId(), original->ContentId());
    CColumnDefStored viaVariant;
    viaVariant.DeserializeV(original->SerializeV());
    EXPECT_EQ(viaVariant.Serialize(), bytes);
  }
  const auto full = FullColumn();
  CColumnDefStored loaded;
  loaded.Deserialize(full->Serialize());
  EXPECT_EQ(loaded.ContactColumnsInfo()->NameColumnGuid(), "name column");
}

TEST(ColumnDefStored, LoadedNormalColumnStaysItsOwnNormalColumn) {
  CColumnDefStored c;
  c.SetGuid("a");
  CColumnDefStored loaded;
  loaded.Deserialize(c.Serialize());
  EXPECT_EQ(loaded.NormalColumnGuid(), "a");
  loaded.SetGuid("b");
  EXPECT_EQ(loaded.NormalColumnGuid(), "b");
}

TEST(ColumnDefStored, OlderBytesLoadWithDefaults) {
  PropertyBag bag;
  bag.WriteProperty("Guid", kGuid);
  bag.WriteProperty("UiType", int32_t{coluitype_Contact});
  bag.WriteProperty("NormalColumnType", kGuid);  // written, never read
  CColumnDefStored c;
  c.SetDescription("stale");
  c.SetIsPopular(true);
  c.Deserialize(bag.Contents());
  EXPECT_EQ(c.Guid(), kGuid);
  EXPECT_EQ(c.Description(), "");
  EXPECT_FALSE(c.IsPopular());
  EXPECT_EQ(c.NormalColumnGuid(), kGuid);
  EXPECT_EQ(c.DefaultCaption(kLocale), "");
  EXPECT_EQ(c.FormGuids()->Count(), 0);
  // No "ContactColumnsInfo" entry at all: a new object.
  ASSERT_TRUE(c.ContactColumnsInfo());
  EXPECT_EQ(c.ContactColumnsInfo()->NameColumnGuid(), "");
}

TEST(ColumnDefStored, ReadsTheMisspelledKeyInAnyCase) {
  for (const char* key :
       {"UpdateWHenValueUnchanged", "UpdateWhenValueUnchanged", "updatewhenvalueunchanged"}) {
    PropertyBag bag;
    bag.WriteProperty(key, true);
    CColumnDefStored c;
    c.Deserialize(bag.Contents());
    EXPECT_TRUE(c.UpdateWhenValueUnchanged()) << key;
  }
}

TEST(ColumnDefStored, ContactColumnsInfoOnlyOnContactColumns) {
  CColumnDefStored c;
  const CError e = ErrorOf([&] { c.ContactColumnsInfo(); });
  EXPECT_EQ(e.Number(), 5);
  EXPECT_EQ(e.Description(), "ContactColumnsInfo only available for Contact UI Type columns.");

  // A contact column saves its information even when nobody asked for it yet.
  c.SetUiType(coluitype_Contact);
  const PropertyBag bag = BagOf(c.Serialize());
  EXPECT_NE(bag.ReadProperty("ContactColumnsInfo").AsObject(), nullptr);

  // Bytes holding no object: none until a contact column asks for it.
  CColumnDefStored plain;
  CColumnDefStored loaded;
  loaded.Deserialize(plain.Serialize());
  EXPECT_THROW(loaded.ContactColumnsInfo(), CError);
  loaded.SetUiType(coluitype_Contact);
  const auto info = loaded.ContactColumnsInfo();
  ASSERT_TRUE(info);
  EXPECT_EQ(loaded.ContactColumnsInfo(), info);
}

TEST(ColumnDefStored, ContentStringIsTheCoreBytesThenFormGuidValuesAndKeys) {
  auto c = FullColumn();
  const PropertyBag core = Without(BagOf(c->Serialize()), {"FormGuids", "ContactColumnsInfo"});
  EXPECT_EQ(c->ContentString(), UnitsOf(core.Contents()) + u"form 2k2form 3");
  EXPECT_EQ(c->ContentId().size(), 64u);

  CStringBuffer buffer;
  buffer.Append(u"[");
  c->AppendContentString2(buffer);
  EXPECT_EQ(buffer.ToString(), u"[" + c->ContentString());
  CStringBuilder builder;
  const auto asDef2 =
      std::dynamic_pointer_cast<IBaseColumnDef2>(std::shared_ptr<IBaseColumnDef>(c));
  ASSERT_TRUE(asDef2);
  asDef2->AppendContentString(builder);
  EXPECT_EQ(builder.Text16(), c->ContentString());
}

TEST(ColumnDefStored, ContentIdChangesWithScalarsAndFormGuidsOnly) {
  auto c = FullColumn();
  const std::string before = c->ContentId();
  c->ContactColumnsInfo()->SetBestEmailAddressColumnGuid("mail");
  c->SetColumnIndex(7);
  c->SetSupportSpecialFormatType(specialcol_Sort, true);
  c->SetDefaultValueType(coldefaultvalue_Standard);
  EXPECT_EQ(c->ContentId(), before);
  c->FormGuids()->Add(Variant("another form"));
  const std::string withForm = c->ContentId();
  EXPECT_NE(withForm, before);
  c->SetIsTemplateColumn(false);
  EXPECT_NE(c->ContentId(), withForm);
}

TEST(ColumnDefStored, BadBytesFailAndChangeNothing) {
  auto c = FullColumn();
  const Bytes before = c->Serialize();
  for (const Bytes& bad :
       {Bytes{}, Bytes{0x00, 0x01, 0x02}, Bytes(before.begin(), before.begin() + 20)}) {
    EXPECT_THROW(c->Deserialize(bad), CError);
    EXPECT_EQ(c->Serialize(), before);
  }
  EXPECT_EQ(ErrorOf([&] { c->DeserializeV(Variant("text")); }).Number(), 13);
}

TEST(ColumnDefStored, NestedObjectOfAnotherClassOrWrongValueTypeFails) {
  PropertyBag bag;
  bag.WriteProperty("Guid", kGuid);
  bag.WriteProperty("ContactColumnsInfo", Variant(std::make_shared<CReferencerColumnInfo>()));
  CColumnDefStored c;
  EXPECT_EQ(ErrorOf([&] { c.Deserialize(bag.Contents()); }).Number(), 13);

  PropertyBag wrongType;
  wrongType.WriteProperty("UiType", "twelve");
  EXPECT_EQ(ErrorOf([&] { c.Deserialize(wrongType.Contents()); }).Number(), 13);
}

std::string DeclaredColumnName(const std::string& escaped) {
  sqlite3* db = nullptr;
  EXPECT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
  std::string name;
  const std::string create = "CREATE TABLE t (" + escaped + " TEXT)";
  if (sqlite3_exec(db, create.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK) {
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT name FROM pragma_table_info('t')", -1, &stmt, nullptr);
    if (sqlite3_step(stmt) == SQLITE_ROW)
      name = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    sqlite3_finalize(stmt);
  } else {
    ADD_FAILURE() << sqlite3_errmsg(db) << " in " << create;
  }
  sqlite3_close(db);
  return name;
}

TEST(ColumnDefStored, EscapedIdentifierNamesExactlyTheIdentifier) {
  for (const std::string identifier :
       {"amount", "due date", "say \"hi\"", "select", "a\"\"b", "é ü"}) {
    SCOPED_TRACE(identifier);
    CColumnDefStored c;
    c.SetIdentifier(identifier);
    EXPECT_EQ(DeclaredColumnName(c.EscapedIdentifier()), identifier);
  }
}

}  // namespace
}  // namespace prvdrinfo
