#include <string>

#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/db/transaction.h"
#include "prvdrinfo/services/text_service.h"
#include "prvdrinfo/viewsdb/provider_views_db.h"
#include "prvdrinfo/viewsdb/views_database.h"
#include "viewsdb/provider_views_db_internal.h"
#include "viewsdb/views_db_schema.h"

namespace prvdrinfo {

using namespace views_db::ops;
namespace schema = views_db::schema;

namespace {
constexpr ErrorSite kDeleteView{"1W5R1RITJR5GHAJUVDJ60HDNY", "CProviderViewsDb.DeleteView"};
constexpr ErrorSite kDeleteStandard{"X1GFSVC4Z2OLHOE29P8GSZMXV",
                                    "CProviderViewsDb.DeleteAllStandardViews"};
constexpr ErrorSite kDeletePrivate{"SRXY12L2ZYICMSNPGEU6GNOE9",
                                   "CProviderViewsDb.DeletePrivateViewsByProviderGuid"};
constexpr ErrorSite kDeprivatize{"UNCAIHG97L41TOJP76M64I7T2",
                                 "CProviderViewsDb.DeprivatizeViewsByProviderGuid"};
constexpr ErrorSite kChangePrivate{"LG5S851G2EOP0BBS0XNM8HBPL",
                                   "CProviderViewsDb.ChangeAllViewsPrivateToGuid"};
constexpr ErrorSite kChangeGuid{"L8TV2EU0WL6T4MKJ9ES7TQZXK", "CProviderViewsDb.ChangeViewGuid"};
constexpr ErrorSite kCleanDeleted{"FNY9NTX0IWB85EEV0PWRC7W6N",
                                  "CProviderViewsDb.CleanDeletedViewsTable"};

// " WHERE" the provider's views private to that GUID.
std::string ProviderAndOwner(const std::string& providerGuid, const std::string& privateToGuid) {
  return " WHERE " + GuidMatch(schema::kProviderGuid, providerGuid) + " AND " +
         GuidMatch(schema::kPrivateToGuid, privateToGuid);
}
}  // namespace

void CProviderViewsDb::DeleteView(const std::string& p_ViewGuid) const {
  kDeleteView.Guard([&] {
    const auto connection = OpenOrRaise(kDeleteView, saveviewerr_NoDatabase);
    connection->Execute("DELETE FROM " + Sql().views + " WHERE " + Sql().guidCol + "=" +
                        Literal(p_ViewGuid, SqlService::kEscapeGuid));
  });
}

void CProviderViewsDb::DeleteAllStandardViews() const {
  kDeleteStandard.Guard([&] {
    const auto connection = views_db::OpenViewsDatabase();
    Transaction tx(*connection, SqlService::kDefaultWaitSeconds);
    std::string list;
    const auto rs = connection->OpenRecordset("SELECT * FROM " + Sql().views);
    for (; !rs->Eof(); rs->MoveNext()) {
      // Only what the stored view says counts: a row that cannot be read is no standard view.
      CProviderView stored;
      try {
        stored.DeserializeV(rs->Value(schema::kPropertyBagContent));
      } catch (const CError&) {
        continue;
      }
      if (!stored.StandardView()) continue;
      if (!list.empty()) list += ", ";
      list += Literal(TextField(*rs, Sql().guidField), SqlService::kEscapeGuid);
    }
    if (!list.empty()) {
      connection->Execute("DELETE FROM " + Sql().views + " WHERE " + Sql().guidCol +
                          " COLLATE NOCASE IN (" + list + ")");
    }
    tx.Commit();
  });
}

void CProviderViewsDb::DeletePrivateViewsByProviderGuid(const std::string& p_ProviderGuid,
                                                        const std::string& p_PrivateToGuid) const {
  kDeletePrivate.Guard([&] {
    if (TextService::IsEmpty(p_PrivateToGuid)) return;
    const auto connection = views_db::OpenViewsDatabase();
    connection->Execute("DELETE FROM " + Sql().views +
                        ProviderAndOwner(p_ProviderGuid, p_PrivateToGuid));
  });
}

void CProviderViewsDb::DeprivatizeViewsByProviderGuid(const std::string& p_ProviderGuid,
                                                      const std::string& p_PrivateToGuid) const {
  kDeprivatize.Guard([&] {
    if (TextService::IsEmpty(p_PrivateToGuid)) return;
    const auto connection = views_db::OpenViewsDatabase();
    connection->Execute(
        SqlService::UpdateStatement(schema::kViews, {schema::kPrivateToGuid}, {Variant("")}) +
        ProviderAndOwner(p_ProviderGuid, p_PrivateToGuid));
  });
}

void CProviderViewsDb::ChangeAllViewsPrivateToGuid(const std::string& p_OldGuid,
                                                   const std::string& p_NewGuid) const {
  kChangePrivate.Guard([&] {
    const auto connection = views_db::OpenViewsDatabase();
    std::string sql = SqlService::UpdateStatement(schema::kViews, {schema::kPrivateToGuid},
                                                  {Variant(StoredGuid(p_NewGuid))}) +
                      " WHERE " + GuidMatch(schema::kPrivateToGuid, p_OldGuid);
    // Rows that would then break the unique caption index keep their owner.
    sql.replace(sql.find("UPDATE "), 7, "UPDATE OR IGNORE ");
    connection->Execute(sql);
  });
}

void CProviderViewsDb::ChangeViewGuid(const std::string& p_OldViewGuid,
                                      const std::string& p_NewViewGuid) const {
  kChangeGuid.Guard([&] {
    if (TextService::IsEmpty(p_NewViewGuid)) {
      kChangeGuid.Raise(err::kInvalidProcedureCall, "New GUID required for ChangeViewGUID");
    }
    if (TextService::IsEmpty(p_OldViewGuid)) {
      kChangeGuid.Raise(err::kInvalidProcedureCall, "Old GUID required for ChangeViewGUID");
    }
    // The DELETE below would remove the very row the UPDATE kept.
    if (p_OldViewGuid == p_NewViewGuid) return;
    const Names& n = Sql();
    const std::string oldGuid = Literal(p_OldViewGuid, SqlService::kEscapeGuid);
    const auto connection = views_db::OpenViewsDatabase();
    Transaction tx(*connection, SqlService::kDefaultWaitSeconds);
    // A new counter and a logged deletion of the old GUID, so that every other process's
    // refresh takes the view under its new GUID and drops it under the old one.
    const int32_t counter = NextUpdateCounter(*connection);
    connection->Execute("UPDATE " + n.views + " SET " + n.guidCol + "=" +
                        Literal(p_NewViewGuid, SqlService::kEscapeGuid) + ", " + n.updCol + "=" +
                        std::to_string(counter) + " WHERE " + n.guidCol + "=" + oldGuid +
                        " COLLATE NOCASE");
    const bool renamed = connection->Changes() > 0;
    connection->Execute("DELETE FROM " + n.views + " WHERE " + n.guidCol + "=" + oldGuid);
    if (renamed &&
        TextService::ComparisonForm(p_OldViewGuid) != TextService::ComparisonForm(p_NewViewGuid)) {
      connection->Execute("INSERT OR REPLACE INTO " + n.deletionLog + " (" + n.delGuid + ", " +
                          n.delTable + ") VALUES (" + oldGuid + ", " +
                          Literal(schema::kViews, SqlService::kEscapePlain) + ")");
    }
    tx.Commit();
  });
}

void CProviderViewsDb::CleanDeletedViewsTable() const {
  kCleanDeleted.Guard([&] {
    const auto connection = views_db::OpenViewsDatabase();
    connection->Execute("DELETE FROM " + Sql().deletionLog + " WHERE " + Sql().deletedViews);
  });
}

}  // namespace prvdrinfo
