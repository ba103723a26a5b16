#include "prvdrinfo/viewsdb/provider_views_db.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "prvdrinfo/db/db_factory.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/db/transaction.h"
#include "prvdrinfo/services/text_service.h"
#include "prvdrinfo/services/vesk.h"
#include "prvdrinfo/viewsdb/views_database.h"
#include "viewsdb/provider_views_db_internal.h"
#include "viewsdb/views_db_schema.h"

namespace prvdrinfo {

namespace views_db::ops {

namespace {
constexpr ErrorSite kNextCounter{"CLTFLVRC2N0AXWY8Q4ID3EW3S", "CProviderViewsDb.NextUpdateCounter"};
}  // namespace

const Names& Sql() {
  static const Names names = [] {
    Names n;
    n.views = Quoted(schema::kViews);
    n.guidCol = CVesk::ColumnName(veskcol_RecordGuid, veskform_Sql);
    n.updCol = CVesk::ColumnName(veskcol_Updates, veskform_Sql);
    n.guidField = CVesk::ColumnName(veskcol_RecordGuid, veskform_Plain);
    n.updField = CVesk::ColumnName(veskcol_Updates, veskform_Plain);
    n.deletionLog = Quoted(CDbFactory::kDeletionLogTable);  // shared with the provider tables
    n.delGuid = CVesk::ColumnName(veskcol_DeletedGuid, veskform_Sql);
    n.delTable = CVesk::ColumnName(veskcol_DeletedTable, veskform_Sql);
    n.delCounter = CVesk::ColumnName(veskcol_DeletedUpdates, veskform_Sql);
    n.deletedViews = n.delTable + "=" + Literal(schema::kViews, SqlService::kEscapePlain);
    return n;
  }();
  return names;
}

std::string Quoted(std::string_view identifier) { return SqlService::QuoteIdentifier(identifier); }

std::string Literal(std::string_view text, int32_t flag) {
  return "'" + SqlService::EscapeLiteral(text, flag) + "'";
}

std::string StoredGuid(std::string_view text) {
  return TextService::IsGuid(text) ? TextService::CleanGuid(text) : std::string(text);
}

std::string GuidMatch(std::string_view column, std::string_view guid) {
  return Quoted(column) + "=" + Literal(StoredGuid(guid), SqlService::kEscapeGuid) +
         " COLLATE NOCASE";
}

std::shared_ptr<Connection> OpenOrRaise(const ErrorSite& site, int32_t number) {
  try {
    return OpenViewsDatabase();
  } catch (const CError& e) {
    site.Raise(number, "Could not get views database. " + e.Description());
  }
}

std::string TextOf(const Variant& value) {
  return value.IsNull() || value.IsEmpty() ? std::string() : value.ToText();
}

std::string TextField(const Recordset& row, std::string_view name) {
  return TextOf(row.Value(name));
}

std::string TextField(const RowView& row, std::string_view name) {
  return TextOf(row.Value(name));
}

int32_t CounterOf(const Variant& value) {
  return value.IsNull() || value.IsEmpty() ? 0 : value.ToLong();
}

std::string DeleteCounterSql() {
  return "SELECT MAX(" + Sql().delCounter + ") FROM " + Sql().deletionLog + " WHERE " +
         Sql().deletedViews;
}

int32_t FirstCounter(Connection& connection, const std::string& sql) {
  const auto rs = connection.OpenRecordset(sql);
  return rs->Eof() ? 0 : CounterOf(rs->Value(0));
}

int32_t NextUpdateCounter(Connection& connection) {
  const std::string largest = "SELECT MAX(" + Sql().updCol + ") FROM " + Sql().views;
  int32_t highest = 0;
  try {
    // Above a deleted row's counter too: a refresh elsewhere that read it would take a
    // counter handed out again for an older one.
    highest = FirstCounter(connection, "SELECT MAX(IFNULL((" + largest +
                                           "), 0), IFNULL((SELECT CAST(" + Quoted(schema::kValue) +
                                           " AS INTEGER) FROM " + Quoted(schema::kProperties) +
                                           " WHERE " + Quoted(schema::kKey) + "='" +
                                           schema::kCounterMarkKey + "'), 0))");
  } catch (const CError&) {
    // A file whose repair another process has not finished keeps no mark yet.
    if (SqlService::TableExists(connection, schema::kProperties)) throw;
    highest = FirstCounter(connection, largest);
  }
  if (highest > std::numeric_limits<int32_t>::max() - 10) kNextCounter.Raise(err::kOverflow);
  return highest + 10;
}

namespace {

void LoadStored(CProviderView& view, const Recordset& row) {
  view.DeserializeV(row.Value(schema::kPropertyBagContent));
}

// Read where SQLite holds the bytes; any other value fails as it fails from a recordset.
void LoadStored(CProviderView& view, const RowView& row) {
  const int32_t index = row.FieldIndex(schema::kPropertyBagContent);
  std::span<const uint8_t> bytes;
  if (index >= 0 && row.Blob(index, bytes)) {
    view.Deserialize(bytes);
  } else {
    view.DeserializeV(row.Value(schema::kPropertyBagContent));
  }
}

template <class Row>
std::shared_ptr<CProviderView> ViewOf(const Row& row, const std::string* providerGuid,
                                      bool* readable) {
  auto view = std::make_shared<CProviderView>();
  bool read = true;
  std::string failure;
  try {
    LoadStored(*view, row);
  } catch (const CError& e) {
    read = false;
    failure = e.Description();
  }
  view->SetPrivateToGuid(TextField(row, schema::kPrivateToGuid));
  view->SetGuid(TextField(row, Sql().guidField));
  if (!read) Log("Could not deserialize view GUID: " + view->Guid() + ". Error: " + failure);
  if (readable) *readable = read;
  view->SetUpdateCounter(CounterOf(row.Value(Sql().updField)));
  view->SetProviderGuid(providerGuid ? *providerGuid : TextField(row, schema::kProviderGuid));
  return view;
}

}  // namespace

std::shared_ptr<CProviderView> ViewFromRow(const Recordset& row, const std::string* providerGuid,
                                           bool* readable) {
  return ViewOf(row, providerGuid, readable);
}

std::shared_ptr<CProviderView> ViewFromRow(const RowView& row, const std::string* providerGuid,
                                           bool* readable) {
  return ViewOf(row, providerGuid, readable);
}

void Log(const std::string& message) { CVesk::Log(kLogSource, message); }

}  // namespace views_db::ops

using namespace views_db::ops;

namespace {
constexpr ErrorSite kViewByGuid{"HT02R0A6BALH5L1PVTOYZPPCE", "CProviderViewsDb.GetViewByGuid"};
constexpr ErrorSite kViewsByProvider{"6IFM1UF53XB7G445GUOLCVILP",
                                     "CProviderViewsDb.GetViewsByProviderGuid"};
constexpr ErrorSite kPublicAndPrivate{"SOT2V07GUYPJ42FCLI4KQFF5X",
                                      "CProviderViewsDb.GetPublicAndPrivateProviderViews"};
constexpr ErrorSite kFilters{"V1Y43B9GWYEBZ5W3BLTCSQCGS",
                             "CProviderViewsDb.GetFiltersByProviderGuid"};
constexpr ErrorSite kNotificationViews{"KIALOP7ZTXIWZH5VTASUU85MV",
                                       "CProviderViewsDb.GetNotificationViews"};
constexpr ErrorSite kProviderCounter{"L8C0MRJN7J890LLQ3XJEMGVG0",
                                     "CProviderViewsDb.GetProviderViewUpdateCounter"};
constexpr ErrorSite kViewCounter{"D78NAJF96N6AELD7CZDQ8E99W",
                                 "CProviderViewsDb.GetViewUpdateCounter"};
constexpr ErrorSite kDeleteCounter{"1CKK7RN9NGTIBT0BFWH38V0LM",
                                   "CProviderViewsDb.GetDeleteCounter"};
constexpr ErrorSite kSinceCounters{"GIJFGAGYHKBFXFGX5BP0NSA0J",
                                   "CProviderViewsDb.ViewsByProviderGuidSinceCounters"};
constexpr ErrorSite kByComputer{"HH5132YY6BN3JD429Q2UWGTYF",
                                "CProviderViewsDb.GetViewsByProviderAndComputerSinceCounters"};

// " AND the GUID is not in views": a deleted GUID that was stored again is no deletion.
std::string NotStoredAgain() {
  const Names& n = Sql();
  return " AND (SELECT COUNT(*) FROM " + n.views + " WHERE " + n.views + "." + n.guidCol + "=" +
         n.deletionLog + "." + n.delGuid + ")=0";
}

// Every row's view, in row order, with the provider GUID given. A row whose bytes cannot
// be read is still listed, as a fresh view under the row's GUID; a GUID already listed
// (stored twice in different letter case) is left out.
std::shared_ptr<CProviderViews> ViewsOfRows(Connection& connection, const std::string& sql,
                                            const std::string& providerGuid) {
  auto views = std::make_shared<CProviderViews>();
  views->SetDeleteCounter(FirstCounter(connection, DeleteCounterSql()));
  // Each row's view is built as the row is stepped: the rows are never all held at once.
  connection.ForEachRow(sql, [&](const RowView& row) {
    auto view = ViewFromRow(row, &providerGuid);
    if (views->Exists(view->Guid())) {
      Log("View GUID stored twice: " + view->Guid());
      return;
    }
    views->AddExisting(view);
  });
  return views;
}

// SmartSort order: each caption_sort holds its caption's smart-sort key (the repair pass
// sees to it), so the provider's index reads rows in that order, equal keys by row.
// The order rows were stored in, which callers have always met; the provider's index
// alone would hand them out by caption.
std::string InRowOrder() { return " ORDER BY rowid ASC"; }

std::string ByCaption() { return " ORDER BY " + Quoted(views_db::schema::kCaptionSort) + " ASC"; }
}  // namespace

int32_t CProviderViewsDb::GetDeleteCounter() const {
  return kDeleteCounter.Guard([&] {
    const auto connection = views_db::OpenViewsDatabase();
    return FirstCounter(*connection, DeleteCounterSql());
  });
}

int32_t CProviderViewsDb::GetProviderViewUpdateCounter(const std::string& p_ProviderGuid) const {
  return kProviderCounter.Guard([&] {
    const auto connection = views_db::OpenViewsDatabase();
    return FirstCounter(*connection,
                        "SELECT SUM(" + Sql().updCol + ") FROM " + Sql().views + " WHERE " +
                            GuidMatch(views_db::schema::kProviderGuid, p_ProviderGuid));
  });
}

int32_t CProviderViewsDb::GetViewUpdateCounter(const std::string& p_ViewGuid) const {
  return kViewCounter.Guard([&] {
    const auto connection = views_db::OpenViewsDatabase();
    return FirstCounter(
        *connection, "SELECT " + Sql().updCol + " FROM " + Sql().views + " WHERE " + Sql().guidCol +
                         "=" + Literal(p_ViewGuid, SqlService::kEscapeGuid) + " COLLATE NOCASE");
  });
}

std::shared_ptr<CProviderView> CProviderViewsDb::GetViewByGuid(
    const std::string& p_ViewGuid) const {
  return kViewByGuid.Guard([&]() -> std::shared_ptr<CProviderView> {
    const auto connection = OpenOrRaise(kViewByGuid, _saveviewerr_Base);
    const auto rs = connection->OpenRecordset(
        "SELECT * FROM " + Sql().views + " WHERE " + Sql().guidCol + "=" +
        Literal(p_ViewGuid, SqlService::kEscapeGuid) + " COLLATE NOCASE LIMIT 1");
    return rs->Eof() ? nullptr : ViewFromRow(*rs, nullptr);
  });
}

std::shared_ptr<CProviderViews> CProviderViewsDb::GetViewsByProviderGuid(
    const std::string& p_ProviderGuid) const {
  return kViewsByProvider.Guard([&] {
    const auto connection = OpenOrRaise(kViewsByProvider, _saveviewerr_Base);
    return ViewsOfRows(*connection,
                       "SELECT * FROM " + Sql().views + " WHERE " +
                           GuidMatch(views_db::schema::kProviderGuid, p_ProviderGuid) + ByCaption(),
                       p_ProviderGuid);
  });
}

std::shared_ptr<CProviderViews> CProviderViewsDb::GetPublicAndPrivateProviderViews(
    const std::string& p_ProviderGuid, const std::string& p_PrivateToGuid) const {
  return kPublicAndPrivate.Guard([&] {
    const auto connection = OpenOrRaise(kPublicAndPrivate, _saveviewerr_Base);
    return ViewsOfRows(*connection,
                       "SELECT * FROM " + Sql().views + " WHERE " +
                           GuidMatch(views_db::schema::kProviderGuid, p_ProviderGuid) + " AND " +
                           GuidMatch(views_db::schema::kPrivateToGuid, p_PrivateToGuid) +
                           ByCaption(),
                       p_ProviderGuid);
  });
}

std::shared_ptr<CProviderViewFilters> CProviderViewsDb::GetFiltersByProviderGuid(
    const std::string& p_ProviderGuid) const {
  return kFilters.Guard([&] {
    const auto connection = OpenOrRaise(kFilters, _saveviewerr_Base);
    const auto rs = connection->OpenRecordset(
        "SELECT * FROM " + Quoted(views_db::schema::kFilters) + " WHERE " +
        GuidMatch(views_db::schema::kProviderGuid, p_ProviderGuid));
    auto filters = std::make_shared<CProviderViewFilters>();
    for (; !rs->Eof(); rs->MoveNext()) {
      const std::string rowGuid = TextField(*rs, Sql().guidField);
      try {
        const Variant bytes = rs->Value(views_db::schema::kPropertyBagContent);
        CProviderViewFilter stored;
        stored.DeserializeV(bytes);
        // Added under its cleaned caption, then given everything it stored.
        const auto filter = filters->Add(stored.Caption());
        const std::string caption = filter->Caption();
        filter->DeserializeV(bytes);
        filter->SetCaption(caption);
        if (TextService::IsEmpty(filter->Guid())) filter->SetGuid(rowGuid);
      } catch (const CError& e) {
        Log("Could not read filter GUID: " + rowGuid + ". Error: " + e.Description());
      }
    }
    return filters;
  });
}

void CProviderViewsDb::ViewsByProviderGuidSinceCounters(
    const std::string& p_ProviderGuid, int32_t p_UpdateCounter, int32_t& p_DeleteCounter,
    std::shared_ptr<KeyedCollection>& po_UpdatedViews,
    std::shared_ptr<KeyedCollection>& po_DeletedViewGuids) const {
  kSinceCounters.Guard([&] {
    const Names& n = Sql();
    const auto connection = views_db::OpenViewsDatabase();
    std::vector<std::shared_ptr<CProviderView>> updated;
    std::vector<std::string> deleted;
    int32_t deleteCounter = p_DeleteCounter;

    Transaction tx(*connection, SqlService::kDefaultWaitSeconds);
    const auto rs = connection->OpenRecordset(
        "SELECT * FROM " + n.views + " WHERE " + n.updCol + ">" + std::to_string(p_UpdateCounter) +
        " AND " + GuidMatch(views_db::schema::kProviderGuid, p_ProviderGuid) + InRowOrder());
    for (; !rs->Eof(); rs->MoveNext()) {
      auto view = ViewFromRow(*rs, &p_ProviderGuid);
      if (view->AllColumnsView()) {
        connection->Execute("DELETE FROM " + n.views + " WHERE " + n.guidCol + "=" +
                            Literal(view->Guid(), SqlService::kEscapeGuid));
      } else {
        updated.push_back(std::move(view));
      }
    }
    const auto gone = connection->OpenRecordset(
        "SELECT " + n.delGuid + ", " + n.delCounter + " FROM " + n.deletionLog + " WHERE " +
        n.delCounter + ">" + std::to_string(p_DeleteCounter) + " AND " + n.deletedViews +
        NotStoredAgain());
    for (; !gone->Eof(); gone->MoveNext()) {
      deleted.push_back(TextOf(gone->Value(0)));
      deleteCounter = std::max(deleteCounter, CounterOf(gone->Value(1)));
    }
    tx.Commit();

    // The caller's collections take the lists only once the transaction has committed.
    if (!po_UpdatedViews) po_UpdatedViews = std::make_shared<KeyedCollection>();
    if (!po_DeletedViewGuids) po_DeletedViewGuids = std::make_shared<KeyedCollection>();
    for (const auto& view : updated) {
      const std::string guid = view->Guid();
      if (!po_UpdatedViews->Exists(guid)) po_UpdatedViews->Add(Variant(view), guid);
    }
    for (const auto& guid : deleted) {
      if (!po_DeletedViewGuids->Exists(guid)) po_DeletedViewGuids->Add(Variant(guid), guid);
    }
    p_DeleteCounter = deleteCounter;
  });
}

std::shared_ptr<KeyedCollection> CProviderViewsDb::GetViewsByProviderAndComputerSinceCounters(
    const std::string& p_ProviderGuid, const std::string& p_IncludePrivateViewsGuid,
    int32_t p_SinceUpdateCounter, int32_t p_SinceDeleteCounter) const {
  return kByComputer.Guard([&] {
    const Names& n = Sql();
    const std::string privateTo = Quoted(views_db::schema::kPrivateToGuid);
    const auto connection = views_db::OpenViewsDatabase();
    auto changes = std::make_shared<KeyedCollection>();
    const auto rs = connection->OpenRecordset(
        "SELECT " + n.guidCol + ", " + n.updCol + ",  " +
        Quoted(views_db::schema::kPropertyBagContent) + ", IFNULL(" + privateTo + ", '') AS " +
        privateTo + " FROM " + n.views + " WHERE " +
        GuidMatch(views_db::schema::kProviderGuid, p_ProviderGuid) + " AND " + n.updCol + ">" +
        std::to_string(p_SinceUpdateCounter) + " AND (" +
        GuidMatch(views_db::schema::kPrivateToGuid, p_IncludePrivateViewsGuid) +
        "      OR IFNULL(" + privateTo + ", '')='')" + InRowOrder());
    for (; !rs->Eof(); rs->MoveNext()) {
      const auto view = ViewFromRow(*rs, &p_ProviderGuid);
      const std::string guid = TextField(*rs, n.guidField);
      if (view->UpdateCounter() > p_SinceUpdateCounter && !guid.empty() && !changes->Exists(guid)) {
        changes->Add(Variant(view), guid);
      }
    }
    const auto gone =
        connection->OpenRecordset("SELECT " + n.delGuid + " FROM " + n.deletionLog + " WHERE " +
                                  n.delCounter + ">=" + std::to_string(p_SinceDeleteCounter) +
                                  " AND " + n.deletedViews + " COLLATE NOCASE" + NotStoredAgain());
    for (; !gone->Eof(); gone->MoveNext()) {
      const std::string guid = TextOf(gone->Value(0));
      if (guid.empty()) continue;
      if (changes->Exists(guid)) changes->Remove(guid);
      changes->Add(Variant(std::shared_ptr<IObject>()), guid);
    }
    return changes;
  });
}

std::shared_ptr<CProviderViews> CProviderViewsDb::GetNotificationViews() const {
  return kNotificationViews.Guard([&] {
    const auto connection = views_db::OpenViewsDatabase();
    const auto rs = connection->OpenRecordset(
        "SELECT * FROM " + Sql().views + " WHERE " + Quoted(views_db::schema::kNotificationView) +
        " ORDER BY " + Quoted(views_db::schema::kProviderGuid) + " COLLATE NOCASE ASC, rowid ASC");
    Log("Notification view count is " + std::to_string(rs->RecordCount()) + ".");
    auto views = std::make_shared<CProviderViews>();
    for (; !rs->Eof(); rs->MoveNext()) {
      Log("Deserializing view GUID: " + TextField(*rs, Sql().guidField));
      bool readable = false;
      const auto view = ViewFromRow(*rs, nullptr, &readable);
      // Nothing to deliver from a view that cannot be read, and saving it again would
      // overwrite its bytes with a blank view's: the row stays as it is.
      if (!readable) continue;
      const Variant standard = rs->Value(views_db::schema::kStandardView);
      view->SetStandardView(!standard.IsNull() && standard.ToLong() != 0);
      if (TextService::IsEmpty(view->PrivateToGuid()) && !view->StandardView()) {
        if (!views->Exists(view->Guid())) views->AddExisting(view);
      } else {
        view->Notifiers()->RemoveAll();
        try {
          SaveView3(view, true, view->StandardView());
        } catch (const CError& e) {
          Log("Could not save view GUID: " + view->Guid() + ". Error: " + e.Description());
        }
      }
    }
    Log("Notification views collection count: " + std::to_string(views->Count()));
    return views;
  });
}

}  // namespace prvdrinfo
