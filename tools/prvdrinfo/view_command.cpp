// prvdrinfo view show: a view's stored bytes shown as a person reads the view. The
// output is described in docs/view-show.md.

#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "commands.h"
#include "prvdrinfo/filters/column_set_provider.h"
#include "prvdrinfo/filters/provider_view_filter.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "prvdrinfo/tables/provider_table_def.h"
#include "prvdrinfo/views/provider_view.h"

namespace prvdrinfo::tool {

namespace {

using nlohmann::json;

// Names as docs/filter-json.md spells them, so that the groups shown can be fed back to
// `prvdrinfo filter sql`; a stored number outside the names stays a number.
json Named(int32_t value, std::initializer_list<const char*> names) {
  if (value >= 0 && static_cast<size_t>(value) < names.size()) return names.begin()[value];
  return value;
}
json Connective(int32_t value) { return Named(value, {"and", "or"}); }
json Operator(int32_t value) { return Named(value, {"=", "<>", ">", "<", ">=", "<="}); }
json Direction(int32_t value) { return Named(value, {"ascending", "descending"}); }

std::string Q(const json& text) { return Quoted(text.get<std::string>()); }

// A condition reads best as the SQL it is.
std::string Condition(const json& text) { return Printed(text.get<std::string>()); }

// Text as a person reads it: names bare, numbers that have no name as "#N".
std::string Shown(const json& value) {
  return value.is_string() ? value.get<std::string>() : "#" + value.dump();
}

std::string Plural(size_t count, const char* noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

// The condition of each group alone, then of all groups, over the table's columns.
struct Conditions {
  std::vector<std::string> groups;
  std::string all;
};

Conditions ConditionsOf(const CProviderView& view,
                        const std::shared_ptr<CProviderTableDef>& table) {
  const Bytes stored = view.FilterGroups()->Serialize();
  const auto provider = std::make_shared<CColumnSetProvider>(table->Columns());
  auto filterOf = [&] {
    auto filter = std::make_shared<CProviderViewFilter>();
    filter->Groups()->Deserialize(stored);
    filter->SetProviderInfo(provider);
    return filter;
  };
  Conditions conditions;
  conditions.all = filterOf()->Sql(filterprefix_None);
  const int32_t count = view.FilterGroups()->Count();
  for (int32_t i = 0; i < count; ++i) {
    const auto alone = filterOf();
    for (int32_t other = count - 1; other >= 0; --other) {
      if (other != i) alone->Groups()->RemoveByIndex(other);
    }
    conditions.groups.push_back(alone->Sql(filterprefix_None));
  }
  return conditions;
}

std::string ScheduleOf(int32_t scheduleId) {
  if (scheduleId < CProviderViewNotifier::FirstScheduleId() ||
      scheduleId > CProviderViewNotifier::LastScheduleId()) {
    return "schedule #" + std::to_string(scheduleId);
  }
  return CProviderViewNotifier::ScheduleIdCaption(scheduleId, true);
}

json ViewJson(const CProviderView& view, const std::string& guid,
              const std::optional<Conditions>& conditions) {
  json out{{"caption", view.Caption()},
           {"guid", guid},
           {"providerGuid", view.ProviderGuid()},
           {"templateGuid", view.TemplateGuid()},
           {"filterGuid", view.FilterGuid()},
           {"privateToGuid", view.PrivateToGuid()},
           {"standardView", view.StandardView()},
           {"allColumnsView", view.AllColumnsView()},
           {"pauseFilters", view.PauseFilters()},
           {"updateCounter", view.UpdateCounter()},
           {"version", view.Version()},
           {"paperSpan", view.PaperSpan()},
           {"contentId", view.ContentId()},
           {"contentIdForAutoSave", view.ContentIdForAutoSave()},
           {"contentIdForDirtyCheck", view.ContentIdForDirtyCheck()}};
  json& columns = out["columns"] = json::array();
  for (const auto& column : *view.Columns()) {
    columns.push_back({{"guid", column->Guid()},
                       {"caption", column->Caption()},
                       {"visible", column->Visible()},
                       {"widthTwips", column->WidthTwips()},
                       {"minWidthTwips", column->MinWidthTwips()},
                       {"maxWidthTwips", column->MaxWidthTwips()},
                       {"manuallySized", column->ManuallySized()},
                       {"alias", column->Alias()},
                       {"aggregateType", static_cast<int32_t>(column->AggregateType())},
                       {"alignment", static_cast<int32_t>(column->Alignment())},
                       {"formatType", static_cast<int32_t>(column->FormatType())},
                       {"ghosted", column->Ghosted()}});
  }
  json& sort = out["sortOrder"] = json::array();
  const auto order = view.SortOrder();
  for (auto it = order->begin(); it != order->end(); ++it) {
    sort.push_back({{"guid", it.Key()}, {"direction", Direction((*it)->Direction())}});
  }
  json& groups = out["filterGroups"] = json::array();
  size_t index = 0;
  for (const auto& group : *view.FilterGroups()) {
    json items = json::array();
    for (const auto& item : *group) {
      items.push_back({{"column", item->ProviderColumnGuid()},
                       {"operator", Operator(item->Operator())},
                       {"criteria", item->Criteria()},
                       {"logicalOperator", Connective(item->LogicalOperator())},
                       {"function", static_cast<int32_t>(item->DbFunction())},
                       {"guid", item->Guid()}});
    }
    json entry{{"logicalOperator", Connective(group->LogicalOperator())},
               {"items", std::move(items)}};
    if (conditions) entry["condition"] = conditions->groups[index];
    groups.push_back(std::move(entry));
    ++index;
  }
  if (conditions) out["condition"] = conditions->all;
  json& notifiers = out["notifiers"] = json::array();
  for (const auto& notifier : *view.Notifiers()) {
    const int32_t scheduleId = notifier->ScheduleId();
    notifiers.push_back({{"scheduleId", scheduleId},
                         {"schedule", ScheduleOf(scheduleId)},
                         {"message", notifier->Message()},
                         {"nextDelivery", notifier->NextScheduledDeliveryDate()},
                         {"lastDelivered", notifier->LastDeliveredDateUtc()},
                         {"sendIfEmpty", notifier->SendIfEmpty()},
                         {"alternateSchedule", notifier->AlternateSchedule()},
                         {"distributionFlag", notifier->DistributionFlag()}});
  }
  return out;
}

// Every text that came from the bytes is quoted, so none can pass for the layout or
// steer a terminal.
std::string ViewText(const json& view) {
  std::ostringstream out;
  out << "view " << Q(view["caption"]) << '\n';
  for (const auto& [label, key] : {std::pair{"guid", "guid"},
                                   {"provider", "providerGuid"},
                                   {"template", "templateGuid"},
                                   {"filter", "filterGuid"},
                                   {"private to", "privateToGuid"}}) {
    if (key == std::string("guid") || !view[key].get<std::string>().empty()) {
      out << "  " << label << ": " << Q(view[key]) << '\n';
    }
  }
  std::string flags;
  for (const auto& [label, key] : {std::pair{"standard view", "standardView"},
                                   {"all-columns view", "allColumnsView"},
                                   {"filters paused", "pauseFilters"}}) {
    if (view[key].get<bool>()) flags += (flags.empty() ? "" : ", ") + std::string(label);
  }
  if (!flags.empty()) out << "  " << flags << '\n';
  out << "  update counter " << view["updateCounter"] << ", version " << view["version"]
      << ", paper span " << view["paperSpan"] << '\n';

  const json& columns = view["columns"];
  size_t visible = 0;
  for (const json& column : columns) visible += column["visible"].get<bool>() ? 1u : 0u;
  out << "columns: " << columns.size() << ", " << visible << " visible\n";
  size_t position = 1;
  for (const json& column : columns) {
    out << "  " << position++ << ". " << Q(column["guid"]) << ' ' << Q(column["caption"]) << ", "
        << (column["visible"].get<bool>() ? "visible" : "hidden") << ", " << column["widthTwips"]
        << " twips\n";
  }

  const json& sort = view["sortOrder"];
  out << "sort order: " << Plural(sort.size(), "key") << '\n';
  position = 1;
  for (const json& key : sort) {
    out << "  " << position++ << ". " << Q(key["guid"]) << ' ' << Shown(key["direction"]) << '\n';
  }

  const json& groups = view["filterGroups"];
  out << "filter groups: " << groups.size() << '\n';
  if (view.contains("condition")) out << "  condition: " << Condition(view["condition"]) << '\n';
  position = 1;
  for (const json& group : groups) {
    const json& items = group["items"];
    out << "  " << position << ". ";
    if (position > 1)
      out << Shown(group["logicalOperator"]) << (group.contains("condition") ? " " : ", ");
    if (group.contains("condition")) {
      out << (items.empty() ? "no criteria" : Condition(group["condition"])) << '\n';
    } else {
      out << Plural(items.size(), "item") << '\n';
      bool first = true;
      for (const json& item : items) {
        out << "       " << (first ? "" : Shown(item["logicalOperator"]) + " ") << Q(item["column"])
            << ' ' << Shown(item["operator"]) << ' ' << Q(item["criteria"]);
        if (item["function"] != 0) out << " [function " << item["function"] << ']';
        out << '\n';
        first = false;
      }
    }
    ++position;
  }

  const json& notifiers = view["notifiers"];
  out << "notifiers: " << notifiers.size() << '\n';
  position = 1;
  for (const json& notifier : notifiers) {
    out << "  " << position++ << ". " << Shown(notifier["schedule"]) << ", next "
        << Q(notifier["nextDelivery"]) << ", last delivered " << Q(notifier["lastDelivered"]);
    if (!notifier["message"].get<std::string>().empty())
      out << ", message " << Q(notifier["message"]);
    out << '\n';
  }
  return out.str();
}

}  // namespace

LoadedView ViewFromBytes(const Bytes& bytes) {
  // Any bag loads as a view, leniently; a stored view always holds both keys.
  PropertyBag stored;
  stored.SetContents(bytes);
  if (!stored.Exists("Guid") || !stored.Exists("Caption")) {
    throw CommandFailed("not a view: no \"Guid\" or \"Caption\"");
  }
  LoadedView result{std::make_shared<CProviderView>(), stored.ReadText("Guid")};
  result.view->Deserialize(bytes);
  return result;
}

std::string ViewShown(const Bytes& bytes, const std::shared_ptr<CProviderTableDef>& table,
                      bool asJson, std::optional<int64_t> updateCounter) {
  const LoadedView stored = ViewFromBytes(bytes);
  if (updateCounter) stored.view->SetUpdateCounter(static_cast<int32_t>(*updateCounter));
  std::optional<Conditions> conditions;
  if (table) conditions = ConditionsOf(*stored.view, table);
  // Guid() makes up a GUID where none is stored: shown as stored.
  const json shown = ViewJson(*stored.view, stored.guid, conditions);
  return asJson ? JsonText(shown) + "\n" : ViewText(shown);
}

void RunViewShow(const ViewShowOptions& options) {
  const std::string source = InputName(options.input);
  // The columns file names itself in its errors.
  std::shared_ptr<CProviderTableDef> table;
  if (options.columns) table = TableDefinitionFrom(*options.columns);
  const Bytes bytes = ReadInput(options.input);
  std::cout << NamingInput(source,
                           [&] { return ViewShown(bytes, table, options.json, std::nullopt); });
}

}  // namespace prvdrinfo::tool
