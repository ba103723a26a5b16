#include "prvdrinfo/columns/column_def_computed.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "prvdrinfo/columns/column_def_stored.h"
#include "support/column_test_support.h"

namespace prvdrinfo {
namespace {

using testing::BagOf;
using testing::ErrorOf;
using testing::KeysOf;
using testing::UnitsOf;
using testing::Without;

constexpr const char* kGuid = "0B9C8D7E-6F5A-4B3C-9D2E-1F0A9B8C7D6E";

std::shared_ptr<CColumnDefComputed> FullColumn() {
  auto c = std::make_shared<CColumnDefComputed>();
  c->SetGuid(kGuid);
  c->SetFormGuid("form");
  c->SetEditabilityLinkedColumnGuid("edit link");
  c->SetDefaultCaption(0, "Total");
  c->SetDefaultVisibility(cv_DefaultShow);
  c->SetDefaultAggregateType(colaggregate_Sum);
  c->SetSource(colsource_Computed);
  c->SetVeskDatatype(datatype_Currency);
  c->SetDescription("sum of parts");
  c->SetDefaultAlignment(colalign_Right);
  c->SetFormatType(colformat_ProviderHandled);
  c->SetSpecialFormatString("#,##0.00");
  c->SetAutoColoring(colcolor_AskProvider);
  c->SetFormula("a + b");
  c->SetAvailability(colavail_FormsOnly);
  c->SetGroupKey("money");
  c->SetForceEditable(true);
  c->SetProviderGuid("provider");
  c->SetIsPopular(true);
  c->SetNullLinkedColumnGuidOnEdit("null me");
  c->SetSpecialColumnType(specialcol_Formatted);
  c->SetNormalColumnGuid("normal");
  c->SetIsMiscellaneous(true);
  c->SetExternallyLinkedInfo("other provider", "other column");
  c->FormGuids()->Add(Variant("form 2"), "k");
  c->PossibleValues()->Add(Variant("Open"), "O");
  c->PossibleValues()->Add(Variant("Closed"), "C");
  return c;
}

const std::vector<std::string> kAllKeys = {"Guid",
                                           "FormGuid",
                                           "EditabilityLinkedColumNGuid",
                                           "DefaultCaption",
                                           "DefaultVisibility",
                                           "DefaultAggregateType",
                                           "Source",
                                           "VeskDataType",
                                           "Description",
                                           "Alignment",
                                           "FormatType",
                                           "FormatString",
                                           "AutoColoring",
                                           "Formula",
                                           "Availability",
                                           "GroupKey",
                                           "ForceEditable",
                                           "ProviderGuid",
                                           "IsPopular",
                                           "NullLinkedColumnGuidOnEdit",
                                           "SpecialColumnType",
                                           "NormalColumnGuid",
                                           "IsMiscellaneous",
                                           "ExternallyLinkedProviderGuid",
                                           "ExternallyLinkedColumnGuid",
                                           "FormGuids",
                                           "PossibleValues"};

TEST(ColumnDefComputed, FreshState) {
  const auto c = CColumnDefComputedFactory().CreateColumnDefComputed();
  EXPECT_EQ(c->ColumnIndex(), -1);
  EXPECT_FALSE(c->SupportSpecialFormatType(specialcol_Sort));
  EXPECT_EQ(c->DefaultCaption(4105), "");
  EXPECT_EQ(c->Formula(), "");
  EXPECT_FALSE(c->Editable());
  EXPECT_FALSE(c->IsExternallyLinkedColumn());
  EXPECT_EQ(c->PossibleValues()->Count(), 0);
  EXPECT_EQ(c->FormGuids()->Count(), 0);
}

TEST(ColumnDefComputed, IsNoHybridAndKnowsNoUnchangedUpdates) {
  const std::shared_ptr<IBaseColumnDef> c = std::make_shared<CColumnDefComputed>();
  EXPECT_TRUE(std::dynamic_pointer_cast<IBaseColumnDef2>(c));
  EXPECT_TRUE(std::dynamic_pointer_cast<IBaseColumnDef3>(c));
  EXPECT_TRUE(std::dynamic_pointer_cast<IBaseColumnDef4>(c));
  EXPECT_FALSE(std::dynamic_pointer_cast<IBaseColumnDef5>(c));
  EXPECT_TRUE(std::dynamic_pointer_cast<IBaseColumnDef6>(c));
  EXPECT_TRUE(std::dynamic_pointer_cast<IBaseColumnDef7>(c));
  EXPECT_FALSE(std::dynamic_pointer_cast<IBaseColumnDef8>(c));
  EXPECT_FALSE(std::dynamic_pointer_cast<CColumnDefStored>(c));
}

TEST(ColumnDefComputed, EditableThroughEitherWay) {
  struct Case {
    bool force;
    const char* linked;
    bool editable;
  };
  for (const Case& k : {Case{false, "", false}, Case{true, "", true}, Case{false, "col", true},
                        Case{true, "col", true}}) {
    CColumnDefComputed c;
    c.SetForceEditable(k.force);
    c.SetEditabilityLinkedColumnGuid(k.linked);
    EXPECT_EQ(c.Editable(), k.editable) << k.force << " " << k.linked;
  }
}

TEST(ColumnDefComputed, ExternalLinkIsBothGuidsOrNone) {
  struct Case {
    const char* provider;
    const char* column;
    bool fails;
    bool linked;
  };
  const Case cases[] = {
      {"p", "c", false, true}, {"", "", false, false},    {"p", "", true, false},
      {"", "c", true, false},  {" ", "\t", false, false}, {"p", " ", true, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(k.provider) + "|" + k.column);
    CColumnDefComputed c;
    c.SetExternallyLinkedInfo("old p", "old c");
    if (k.fails) {
      const CError e = ErrorOf([&] { c.SetExternallyLinkedInfo(k.provider, k.column); });
      EXPECT_EQ(e.Number(), 5);
      EXPECT_EQ(e.Description(), "Both provider GUID and column GUID must be set or cleared.");
      EXPECT_EQ(c.ExternallyLinkedProviderGuid(), "old p");
      EXPECT_EQ(c.ExternallyLinkedColumnGuid(), "old c");
      EXPECT_TRUE(c.IsExternallyLinkedColumn());
    } else {
      c.SetExternallyLinkedInfo(k.provider, k.column);
      EXPECT_EQ(c.ExternallyLinkedProviderGuid(), k.provider);
      EXPECT_EQ(c.ExternallyLinkedColumnGuid(), k.column);
      EXPECT_EQ(c.IsExternallyLinkedColumn(), k.linked);
    }
  }
}

TEST(ColumnDefComputed, AggregateTypeAndSpecialFormatRules) {
  CColumnDefComputed c;
  EXPECT_EQ(ErrorOf([&] { c.SetDefaultAggregateType(colaggregate_UseDefault); }).Number(), 5);
  EXPECT_EQ(c.DefaultAggregateType(), colaggregate_None);
  EXPECT_EQ(ErrorOf([&] { c.SupportSpecialFormatType(specialcol_FormattedForm); }).Number(), 9);
  c.SetVeskDatatype(static_cast<e_VeskDataType>(-1));
  EXPECT_EQ(ErrorOf([&] { c.VbDatatype(); }).Description(), "Unknown VESK data type.");
}

TEST(ColumnDefComputed, EveryKeyInSaveOrder) {
  const PropertyBag bag = BagOf(FullColumn()->Serialize());
  EXPECT_EQ(KeysOf(bag), kAllKeys);
  EXPECT_EQ(bag.Entries()[2].key, "EditabilityLinkedColumNGuid");
}

TEST(ColumnDefComputed, FreshColumnKeepsOnlyTheKeysWithoutDefaults) {
  CColumnDefComputed c;
  c.SetGuid(kGuid);
  const PropertyBag bag = BagOf(c.Serialize());
  EXPECT_EQ(KeysOf(bag),
            (std::vector<std::string>{
                "Guid", "FormGuid", "DefaultCaption", "DefaultVisibility", "DefaultAggregateType",
                "Source", "VeskDataType", "Description", "Alignment", "FormatType", "FormatString",
                "AutoColoring", "Formula", "NormalColumnType", "FormGuids", "PossibleValues"}));
}

TEST(ColumnDefComputed, RoundTripKeepsEverything) {
  const auto original = FullColumn();
  const Bytes bytes = original->Serialize();
  CColumnDefComputed c;
  c.Deserialize(bytes);
  EXPECT_EQ(c.Serialize(), bytes);
  EXPECT_EQ(c.ContentId(), original->ContentId());
  EXPECT_TRUE(c.IsPopular());
  EXPECT_TRUE(c.Editable());
  EXPECT_EQ(c.EditabilityLinkedColumnGuid(), "edit link");
  EXPECT_EQ(c.NullLinkedColumnGuidOnEdit(), "null me");
  EXPECT_EQ(c.Formula(), "a + b");
  EXPECT_EQ(c.NormalColumnGuid(), "normal");
  EXPECT_TRUE(c.IsExternallyLinkedColumn());
  EXPECT_EQ(c.ExternallyLinkedProviderGuid(), "other provider");
  ASSERT_EQ(c.PossibleValues()->Count(), 2);
  EXPECT_EQ(c.PossibleValues()->Item("c").AsText(), "Closed");
}

TEST(ColumnDefComputed, ForceEditableAloneSurvivesTheRoundTrip) {
  CColumnDefComputed c;
  c.SetForceEditable(true);
  CColumnDefComputed loaded;
  loaded.Deserialize(c.Serialize());
  EXPECT_TRUE(loaded.Editable());
}

TEST(ColumnDefComputed, EditabilityKeyLoadsInEitherSpelling) {
  for (const char* key : {"EditabilityLinkedColumNGuid", "EditabilityLinkedColumnGuid"}) {
    PropertyBag bag;
    bag.WriteProperty(key, "linked column");
    CColumnDefComputed c;
    c.Deserialize(bag.Contents());
    EXPECT_EQ(c.EditabilityLinkedColumnGuid(), "linked column") << key;
  }
}

TEST(ColumnDefComputed, OlderBytesLoadWithoutTheLaterFields) {
  const PropertyBag full = BagOf(FullColumn()->Serialize());
  const PropertyBag older =
      Without(full, {"NullLinkedColumnGuidOnEdit", "PossibleValues", "ExternallyLinkedProviderGuid",
                     "ExternallyLinkedColumnGuid"});
  // Loaded over a column that has all of them, so that leftovers would show.
  auto c = FullColumn();
  c->Deserialize(older.Contents());
  EXPECT_EQ(c->NullLinkedColumnGuidOnEdit(), "");
  EXPECT_EQ(c->PossibleValues()->Count(), 0);
  EXPECT_FALSE(c->IsExternallyLinkedColumn());
  EXPECT_EQ(c->ExternallyLinkedProviderGuid(), "");
  EXPECT_EQ(c->Formula(), "a + b");
}

TEST(ColumnDefComputed, DamagedLaterFieldsAreIgnored) {
  // Each case damages one later field; that field loads as fresh, the rest as stored.
  struct Case {
    const char* name;
    const char* key;
    Variant damaged;  // Empty: the entry is dropped
    bool linkLost;
    bool valuesLost;
    bool nullLinkLost;
  };
  const Case cases[] = {
      {"one-sided link", "ExternallyLinkedColumnGuid", Variant(), true, false, false},
      {"link of the wrong type", "ExternallyLinkedProviderGuid", Variant(Bytes{1, 2, 3}), true,
       false, false},
      {"undecodable possible values", "PossibleValues", Variant(Bytes{0xDE, 0xAD}), false, true,
       false},
      {"null link of the wrong type", "NullLinkedColumnGuidOnEdit", Variant(Bytes{1}), false, false,
       true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    PropertyBag bag = Without(BagOf(FullColumn()->Serialize()), {k.key});
    if (!k.damaged.IsEmpty()) bag.WriteProperty(k.key, k.damaged);
    auto c = FullColumn();
    ASSERT_NO_THROW(c->Deserialize(bag.Contents()));
    EXPECT_EQ(c->Formula(), "a + b");
    EXPECT_EQ(c->IsExternallyLinkedColumn(), !k.linkLost);
    EXPECT_EQ(c->ExternallyLinkedProviderGuid(), k.linkLost ? "" : "other provider");
    EXPECT_EQ(c->ExternallyLinkedColumnGuid(), k.linkLost ? "" : "other column");
    EXPECT_EQ(c->PossibleValues()->Count(), k.valuesLost ? 0 : 2);
    EXPECT_EQ(c->NullLinkedColumnGuidOnEdit(), k.nullLinkLost ? "" : "null me");
  }
}

TEST(ColumnDefComputed, FirstHalfFailuresStillFailTheLoad) {
  PropertyBag bag;
  bag.WriteProperty("Formula", Bytes{1, 2});
  CColumnDefComputed c;
  EXPECT_EQ(ErrorOf([&] { c.Deserialize(bag.Contents()); }).Number(), 13);
}

TEST(ColumnDefComputed, ContentStringLeavesOutPossibleValues) {
  auto c = FullColumn();
  const PropertyBag core = Without(BagOf(c->Serialize()), {"FormGuids", "PossibleValues"});
  EXPECT_EQ(c->ContentString(), UnitsOf(core.Contents()) + u"form 2k");

  const std::string before = c->ContentId();
  c->PossibleValues()->Add(Variant("Pending"), "P");
  EXPECT_EQ(c->ContentId(), before);
  c->FormGuids()->Add(Variant("form 3"));
  const std::string withForm = c->ContentId();
  EXPECT_NE(withForm, before);
  c->SetExternallyLinkedInfo("", "");
  EXPECT_NE(c->ContentId(), withForm);
}

}  // namespace
}  // namespace prvdrinfo
