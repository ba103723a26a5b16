#include "prvdrinfo/viewsdb/db_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/db/command.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/services/text_service.h"

namespace prvdrinfo {
namespace {

TEST(SmartSort, DefinesOneCollationNamedSmartSort) {
  CDbHelpers helpers;
  EXPECT_EQ(helpers.DefinedNames(), "SmartSort");
}

TEST(SmartSort, ComparesCaptionsAsTheirSmartSortKeys) {
  struct Case {
    const char* left;
    const char* right;
    int32_t want;
  };
  CDbHelpers helpers;
  for (const Case& c : std::initializer_list<Case>{
           {"View 2", "view 10", -1},  // numbers by value, letters without case
           {"view 10", "View 2", 1},
           {"Budget", "budget", 0},               // equal keys, different captions
           {"Item 007", "item 7", 0},             // equal numbers
           {"  Spaced   out ", "Spaced out", 0},  // the caption clean-up applies
           {"Cafe\xCC\x81", "Caf\xC3\xA9", 0},    // one letter typed two ways
           {"A", "B", -1},
           {"", "a", -1},
           {"", "", 0}}) {
    EXPECT_EQ(helpers.CallbackCollate(0, c.left, c.right), c.want) << c.left << " | " << c.right;
    EXPECT_EQ(helpers.CallbackCollate(0, c.right, c.left), -c.want)
        << "swapped: " << c.left << " | " << c.right;
  }
}

TEST(SmartSort, ResultsStayTheSameHoweverManyCaptionsOneObjectHasSeen) {
  // Past the number of keys it remembers, and for captions too long to remember.
  CDbHelpers helpers;
  const std::string longCaption(600, 'x');
  std::string previous = "view 0";
  for (int i = 1; i <= 20100; ++i) {
    const std::string caption = (i % 2 ? "View " : "view 0") + std::to_string(i);
    const int32_t want = TextService::CompareKeys(TextService::SortKey(previous, 3, true),
                                                  TextService::SortKey(caption, 3, true));
    ASSERT_EQ(helpers.CallbackCollate(0, previous, caption), want) << previous << " | " << caption;
    previous = caption;
  }
  EXPECT_EQ(helpers.CallbackCollate(0, longCaption + "A", longCaption + "a"), 0);
  EXPECT_EQ(helpers.CallbackCollate(0, longCaption, "y"), -1);
  EXPECT_EQ(helpers.CallbackCollate(0, "y", longCaption), 1);
}

TEST(SmartSort, AnyOtherCollationIndexComparesEverythingAsEqual) {
  CDbHelpers helpers;
  for (const int32_t index : {1, -1, 7}) {
    EXPECT_EQ(helpers.CallbackCollate(index, "a", "z"), 0);
    EXPECT_EQ(helpers.CallbackCollate(index, "view 10", "View 2"), 0);
  }
}

TEST(SmartSort, OrderingByCaptionWithTheCollationAgreesWithTheStoredSortKeys) {
  const std::vector<std::string> captions = {
      "view 10",           "View 2", "alpha", "Alpha 1", "beta 003", "Beta 3b",
      "\xC3\x89t\xC3\xA9", "zeta",   "etc",   "2 views"};
  auto connection = Connection::CreateMemory();
  connection->AddUserCollation(std::make_shared<CDbHelpers>());
  connection->Execute("CREATE TABLE views (caption TEXT, caption_sort TEXT)");
  auto insert = connection->CreateCommand("INSERT INTO views VALUES (?1, ?2)");
  for (const auto& caption : captions) {
    insert->SetText(1, caption);
    insert->SetText(2, TextService::SortKey(caption, 3, true));
    insert->Execute();
  }
  auto ReadKeys = [&](const std::string& order) {
    std::vector<std::string> keys;
    for (auto rows = connection->OpenRecordset("SELECT caption_sort FROM views ORDER BY " + order);
         !rows->Eof(); rows->MoveNext()) {
      keys.push_back(rows->Value(0).AsText());
    }
    return keys;
  };
  const std::vector<std::string> byCollation = ReadKeys("caption COLLATE SMARTSORT ASC");
  EXPECT_EQ(byCollation, ReadKeys("caption_sort"));
  EXPECT_EQ(byCollation, ReadKeys("caption COLLATE smartsort"));  // the name in any case
  EXPECT_TRUE(std::is_sorted(byCollation.begin(), byCollation.end()));
}

}  // namespace
}  // namespace prvdrinfo
