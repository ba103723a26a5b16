#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "prvdrinfo/db/command.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/db/transaction.h"
#include "prvdrinfo/services/guid_service.h"
#include "prvdrinfo/services/text_service.h"
#include "prvdrinfo/viewsdb/provider_views_db.h"
#include "prvdrinfo/viewsdb/views_database.h"
#include "viewsdb/provider_views_db_internal.h"
#include "viewsdb/views_db_schema.h"

namespace prvdrinfo {

namespace views_db::ops {
namespace {
std::function<void()>& BeforeSaveLock() {
  static std::function<void()> action;
  return action;
}
}  // namespace

void SetBeforeSaveLock(std::function<void()> action) { BeforeSaveLock() = std::move(action); }
}  // namespace views_db::ops

using namespace views_db::ops;
namespace schema = views_db::schema;

namespace {
constexpr ErrorSite kSaveView4{"WG9GC0P8ILA3H8X81Z7BPHZZK", "CProviderViewsDb.SaveView4"};
constexpr ErrorSite kSaveView{"CEIE4LFB2W53JUE9JAO0YR498", "CProviderViewsDb.SaveView"};
constexpr ErrorSite kSaveViewX{"A6FOHENAV901NOQ7N47BCUCLV", "CProviderViewsDb.SaveViewX"};
constexpr ErrorSite kWrite{"XJ4WB4P6C448FSGXH2YHLFX43", "CProviderViewsDb.SaveView4"};

constexpr int32_t kObjectNotSet = 91;
constexpr const char* kDuplicateGuid =
    "View already exists, must explicitly declare that you want it to be replaced.";
constexpr const char* kCaptionInUse =
    "View caption in use, you must choose a different caption for this view.";

const char* TrueFalse(bool value) { return value ? "True" : "False"; }

// The refusal of a save that failed once its transaction began: rolled back (the
// transaction's scope ends first), numbered as an unknown save error, SQLite's last word
// in the context. Refusals the save raises itself pass on as they are.
[[noreturn]] void RaiseSaveFailure(const ErrorSite& site, const CError& failure,
                                   const std::string& databaseResult) {
  if (failure.Number() == saveviewerr_DuplicateCaption) throw failure;
  CError error(saveviewerr_Unknown, site.Source(),
               "An unknown error occurred when trying to save the view: \r\n" +
                   std::to_string(failure.Number()) + " " + failure.Description());
  error.AddLocation(site.Id());
  error.AddContext("Database result: " + databaseResult);
  if (!failure.Context().empty()) error.AddContext(failure.Context());
  throw error;
}

// Runs a save in one transaction (wait bound 60) and commits: first its decisions on what
// is stored, which see every row committed before the write lock, then its writes. A
// refusal or failure while deciding rolls back and passes on as it is; a failure of the
// writes rolls back and leaves as RaiseSaveFailure says.
template <class Decide, class Write>
void InSaveTransaction(const ErrorSite& site, Connection& connection, bool logBegin,
                       Decide&& decide, Write&& write) {
  std::string databaseResult;
  if (BeforeSaveLock()) {
    const std::function<void()> action = BeforeSaveLock();  // a copy: the action may remove itself
    action();
  }
  bool deciding = false;
  try {
    Transaction tx(connection, SqlService::kDefaultWaitSeconds);
    deciding = true;
    decide();
    deciding = false;
    if (logBegin)
      Log(std::string("Began transaction in SaveView3: ") + TrueFalse(tx.OwnsTransaction()));
    try {
      write();
      tx.Commit();
    } catch (const CError&) {
      databaseResult = connection.LastMessage();  // before the rollback replaces it
      throw;
    }
  } catch (const CError& e) {
    if (deciding) throw;
    RaiseSaveFailure(site, e, databaseResult.empty() ? connection.LastMessage() : databaseResult);
  }
}

// Whether the stored row holds a standard view (its bytes say so, not its column).
bool StoredIsStandard(const Recordset& row) {
  try {
    CProviderView stored;
    stored.DeserializeV(row.Value(schema::kPropertyBagContent));
    return stored.StandardView();
  } catch (const CError&) {
    return false;
  }
}

// The GUID of another row that holds this provider, privacy and caption exactly as the
// unique index compares them; "" when there is none. Writing over it would delete it.
std::string CaptionHolder(Connection& connection, const std::string& providerGuid,
                          const std::string& privateToGuid, const std::string& caption,
                          const std::string& guid) {
  const Names& n = Sql();
  const auto rs = connection.OpenRecordset(
      "SELECT " + n.guidCol + " FROM " + n.views + " WHERE " + Quoted(schema::kProviderGuid) + "=" +
      Literal(providerGuid, SqlService::kEscapeGuid) + " AND " + Quoted(schema::kPrivateToGuid) +
      "=" + Literal(privateToGuid, SqlService::kEscapeGuid) + " AND " + Quoted(schema::kCaption) +
      "=" + Literal(caption, SqlService::kEscapeCaption) + " AND " + n.guidCol + "<>" +
      Literal(guid, SqlService::kEscapeGuid) + " COLLATE NOCASE LIMIT 1");
  return rs->Eof() ? std::string() : TextOf(rs->Value(0));
}

void RefuseCaptionHeldByAnother(const ErrorSite& site, Connection& connection,
                                const std::string& providerGuid, const std::string& privateToGuid,
                                const std::string& caption, const std::string& guid) {
  if (!CaptionHolder(connection, providerGuid, privateToGuid, caption, guid).empty()) {
    site.Raise(saveviewerr_DuplicateCaption, kCaptionInUse);
  }
}

// Applies the view type (SaveView4 step by step): a standard view saved as the user's
// own, and a notification view saved as user-defined, become copies under new GUIDs.
void ApplyViewType(CProviderView& view, e_ViewType type) {
  switch (type) {
    case viewtype_CorvaneStandard:
      view.SetPrivateToGuid("");
      view.SetStandardView(true);
      break;
    case viewtype_Notification: view.SetStandardView(false); break;
    case viewtype_UserDefined:
      if (view.StandardView() && TextService::IsEmpty(view.PrivateToGuid()))
        view.SetGuid(GuidService::NewGuid());
      if (view.NotificationView()) {
        view.SetPrivateToGuid("");
        view.SetGuid(GuidService::NewGuid());
        view.Notifiers()->RemoveAll();
      }
      view.SetStandardView(false);
      break;
    default:
      kSaveView4.Raise(err::kInvalidProcedureCall,
                       "Unknown view type: " + std::to_string(static_cast<int32_t>(type)));
  }
}
}  // namespace

bool CProviderViewsDb::SaveView4(const std::shared_ptr<CProviderView>& po_View,
                                 bool p_OverwriteExisting, e_ViewType p_ViewType) const {
  return kSaveView4.Guard([&] {
    if (!po_View) kSaveView4.Raise(kObjectNotSet);
    CProviderView& view = *po_View;
    if (view.Temporary() || view.AllColumnsView()) return true;
    ApplyViewType(view, p_ViewType);
    if (TextService::IsEmpty(view.Guid()))
      kSaveView4.Raise(err::kInvalidProcedureCall, "View must have a GUID.");
    if (TextService::IsEmpty(view.ProviderGuid())) {
      kSaveView4.Raise(err::kInvalidProcedureCall, "View must have an associated provider GUID.");
    }
    const Names& n = Sql();
    const auto connection = views_db::OpenViewsDatabase();

    const std::string caption = TextService::CleanCaption(view.Caption());
    const auto write = connection->CreateCommand(SqlService::InsertStatement(
        schema::kViews, {n.guidField, n.updField, schema::kProviderGuid, schema::kPrivateToGuid,
                         schema::kCaption, schema::kCaptionSort, schema::kPropertyBagContent,
                         schema::kStandardView, schema::kNotificationView}));
    const std::string providerGuid = StoredGuid(view.ProviderGuid());
    const std::string privateToGuid = StoredGuid(view.PrivateToGuid());
    std::string guid;
    // Under the write lock, so that no other process stores the GUID or caption between
    // these look-ups and the write.
    const auto decide = [&] {
      const auto stored = connection->OpenRecordset(
          "SELECT * FROM " + n.views + " WHERE " + n.guidCol + "=" +
          Literal(view.Guid(), SqlService::kEscapeGuid) + " COLLATE NOCASE");
      if (!stored->Eof()) {
        bool copied = false;
        if (stored->Int64(0) > 0 && !view.StandardView() && StoredIsStandard(*stored)) {
          // The standard view stays as it is; the user's view becomes a new one.
          view.SetGuid(GuidService::NewGuid());
          copied = true;
        }
        if (!copied) {
          if (!p_OverwriteExisting) kSaveView4.Raise(saveviewerr_DuplicateGuid, kDuplicateGuid);
          // Overwrite the row as it spells the GUID, so that no second row differs from it
          // in letter case only.
          view.SetGuid(TextField(*stored, n.guidField));
        }
      }
      const auto sameCaption = connection->OpenRecordset(
          "SELECT " + n.guidCol + " FROM " + n.views + " WHERE " +
          GuidMatch(schema::kProviderGuid, view.ProviderGuid()) + " AND " +
          GuidMatch(schema::kPrivateToGuid, view.PrivateToGuid()) + " AND " +
          Quoted(schema::kCaption) + "=" + Literal(caption, SqlService::kEscapeCaption) +
          " COLLATE NOCASE AND " + Quoted(schema::kStandardView) + "=" +
          (view.StandardView() ? "1" : "0"));
      if (!sameCaption->Eof()) {
        if (!p_OverwriteExisting) {
          kSaveView4.Raise(
              saveviewerr_DuplicateCaption,
              "View caption already exists. Rename it or re-call this function with the overwrite flag "
              "set.");
        }
        view.SetGuid(TextOf(sameCaption->Value(0)));
      }
      guid = view.Guid();
    };
    InSaveTransaction(kWrite, *connection, true, decide, [&] {
      RefuseCaptionHeldByAnother(kWrite, *connection, providerGuid, privateToGuid, caption, guid);
      const int32_t counter = NextUpdateCounter(*connection);
      Log("Saving view GUID: " + guid + ", Version: " + std::to_string(view.Version()));
      write->SetText(write->ParameterIndex(n.guidField), guid);
      write->SetLong(write->ParameterIndex(n.updField), counter);
      write->SetText(write->ParameterIndex(schema::kProviderGuid), providerGuid);
      write->SetText(write->ParameterIndex(schema::kPrivateToGuid), privateToGuid);
      write->SetBoolean(write->ParameterIndex(schema::kStandardView), view.StandardView());
      write->SetText(write->ParameterIndex(schema::kCaption), caption);
      write->SetText(write->ParameterIndex(schema::kCaptionSort),
                     TextService::SmartSortKey(caption));
      write->SetBytes(write->ParameterIndex(schema::kPropertyBagContent), view.Serialize());
      write->SetBoolean(write->ParameterIndex(schema::kNotificationView), view.NotificationView());
      write->Execute();
    });
    Log("Saved view GUID " + guid + ", Version: " + std::to_string(view.Version()));
    return true;
  });
}

bool CProviderViewsDb::SaveView3(const std::shared_ptr<CProviderView>& po_View,
                                 bool p_OverwriteExisting, bool p_SaveAsStandardView) const {
  return SaveView4(po_View, p_OverwriteExisting,
                   p_SaveAsStandardView ? viewtype_CorvaneStandard : viewtype_UserDefined);
}

bool CProviderViewsDb::SaveView2(const std::shared_ptr<CProviderView>& po_View,
                                 bool p_OverwriteExisting) const {
  return SaveView4(po_View, p_OverwriteExisting, viewtype_UserDefined);
}

bool CProviderViewsDb::SaveViewX(const std::string&, const std::string&,
                                 const std::shared_ptr<CProviderView>&, bool) const {
  kSaveViewX.Raise(err::kInvalidProcedureCall, "Deprecated, use SaveView");
}

std::string CProviderViewsDb::SaveViewAs(const std::shared_ptr<CProviderView>&) const { return {}; }

bool CProviderViewsDb::SaveView(const std::string& p_ProviderGuid,
                                const std::shared_ptr<CProviderView>& po_View,
                                bool p_OverwriteExisting) const {
  return kSaveView.Guard([&] {
    if (!po_View) kSaveView.Raise(kObjectNotSet);
    CProviderView& view = *po_View;
    if (view.StandardView()) return false;
    const Names& n = Sql();
    const auto connection = OpenOrRaise(kSaveView, saveviewerr_NoDatabase);
    const std::string caption = TextService::CleanCaption(view.Caption());
    // The key the caption_sort column holds, so that the lookup finds what saves wrote.
    const std::string sortKey = TextService::SmartSortKey(caption);
    const std::string captionSort = Quoted(schema::kCaptionSort);

    // Under the write lock, as SaveView4 decides.
    bool inPlace = false;
    const auto decide = [&] {
      if (TextService::IsEmpty(view.PrivateToGuid())) {
        const std::string privateTo = Quoted(schema::kPrivateToGuid);
        const auto same = connection->OpenRecordset(
            "SELECT * FROM " + n.views + " WHERE " +
            GuidMatch(schema::kProviderGuid, p_ProviderGuid) + "  AND " + captionSort + "=" +
            Literal(sortKey, SqlService::kEscapeCaption) + " COLLATE NOCASE  AND " + n.guidCol +
            "<>" + Literal(view.Guid(), SqlService::kEscapeGuid) + " COLLATE NOCASE  AND (length(" +
            privateTo + ")=0 or " + privateTo + " ISNULL)");
        if (!same->Eof()) {
          if (!p_OverwriteExisting) kSaveView.Raise(saveviewerr_DuplicateCaption, kCaptionInUse);
          const std::string found = TextField(*same, n.guidField);
          if (found != view.Guid()) view.SetGuid(found);
          inPlace = true;
          return;
        }
      }
      if (!p_OverwriteExisting) {
        const auto stored = connection->OpenRecordset(
            "SELECT * FROM " + n.views + " WHERE " + n.guidCol + "=" +
            Literal(view.Guid(), SqlService::kEscapeGuid) + " COLLATE NOCASE");
        if (!stored->Eof()) kSaveView.Raise(saveviewerr_DuplicateGuid, kDuplicateGuid);
      }
    };

    InSaveTransaction(kSaveView, *connection, false, decide, [&] {
      if (inPlace) {
        const auto update = connection->CreateCommand(
            "UPDATE " + n.views + " SET " + Quoted(schema::kCaption) + "=?, " + captionSort +
            "=?, " + Quoted(schema::kPropertyBagContent) + "=?, " + n.updCol + "=?, " +
            Quoted(schema::kNotificationView) + "=? WHERE " + n.guidCol + "=?");
        update->SetText(1, caption);
        update->SetText(2, sortKey);
        update->SetBytes(3, view.Serialize());
        update->SetLong(4, NextUpdateCounter(*connection));
        update->SetBoolean(5, view.NotificationView());
        update->SetText(6, view.Guid());
        update->Execute();
        return;
      }
      // Taken before the row goes, so that the view's new counter tops its old one.
      const int32_t counter = NextUpdateCounter(*connection);
      connection->Execute("DELETE FROM " + n.views + " WHERE " + n.guidCol + "=" +
                          Literal(view.Guid(), SqlService::kEscapeGuid) + " COLLATE NOCASE");
      const std::string sameCaption =
          Quoted(schema::kCaption) + "=" + Literal(caption, SqlService::kEscapeCaption) +
          " COLLATE NOCASE AND " + GuidMatch(schema::kPrivateToGuid, view.PrivateToGuid()) +
          " AND " + GuidMatch(schema::kProviderGuid, p_ProviderGuid);
      const auto same = connection->OpenRecordset("SELECT " + n.guidCol + " FROM " + n.views +
                                                  " WHERE " + sameCaption + " LIMIT 1");
      if (!same->Eof()) {
        view.SetGuid(TextOf(same->Value(0)));
        connection->Execute("DELETE FROM " + n.views + " WHERE " + sameCaption);
      }
      const std::string providerGuid = StoredGuid(view.ProviderGuid());
      const std::string privateToGuid = StoredGuid(view.PrivateToGuid());
      RefuseCaptionHeldByAnother(kSaveView, *connection, providerGuid, privateToGuid, caption,
                                 view.Guid());
      const auto insert = connection->CreateCommand(SqlService::InsertStatement(
          schema::kViews,
          {n.guidField, n.updField, schema::kProviderGuid, schema::kPrivateToGuid, schema::kCaption,
           schema::kCaptionSort, schema::kPropertyBagContent, schema::kNotificationView}));
      insert->SetText(1, view.Guid());
      insert->SetLong(2, counter);
      insert->SetText(3, providerGuid);
      insert->SetText(4, privateToGuid);
      insert->SetText(5, caption);
      insert->SetText(6, sortKey);
      insert->SetBytes(7, view.Serialize());
      insert->SetBoolean(8, view.NotificationView());
      insert->Execute();
    });
    return true;
  });
}

}  // namespace prvdrinfo
