#include "prvdrinfo/columns/referencer_column_info.h"

#include <gtest/gtest.h>

#include "prvdrinfo/foundation/error.h"
#include "support/error_capture.h"

namespace prvdrinfo {
namespace {

constexpr const char* kSingleOnly =
    "This provider only supports a single provider reference. Use ReferenceProviderGuid instead.";
constexpr const char* kMultipleOnly =
    "This column can reference multiple providers. Use ReferencedProviderColumnGuid instead.";

using testing::ExpectError;

TEST(ReferencerColumnInfo, RecordColumnAloneLeavesBothWaysOpen) {
  CReferencerColumnInfo info;
  info.SetReferencedRecordColumnGuid("record");
  EXPECT_FALSE(info.SingleProviderReference());
  EXPECT_FALSE(info.MultipleProvidersReferencable());
  EXPECT_EQ(info.ReferencedProviderGuid(), "");
  EXPECT_EQ(info.ReferencedProviderColumnGuid(), "");

  CReferencerColumnInfo single = info;
  single.SetReferencedProviderGuid("provider");
  EXPECT_TRUE(single.SingleProviderReference());
  CReferencerColumnInfo multiple = info;
  multiple.SetReferencedProviderColumnGuid("column");
  EXPECT_TRUE(multiple.MultipleProvidersReferencable());
}

TEST(ReferencerColumnInfo, SingleProviderBlocksTheProviderColumn) {
  CReferencerColumnInfo info;
  info.SetReferencedProviderGuid("provider");
  info.SetReferencedProviderGuid("provider 2");
  EXPECT_EQ(info.ReferencedProviderGuid(), "provider 2");
  ExpectError([&] { info.ReferencedProviderColumnGuid(); }, 5, kSingleOnly);
  ExpectError([&] { info.SetReferencedProviderColumnGuid("column"); }, 5, kSingleOnly);
  EXPECT_FALSE(info.MultipleProvidersReferencable());
  // Record column has no condition.
  info.SetReferencedRecordColumnGuid("record");
  EXPECT_EQ(info.ReferencedRecordColumnGuid(), "record");
  // Clearing the provider opens the other way again; blank text counts as cleared.
  info.SetReferencedProviderGuid(" \t");
  EXPECT_FALSE(info.SingleProviderReference());
  info.SetReferencedProviderColumnGuid("column");
  EXPECT_EQ(info.ReferencedProviderColumnGuid(), "column");
}

TEST(ReferencerColumnInfo, ProviderColumnBlocksTheSingleProvider) {
  CReferencerColumnInfo info;
  info.SetReferencedProviderColumnGuid("column");
  ExpectError([&] { info.ReferencedProviderGuid(); }, 5, kMultipleOnly);
  ExpectError([&] { info.SetReferencedProviderGuid("provider"); }, 5, kMultipleOnly);
  EXPECT_FALSE(info.SingleProviderReference());
  EXPECT_EQ(info.ReferencedProviderColumnGuid(), "column");
}

TEST(ReferencerColumnInfo, PersistsInKeyOrderWithEmptyDefaults) {
  CReferencerColumnInfo info;
  PropertyBag empty;
  info.Class_WriteProperties(empty);
  EXPECT_EQ(empty.Count(), 0u);

  info.SetReferencedRecordColumnGuid("record");
  info.SetReferencedProviderGuid("provider");
  PropertyBag bag;
  info.Class_WriteProperties(bag);
  ASSERT_EQ(bag.Count(), 2u);
  EXPECT_EQ(bag.Entries()[0].key, "ReferencedProviderGuid");
  EXPECT_EQ(bag.Entries()[1].key, "ReferencedRecordColumnGuid");

  CReferencerColumnInfo loaded;
  loaded.Class_ReadProperties(bag);
  EXPECT_EQ(loaded.ReferencedProviderGuid(), "provider");
  EXPECT_EQ(loaded.ReferencedRecordColumnGuid(), "record");
  EXPECT_TRUE(loaded.SingleProviderReference());
}

TEST(ReferencerColumnInfo, LoadingSetsFieldsWithoutTheChecks) {
  PropertyBag bag;
  bag.WriteProperty("ReferencedProviderGuid", "provider");
  bag.WriteProperty("ReferencedProviderColumnGuid", "column");
  CReferencerColumnInfo info;
  info.Class_ReadProperties(bag);
  EXPECT_TRUE(info.SingleProviderReference());
  EXPECT_TRUE(info.MultipleProvidersReferencable());
  ExpectError([&] { info.ReferencedProviderGuid(); }, 5, kMultipleOnly);
}

TEST(ReferencerColumnInfo, FactoryGivesAnEmptyInstance) {
  const auto info = CReferencerColumnInfoF().CreateReferencerColumnInfo();
  ASSERT_TRUE(info);
  EXPECT_FALSE(info->SingleProviderReference());
  EXPECT_FALSE(info->MultipleProvidersReferencable());
}

}  // namespace
}  // namespace prvdrinfo
