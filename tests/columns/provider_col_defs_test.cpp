#include "prvdrinfo/columns/provider_col_defs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "prvdrinfo/columns/column_def_computed.h"
#include "prvdrinfo/columns/column_def_stored.h"
#include "prvdrinfo/columns/referencer_column_info.h"
#include "prvdrinfo/services/vesk.h"
#include "support/column_test_support.h"

namespace prvdrinfo {
namespace {

using testing::ErrorOf;
using testing::KeysOf;

std::vector<std::string> GuidsOf(const CColumnDefs& defs) {
  std::vector<std::string> guids;
  for (const auto& column : defs) guids.push_back(column->Guid());
  return guids;
}

std::shared_ptr<CColumnDefStored> Stored(const std::string& guid, const std::string& caption = "") {
  auto c = std::make_shared<CColumnDefStored>();
  c->SetGuid(guid);
  c->SetDefaultCaption(0, caption);
  return c;
}

// A provider's column set: two own columns, one of them required, and one computed.
std::shared_ptr<CProviderColDefs> SampleColumns() {
  auto defs = CProviderColDefsFactory().CreateProviderColDefs();
  const auto number = Stored("number", "Number");
  defs->ProviderSpecific()->AddExisting(number);
  defs->Required()->AddExisting(number);
  defs->ProviderSpecific()->AddExisting(Stored("title", "Title"));
  auto total = std::make_shared<CColumnDefComputed>();
  total->SetGuid("total");
  defs->ProviderSpecific()->AddExisting(total);
  return defs;
}

TEST(ProviderColDefs, FreshSetHoldsTheFiveStandardColumns) {
  struct Expected {
    e_VeskColumn name;
    const char* caption;
    e_VeskDataType type;
  };
  const Expected expected[] = {
      {veskcol_RecordGuid, "GUID", datatype_String},
      {veskcol_Hidden, "Hidden", datatype_Boolean},
      {veskcol_Updates, "Updates", datatype_Integer},
      {veskcol_Modified, "Modified", datatype_String},
      {veskcol_Created, "Created", datatype_String},
  };
  const auto defs = CProviderColDefsFactory().CreateProviderColDefs();
  ASSERT_EQ(defs->Standard()->Count(), 5);
  ASSERT_EQ(defs->Required()->Count(), 5);
  EXPECT_EQ(defs->ProviderSpecific()->Count(), 0);
  for (int32_t i = 0; i < 5; ++i) {
    const auto& e = expected[i];
    SCOPED_TRACE(e.caption);
    const auto column =
        std::dynamic_pointer_cast<CColumnDefStored>(defs->Standard()->ItemByIndex(i));
    ASSERT_TRUE(column);
    const std::string name = CVesk::ColumnName(e.name);
    EXPECT_EQ(column->Guid(), name);
    EXPECT_EQ(column->Identifier(), name);
    EXPECT_EQ(column->DefaultCaption(4105), e.caption);
    EXPECT_EQ(column->VeskDatatype(), e.type);
    EXPECT_EQ(column->DefaultVisibility(), cv_NeverShow);
    EXPECT_EQ(column->Source(), colsource_Database);
    EXPECT_EQ(defs->Required()->ItemByIndex(i), column);  // the same object, not a copy
  }
  EXPECT_EQ(GuidsOf(*defs->Standard()),
            (std::vector<std::string>{"rec_guid", "hidden", "updates", "modified", "created"}));
}

TEST(ProviderColDefs, RecordStatusColumnOnRequest) {
  CProviderColDefs defs;
  defs.InitRecordStatusColumn();
  ASSERT_EQ(defs.Standard()->Count(), 6);
  EXPECT_EQ(defs.Required()->Count(), 5);
  const auto status = std::dynamic_pointer_cast<CColumnDefStored>(defs.Standard()->ItemByIndex(5));
  ASSERT_TRUE(status);
  EXPECT_EQ(status->Guid(), CVesk::ColumnName(veskcol_RecordStatus));
  EXPECT_EQ(status->Identifier(), "record_status");
  EXPECT_EQ(status->DefaultCaption(0), "RecordStatus");
  EXPECT_EQ(status->VeskDatatype(), datatype_String);
  EXPECT_EQ(ErrorOf([&] { defs.InitRecordStatusColumn(); }).Number(), 457);
  EXPECT_EQ(defs.Standard()->Count(), 6);
}

TEST(ProviderColDefs, ExistsAndFindByGuid) {
  const auto defs = SampleColumns();
  defs->Required()->AddExisting(Stored("only required"));
  EXPECT_TRUE(defs->Exists("NUMBER"));
  EXPECT_TRUE(defs->Exists("rec_guid"));
  EXPECT_FALSE(defs->Exists("only required"));
  EXPECT_EQ(defs->FindByGuid("Title")->DefaultCaption(0), "Title");
  EXPECT_EQ(defs->FindByGuid("hidden"), defs->Standard()->Item("hidden"));

  const CError blank = ErrorOf([&] { defs->FindByGuid(""); });
  EXPECT_EQ(blank.Number(), 5);
  EXPECT_EQ(blank.Description(), "GUID required for FindByGuid");
  for (const std::string missing : {"nowhere", "only required"}) {
    const CError e = ErrorOf([&] { defs->FindByGuid(missing); });
    EXPECT_EQ(e.Number(), 5);
    EXPECT_EQ(e.Description(), "Could not find requested column: " + missing);
  }
}

TEST(ProviderColDefs, ProviderColumnsWinOverStandardOnesOfTheSameGuid) {
  CProviderColDefs defs;
  const auto own = Stored("HIDDEN", "provider's own");
  defs.ProviderSpecific()->AddExisting(own);
  EXPECT_EQ(defs.FindByGuid("hidden"), own);
}

TEST(ProviderColDefs, RemoveClearsTheGuidEverywhere) {
  const auto defs = SampleColumns();
  defs->Remove("Number");
  defs->Remove("rec_guid");
  defs->Remove("never there");
  EXPECT_FALSE(defs->ProviderSpecific()->ExistsByGuid("number"));
  EXPECT_FALSE(defs->Required()->ExistsByGuid("number"));
  EXPECT_FALSE(defs->Standard()->ExistsByGuid("rec_guid"));
  EXPECT_FALSE(defs->Required()->ExistsByGuid("rec_guid"));
  EXPECT_EQ(defs->Standard()->Count(), 4);
  EXPECT_EQ(defs->Required()->Count(), 4);
  EXPECT_EQ(defs->ProviderSpecific()->Count(), 2);
}

TEST(ProviderColDefs, ContentStringIsStandardThenProviderThenRequired) {
  const auto defs = SampleColumns();
  EXPECT_EQ(defs->ContentString(), defs->Standard()->ContentString() +
                                       defs->ProviderSpecific()->ContentString() +
                                       defs->Required()->ContentString());
  // A required column counts twice: changing it changes both of its places.
  const std::u16string number = defs->FindByGuid("number")->ContentString();
  const std::u16string text = defs->ContentString();
  size_t occurrences = 0;
  for (size_t at = text.find(number); at != std::u16string::npos; at = text.find(number, at + 1))
    ++occurrences;
  EXPECT_EQ(occurrences, 2u);
}

TEST(ProviderColDefs, RoundTripKeepsEverythingAndRejoinsRequiredColumns) {
  const auto defs = SampleColumns();
  defs->InitRecordStatusColumn();
  const Bytes bytes = defs->Serialize();
  EXPECT_EQ(KeysOf(bytes), (std::vector<std::string>{"Standard", "ProviderSpecific", "Required"}));

  CProviderColDefs loaded;
  loaded.Deserialize(bytes);
  EXPECT_EQ(loaded.Serialize(), bytes);
  EXPECT_EQ(loaded.ContentId(), defs->ContentId());
  EXPECT_EQ(GuidsOf(*loaded.Standard()), GuidsOf(*defs->Standard()));
  EXPECT_EQ(GuidsOf(*loaded.ProviderSpecific()), GuidsOf(*defs->ProviderSpecific()));
  EXPECT_EQ(GuidsOf(*loaded.Required()), GuidsOf(*defs->Required()));
  EXPECT_TRUE(std::dynamic_pointer_cast<CColumnDefComputed>(loaded.FindByGuid("total")));

  // Required holds the very objects of the other two collections again.
  EXPECT_EQ(loaded.Required()->Item("number"), loaded.ProviderSpecific()->Item("number"));
  EXPECT_EQ(loaded.Required()->Item("rec_guid"), loaded.Standard()->Item("rec_guid"));
  loaded.FindByGuid("number")->SetDescription("changed once");
  EXPECT_EQ(loaded.Required()->Item("number")->Description(), "changed once");
}

TEST(ProviderColDefs, MissingCollectionsLoadEmpty) {
  const auto defs = SampleColumns();
  PropertyBag bag;
  bag.WriteProperty("ProviderSpecific", Variant(defs->ProviderSpecific()));
  CProviderColDefs loaded;
  loaded.Deserialize(bag.Contents());
  ASSERT_TRUE(loaded.Standard());
  ASSERT_TRUE(loaded.Required());
  EXPECT_EQ(loaded.Standard()->Count(), 0);
  EXPECT_EQ(loaded.Required()->Count(), 0);
  EXPECT_EQ(loaded.ProviderSpecific()->Count(), 3);

  PropertyBag nothing;
  nothing.WriteProperty("Standard", Variant(std::shared_ptr<IObject>()));
  loaded.Deserialize(nothing.Contents());
  ASSERT_TRUE(loaded.Standard());
  EXPECT_EQ(loaded.Standard()->Count(), 0);
}

TEST(ProviderColDefs, ANestedObjectOfAnotherClassFailsAndChangesNothing) {
  PropertyBag bag;
  bag.WriteProperty("Standard", Variant(std::make_shared<CColumnDefs>()));
  bag.WriteProperty("Required", Variant(std::make_shared<CReferencerColumnInfo>()));
  CProviderColDefs defs;
  EXPECT_EQ(ErrorOf([&] { defs.Deserialize(bag.Contents()); }).Number(), 13);
  EXPECT_EQ(defs.Standard()->Count(), 5);
  EXPECT_EQ(defs.Required()->Count(), 5);
}

// Stored projects hold these bytes: required columns written as copies of their own, the
// record status column in Standard only.
TEST(ProviderColDefs, SerializedBytesAndContentIdAreFixed) {
  CProviderColDefs defs;
  auto own = std::make_shared<CColumnDefStored>();
  own->SetGuid("x");
  own->SetIdentifier("x_col");
  defs.ProviderSpecific()->AddExisting(own);
  defs.Required()->AddExisting(own);
  defs.InitRecordStatusColumn();
  const Bytes bytes = defs.Serialize();
  EXPECT_EQ(bytes.size(), 5428u);
  EXPECT_EQ(content::ContentIdOf(testing::UnitsOf(bytes)),
            "B4334EBA031F78CF03A93435D76C1E724D9C5D131671A10DF75A820C81F6897B");
  EXPECT_EQ(defs.ContentId(), "16A0FB09D93F6E5829197CAE90DA749C13ECCCC0B280ECA6443CFCF7566DE6E1");
}

}  // namespace
}  // namespace prvdrinfo
