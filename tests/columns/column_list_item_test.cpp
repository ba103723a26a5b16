#include "prvdrinfo/columns/column_list_item.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/column_test_support.h"

namespace prvdrinfo {
namespace {

using testing::BagOf;
using testing::KeysOf;

constexpr const char* kRich =
    R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\f0\b Bold\b0  and plain\par next line})";

TEST(ColumnListItem, FreshItem) {
  const auto item = CColumnListItemFactory().CreateColumnListItem();
  EXPECT_EQ(item->RecordGuid(), "");
  EXPECT_EQ(item->Abbreviation(), "NEW");
  EXPECT_EQ(item->Title(), "New Column List Item");
  EXPECT_EQ(item->Description(), "");
  EXPECT_EQ(item->DescriptionRtf(), "");
  EXPECT_EQ(item->DescriptionPlain(), "");
  EXPECT_EQ(item->Backcolor(), static_cast<int32_t>(0x80000005u));
  EXPECT_EQ(item->Forecolor(), static_cast<int32_t>(0x80000008u));
}

TEST(ColumnListItem, AbbreviationAndTitleAreCleanedUp) {
  struct Case {
    const char* given;
    const char* kept;
  };
  const Case cases[] = {
      {"  CO  ", "CO"},
      {"Change\t\t order\n", "Change order"},
      {"a\x01"
       "b",
       "ab"},
      {"", ""},
  };
  for (const Case& k : cases) {
    CColumnListItem item;
    item.SetAbbreviation(k.given);
    item.SetTitle(k.given);
    EXPECT_EQ(item.Abbreviation(), k.kept) << k.given;
    EXPECT_EQ(item.Title(), k.kept) << k.given;
  }
}

TEST(ColumnListItem, DescriptionIsKeptAndGivesBothForms) {
  CColumnListItem item;
  item.SetDescription(kRich);
  EXPECT_EQ(item.Description(), kRich);
  EXPECT_EQ(item.DescriptionRtf(), kRich);
  EXPECT_EQ(item.DescriptionPlain(), "Bold and plain\nnext line");

  item.SetDescription("  plain {text}  ");
  EXPECT_EQ(item.Description(), "  plain {text}  ");
  EXPECT_EQ(item.DescriptionPlain(), "  plain {text}  ");
  EXPECT_EQ(item.DescriptionRtf().rfind("{\\rtf", 0), 0u);
  EXPECT_NE(item.DescriptionRtf().find("\\{text\\}"), std::string::npos);

  item.SetDescription("");
  EXPECT_EQ(item.DescriptionRtf(), "");
  EXPECT_EQ(item.DescriptionPlain(), "");
}

TEST(ColumnListItem, KeysInFixedOrderAndDefaultColoursLeftOut) {
  CColumnListItem item;
  EXPECT_EQ(KeysOf(item.Serialize()),
            (std::vector<std::string>{"Abbreviation", "Description", "RecordGuid", "Title"}));
  item.SetBackcolor(0x00FF00);
  item.SetForecolor(0);
  const PropertyBag bag = BagOf(item.Serialize());
  EXPECT_EQ(KeysOf(bag), (std::vector<std::string>{"Abbreviation", "Backcolor", "Description",
                                                   "Forecolor", "RecordGuid", "Title"}));
  EXPECT_EQ(bag.ReadProperty("Backcolor").Type(), VariantType::Long);
}

TEST(ColumnListItem, RoundTrip) {
  CColumnListItem item;
  item.SetRecordGuid("1D2C3B4A-0000-4000-8000-000000000001");
  item.SetAbbreviation("CO");
  item.SetTitle("Change order");
  item.SetDescription(kRich);
  item.SetBackcolor(0x00FFEEDD);
  const Bytes bytes = item.Serialize();
  CColumnListItem loaded;
  loaded.Deserialize(bytes);
  EXPECT_EQ(loaded.Serialize(), bytes);
  EXPECT_EQ(loaded.RecordGuid(), item.RecordGuid());
  EXPECT_EQ(loaded.Title(), "Change order");
  EXPECT_EQ(loaded.DescriptionPlain(), "Bold and plain\nnext line");
  EXPECT_EQ(loaded.Backcolor(), 0x00FFEEDD);
  EXPECT_EQ(loaded.Forecolor(), CColumnListItem::kDefaultForecolor);
}

TEST(ColumnListItem, LoadingGoesThroughTheSetters) {
  PropertyBag bag;
  bag.WriteProperty("Abbreviation", "  ab  ");
  bag.WriteProperty("Title", "Two\n\nlines");
  bag.WriteProperty("Description", kRich);
  CColumnListItem item;
  item.SetBackcolor(1);
  item.Deserialize(bag.Contents());
  EXPECT_EQ(item.Abbreviation(), "ab");
  EXPECT_EQ(item.Title(), "Two lines");
  EXPECT_EQ(item.DescriptionPlain(), "Bold and plain\nnext line");
  EXPECT_EQ(item.Backcolor(), CColumnListItem::kDefaultBackcolor);
  EXPECT_EQ(item.RecordGuid(), "");
}

TEST(ColumnListItem, BadBytesChangeNothing) {
  CColumnListItem item;
  item.SetTitle("kept");
  EXPECT_THROW(item.Deserialize(Bytes{0x42}), CError);
  EXPECT_EQ(item.Title(), "kept");
}

}  // namespace
}  // namespace prvdrinfo
