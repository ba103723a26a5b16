#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/services/text_service.h"
#include "prvdrinfo/views/provider_view.h"
#include "prvdrinfo/viewsdb/provider_views_db.h"
#include "prvdrinfo/viewsdb/views_database.h"
#include "support/old_views_db.h"
#include "viewsdb/views_database_test_support.h"

namespace prvdrinfo::views_db {
namespace {

using prvdrinfo::test::OldViewRow;
using test::Strings;

// Captions whose smart-sort keys tie, nearly tie, or sort apart from their bytes.
const std::vector<std::string>& HardCaptions() {
  static const std::vector<std::string> captions = {
      "View 10",
      "view 2",
      "View 02",
      "VIEW 2",
      "View 1.5",
      "View 1,5",
      "view1",
      "Éclair",
      "eclair",
      "ECLAIR",
      "E\xCC\x81"
      "clair",
      "Straße",
      "STRASSE",
      "strasse",
      "!bang",
      "  spaced  out",
      "a-b",
      "a_b",
      "a b",
      "007",
      "7",
      "\xD9\xA3",
      "3",
      "Zebra",
      "zebra!",
      "\xE4\xB8\xAD\xE6\x96\x87",
      std::string(700, 'x') + "1",
      std::string(700, 'x') + "01",
      std::string(600, 'X') + "2",
      "ß",
      "ss",
      "Ǆ",
      "ǆ",
      "",
      "New View",
  };
  return captions;
}

// What the provider's load returned, as GUIDs in order.
std::vector<std::string> Guids(const CProviderViews& views) {
  std::vector<std::string> guids;
  for (const auto& view : views) guids.push_back(view->Guid());
  return guids;
}

class ViewsDbReadOrder : public test::ViewsDbTest {
 protected:
  // The rows' GUIDs as sorting by the SmartSort collation orders them, the rows met in
  // the order they were stored.
  static std::vector<std::string> SmartSortOrder(const std::string& where) {
    const auto connection = OpenViewsDatabase();
    return Strings(*connection, "SELECT rec_guid FROM views NOT INDEXED WHERE " + where +
                                    " ORDER BY caption COLLATE SMARTSORT");
  }

  // Rows whose caption_sort is not the smart-sort key of their caption.
  static int KeysNotMade() {
    const auto connection = OpenViewsDatabase();
    int count = 0;
    for (auto rows = connection->OpenRecordset("SELECT caption, caption_sort FROM views");
         !rows->Eof(); rows->MoveNext()) {
      if (TextService::SmartSortKey(rows->Value(0).ToText()) != rows->Value(1).ToText()) ++count;
    }
    return count;
  }

  static void ExpectIndexedRead(const std::string& where) {
    const auto connection = OpenViewsDatabase();
    std::string plan;
    for (auto rows = connection->OpenRecordset("EXPLAIN QUERY PLAN SELECT * FROM views WHERE " +
                                               where + " ORDER BY caption_sort ASC");
         !rows->Eof(); rows->MoveNext()) {
      plan += rows->Value(3).ToText() + " | ";
    }
    EXPECT_EQ(plan.find("TEMP B-TREE"), std::string::npos) << plan;
    EXPECT_NE(plan.find("USING INDEX"), std::string::npos) << plan;
  }

  void ExpectSmartSortOrder() {
    CProviderViewsDb db;
    const std::string provider = "provider_guid='P1' COLLATE NOCASE";
    const auto all = SmartSortOrder(provider);
    ASSERT_GT(all.size(), HardCaptions().size() / 2);
    EXPECT_EQ(Guids(*db.GetViewsByProviderGuid("P1")), all);
    EXPECT_EQ(Guids(*db.GetPublicAndPrivateProviderViews("p1", "u1")),
              SmartSortOrder(provider + " AND private_to_guid='U1' COLLATE NOCASE"));
    ExpectIndexedRead(provider);
  }
};

// Rows of one provider (its GUID in either case), spread over three privacy owners and
// stored out of order, with another provider's rows between them.
std::vector<OldViewRow> MixedRows() {
  std::vector<OldViewRow> rows;
  const auto& captions = HardCaptions();
  int32_t n = 0;
  for (size_t round = 0; round < 3; ++round) {
    for (size_t i = 0; i < captions.size(); ++i) {
      const std::string& caption = captions[(i * 11 + round * 5) % captions.size()];
      const std::string guid = "G" + std::to_string(++n);
      const char* owner = round == 0 ? "" : (round == 1 ? "U1" : "u1");
      if (round == 2 && i % 3 != 0) continue;
      const Bytes bytes =
          prvdrinfo::test::StoredViewBytes(caption.empty() ? "Empty" : caption, false);
      rows.push_back({guid, n % 2 ? "P1" : "p1", owner, caption, bytes, 10 * n, 0, 0});
      rows.push_back({"O" + guid, "P2", owner, caption, bytes, 10 * n + 1, 0, 0});
    }
  }
  return rows;
}

// Files written before: their caption_sort holds the caption itself, not its key.
TEST_F(ViewsDbReadOrder, OlderFilesAreReadInSmartSortOrderOnceTheirKeysAreMadeAgain) {
  prvdrinfo::test::WriteOldViewsDb(ViewsDatabasePath(), {true, true, true, true, true},
                                   MixedRows());
  ExpectSmartSortOrder();
  EXPECT_EQ(KeysNotMade(), 0);

  // The file's mark says the keys were made: the next process's pass leaves them be, and
  // makes them again where the mark is gone.
  const auto connection = OpenViewsDatabase();
  connection->Execute("UPDATE views SET caption_sort='zz' WHERE rec_guid='G1'");
  internal::ResetProcessState();
  OpenViewsDatabase();
  EXPECT_EQ(KeysNotMade(), 1);
  connection->Execute("DELETE FROM properties WHERE key='SK7RQ2MXW0BHN4YTE9LDA3VCU'");
  internal::ResetProcessState();
  OpenViewsDatabase();
  EXPECT_EQ(KeysNotMade(), 0);
}

TEST_F(ViewsDbReadOrder, SavedViewsAreReadInSmartSortOrder) {
  CProviderViewsDb db;
  int32_t n = 0;
  for (const char* owner : {"", "U1"}) {
    for (size_t i = 0; i < HardCaptions().size(); ++i) {
      const std::string& caption = HardCaptions()[(i * 11) % HardCaptions().size()];
      if (caption.empty()) continue;
      for (const char* provider : {"P1", "P2"}) {
        auto view = CProviderViewFactory().CreateProviderView();
        view->SetGuid("G" + std::to_string(++n));
        view->SetCaption(caption);
        view->SetProviderGuid(provider);
        view->SetPrivateToGuid(owner);
        ASSERT_TRUE(db.SaveView4(view, true, viewtype_UserDefined));
      }
    }
  }
  ExpectSmartSortOrder();
}

}  // namespace
}  // namespace prvdrinfo::views_db
