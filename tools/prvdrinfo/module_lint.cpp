// provider show --check: the checks made on the provider object a module creates.

#include "module_lint.h"

#include <cstddef>
#include <exception>
#include <map>
#include <string_view>
#include <utility>

#include "commands.h"
#include "prvdrinfo/columns/column_def_stored.h"
#include "prvdrinfo/columns/provider_col_defs.h"
#include "prvdrinfo/contract/provider_interfaces.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/unicode.h"
#include "prvdrinfo/providers/provider_info_shell.h"
#include "prvdrinfo/views/provider_view.h"
#include "prvdrinfo/viewsdb/provider_views.h"
#include "shell_roles.h"

namespace prvdrinfo::tool {

namespace {

using Problems = std::vector<std::string>;

std::string Joined(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
  return text;
}

std::string Failure(const CError& e) {
  return std::to_string(e.Number()) + " " + Quoted(e.Description());
}

// Runs a step that calls into the module; what it raises becomes the subject's line.
template <class Step>
void Checking(Problems& problems, const std::string& subject, Step&& step) {
  try {
    step();
  } catch (const CError& e) {
    problems.push_back(subject + ": raises " + Failure(e));
  } catch (const std::exception& e) {
    problems.push_back(subject + ": raises " + Quoted(e.what()));
  } catch (...) {
    problems.push_back(subject + ": raises an exception that is no std::exception");
  }
}

// Any attachment interface brings the other two with it. The shell reads the attachment
// columns through IProviderAttach2 and IProviderAttach3 whenever any of the three is there.
void CheckAttachments(const std::shared_ptr<IProviderInfo>& provider, Problems& problems) {
  const bool has[] = {std::dynamic_pointer_cast<IProviderAttach>(provider) != nullptr,
                      std::dynamic_pointer_cast<IProviderAttach2>(provider) != nullptr,
                      std::dynamic_pointer_cast<IProviderAttach3>(provider) != nullptr};
  const char* const names[] = {"IProviderAttach", "IProviderAttach2", "IProviderAttach3"};
  std::vector<std::string> implemented;
  std::vector<std::string> missing;
  for (size_t i = 0; i < 3; ++i) (has[i] ? implemented : missing).emplace_back(names[i]);
  if (implemented.empty() || missing.empty()) return;
  problems.push_back(Joined(implemented) + ": implemented without " + Joined(missing) +
                     "; a provider with one attachment interface needs all three" +
                     (has[1] && has[2] ? "" : " (a shell's Clone fails with 13)"));
}

void CheckRoles(const CProviderInfoShell& shell, const CProviderColDefs& columns,
                Problems& problems) {
  for (const ShellRole& role : kShellRoles) {
    if (!role.namesColumn) continue;
    const std::string guid = (shell.*role.get)();
    if (!guid.empty() && !columns.Exists(guid)) {
      problems.push_back(std::string("role column ") + role.name + ": " + Printed(guid) +
                         " is no column of Columns()");
    }
  }
}

// Table columns are SQL names, which SQLite compares without regard to ASCII case only.
std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

// Values in the order first seen, each with what holds it: a value is held once per Add.
class Tally {
 public:
  void Add(const std::string& key, const std::string& shown, const std::string& holder) {
    auto [it, added] = seen_.try_emplace(key, order_.size());
    if (added) order_.push_back({shown, {}});
    order_[it->second].holders.push_back(holder);
  }
  // A line for each value held at least `times` times.
  template <class Line>
  void Report(Problems& problems, size_t times, Line line) const {
    for (const Entry& entry : order_) {
      if (entry.holders.size() >= times) problems.push_back(line(entry.shown, entry.holders));
    }
  }

 private:
  struct Entry {
    std::string shown;
    std::vector<std::string> holders;
  };
  std::map<std::string, size_t> seen_;
  std::vector<Entry> order_;
};

void CheckRepeats(const CProviderColDefs& columns, Problems& problems) {
  Tally guids;
  Tally identifiers;
  for (const auto& set : {columns.ProviderSpecific(), columns.Standard()}) {
    for (const auto& column : *set) {
      const std::string guid = column->Guid();
      const auto stored = std::dynamic_pointer_cast<CColumnDefStored>(column);
      const std::string identifier = stored ? stored->Identifier() : "";
      guids.Add(unicode::FoldCase(guid), guid,
                identifier.empty() ? "(computed)" : Printed(identifier));
      if (!identifier.empty()) identifiers.Add(AsciiLower(identifier), identifier, Printed(guid));
    }
  }
  guids.Report(problems, 2, [](const std::string& guid, const std::vector<std::string>& holders) {
    return "column GUID " + Printed(guid) + ": " + std::to_string(holders.size()) +
           " columns have it (identifiers " + Joined(holders) + ")";
  });
  identifiers.Report(
      problems, 2, [](const std::string& identifier, const std::vector<std::string>& holders) {
        return "column identifier " + Printed(identifier) + ": " + std::to_string(holders.size()) +
               " columns have it (GUIDs " + Joined(holders) + ")";
      });
}

// Each GUID a view names that is no column, with what the view does with it.
void CheckView(const CProviderView& view, const std::string& subject,
               const CProviderColDefs& columns, Problems& problems) {
  Tally strangers;
  const auto use = [&](const std::string& guid, const char* how) {
    if (!columns.Exists(guid)) strangers.Add(unicode::FoldCase(guid), guid, how);
  };
  for (const auto& column : *view.Columns()) use(column->Guid(), "as a column");
  const auto sort = view.SortOrder();
  for (int32_t i = 0; i < sort->Count(); ++i) use(sort->GuidByIndex(i), "as a sort key");
  for (const auto& group : *view.FilterGroups()) {
    for (const auto& item : *group) use(item->ProviderColumnGuid(), "in a filter");
  }
  strangers.Report(problems, 1, [&](const std::string& guid, const std::vector<std::string>& uses) {
    std::vector<std::string> distinct;
    for (const std::string& how : uses) {
      if (distinct.empty() || distinct.back() != how) distinct.push_back(how);
    }
    return subject + ": " + Printed(guid) + " is no column of Columns() (" + Joined(distinct) + ")";
  });
}

}  // namespace

std::vector<std::string> ProviderProblems(const std::shared_ptr<IProviderInfo>& provider) {
  Problems problems;
  CheckAttachments(provider, problems);
  std::shared_ptr<CProviderColDefs> columns;
  Checking(problems, "Columns()", [&] {
    columns = provider->Columns();
    if (!columns)
      problems.emplace_back("Columns(): no column set (null); a shell's Clone fails with 91");
  });
  std::shared_ptr<CProviderViews> views;
  Checking(problems, "Views()", [&] {
    views = provider->Views();
    if (!views)
      problems.emplace_back("Views(): no view collection (null); a shell's Clone fails with 91");
  });

  std::shared_ptr<CProviderInfoShell> shell = CProviderInfoShellFactory().CreateProviderInfoShell();
  try {
    shell->Clone(provider);
  } catch (const CError& e) {
    problems.push_back("shell: Clone fails with " + Failure(e) + "; role columns not checked");
    shell.reset();
  }
  if (!columns) return problems;
  if (shell) CheckRoles(*shell, *columns, problems);
  Checking(problems, "Columns()", [&] { CheckRepeats(*columns, problems); });
  if (!views) return problems;
  for (const auto& view : *views) {
    if (!view) continue;
    const std::string subject = "view " + Quoted(view->Caption()) + " " + Printed(view->Guid());
    Checking(problems, subject, [&] { CheckView(*view, subject, *columns, problems); });
  }
  return problems;
}

}  // namespace prvdrinfo::tool
