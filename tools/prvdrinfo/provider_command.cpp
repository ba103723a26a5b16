// prvdrinfo provider show MODULE.so: what a host learns about a provider module, so that
// an author can check a module without writing a host; with --check, what would trouble a
// host (module_lint.h, module_linkage.h). prvdrinfo providers save|show:
// a providers collection file made of such snapshots.

#include <fcntl.h>

#include <nlohmann/json.hpp>

#include <cctype>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "commands.h"
#include "module_linkage.h"
#include "module_lint.h"
#include "shell_roles.h"
#include "prvdrinfo/columns/column_def_stored.h"
#include "prvdrinfo/contract/module_loader.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "prvdrinfo/providers/providers_collection.h"

namespace prvdrinfo::tool {

namespace {

using nlohmann::ordered_json;
using Shell = CProviderInfoShell;

struct Flag {
  const char* name;
  bool (Shell::*get)() const;
};
// The capability flags, by the name of the shell member without "Supports".
constexpr Flag kFlags[] = {
    {"Attachments", &Shell::SupportsAttachments},
    {"Attachments2", &Shell::SupportsAttachments2},
    {"Attachments3", &Shell::SupportsAttachments3},
    {"Certify", &Shell::SupportsCertify},
    {"Child", &Shell::SupportsChild},
    {"Contacter", &Shell::SupportsContacter},
    {"Contacter2", &Shell::SupportsContacter2},
    {"Dated", &Shell::SupportsDated},
    {"Delete", &Shell::SupportsDelete},
    {"Descendable", &Shell::SupportsDescendable},
    {"Disciplined", &Shell::SupportsDisciplined},
    {"Divided", &Shell::SupportsDivided},
    {"Draftable", &Shell::SupportsDraftable},
    {"ExternalNumber", &Shell::SupportsExternalNumber},
    {"Forms", &Shell::SupportsForms},
    {"Forms3", &Shell::SupportsForms3},
    {"Insert", &Shell::SupportsInsert},
    {"Notable", &Shell::SupportsNotable},
    {"Number", &Shell::SupportsNumber},
    {"Phaseable", &Shell::SupportsPhaseable},
    {"Reasonable", &Shell::SupportsReasonable},
    {"Reasonable2", &Shell::SupportsReasonable2},
    {"RecordStatus", &Shell::SupportsRecordStatus},
    {"Referencer", &Shell::SupportsReferencer},
    {"Referencer2", &Shell::SupportsReferencer2},
    {"Search", &Shell::SupportsSearch},
    {"Storage", &Shell::SupportsStorage},
    {"Storage5", &Shell::SupportsStorage5},
    {"SubList", &Shell::SupportsSubList},
    {"Template", &Shell::SupportsTemplate},
    {"Titled", &Shell::SupportsTitled},
    {"Typed", &Shell::SupportsTyped},
    {"UnitPrice", &Shell::SupportsUnitPrice},
    {"Update", &Shell::SupportsUpdate},
    {"Update2", &Shell::SupportsUpdate2},
};
constexpr Flag kSwitches[] = {
    {"IgnoreCounters", &Shell::IgnoreCounters},
    {"AlwaysShowPage2", &Shell::AlwaysShowPage2},
    {"RequiresExclusiveProjectForInsert", &Shell::RequiresExclusiveProjectForInsert},
    {"RequiresExclusiveProjectForDelete", &Shell::RequiresExclusiveProjectForDelete},
};

std::string CategoryName(e_ProviderCategory category) {
  switch (category) {
    case providercategory_PreConstruction: return "PreConstruction";
    case providercategory_Construction: return "Construction";
    case providercategory_Certifier: return "Certifier";
    case providercategory_Documentation: return "Documentation";
    case providercategory_PostConstruction: return "PostConstruction";
    case providercategory_Special: return "Special";
  }
  return std::to_string(static_cast<int32_t>(category));
}

// What a host learns of one provider, in the order the text form prints it.
ordered_json Describe(const Shell& shell) {
  ordered_json out;
  out["guid"] = shell.Guid();
  out["dllName"] = shell.DllName();
  out["className"] = shell.ClassName();
  out["singularName"] = shell.SingularName();
  out["pluralName"] = shell.PluralName();
  out["commonSingularName"] = shell.CommonSingularName();
  out["commonPluralName"] = shell.CommonPluralName();
  out["category"] = CategoryName(shell.Category());
  out["description"] = shell.Description();
  ordered_json supports = ordered_json::array();
  for (const Flag& flag : kFlags) {
    if ((shell.*flag.get)()) supports.push_back(flag.name);
  }
  out["supports"] = supports;
  ordered_json switches = ordered_json::object();
  for (const Flag& flag : kSwitches) switches[flag.name] = (shell.*flag.get)();
  switches["AttachmentsType"] =
      shell.AttachmentsType() == iproviderattachtype_ShopDrawings ? "ShopDrawings" : "Standard";
  out["switches"] = switches;
  ordered_json roles = ordered_json::object();
  for (const ShellRole& role : kShellRoles) {
    const std::string value = (shell.*role.get)();
    if (!value.empty()) roles[role.name] = value;
  }
  out["roleColumns"] = roles;
  ordered_json columns = ordered_json::array();
  for (const auto& column : *shell.Columns()->ProviderSpecific()) {
    if (!column) continue;
    ordered_json entry;
    entry["guid"] = column->Guid();
    const auto stored = std::dynamic_pointer_cast<CColumnDefStored>(column);
    entry["identifier"] = stored ? stored->Identifier() : "";
    entry["caption"] = column->DefaultCaption(localeid_EnglishCanada);
    entry["type"] = DdlTypeName(column->VeskDatatype());
    columns.push_back(entry);
  }
  out["columns"] = columns;
  ordered_json views = ordered_json::array();
  for (const auto& view : *shell.Views()) {
    if (!view) continue;
    ordered_json entry;
    entry["guid"] = view->Guid();
    entry["caption"] = view->Caption();
    entry["columns"] = view->Columns()->Count();
    views.push_back(entry);
  }
  out["views"] = views;
  return out;
}

std::string Joined(const ordered_json& names) {
  std::string text;
  for (const auto& name : names) text += (text.empty() ? "" : ", ") + name.get<std::string>();
  return text.empty() ? "(nothing optional)" : text;
}

void PrintText(const ordered_json& d, std::ostream& out) {
  const auto text = [&](const char* key) { return Printed(d[key].get<std::string>()); };
  out << text("pluralName") << " (" << text("singularName") << "): " << text("guid") << '\n';
  out << "  module:       " << text("dllName") << ", class " << text("className") << '\n';
  out << "  category:     " << text("category") << '\n';
  out << "  common names: " << text("commonPluralName") << " (" << text("commonSingularName")
      << ")\n";
  out << "  description:  " << text("description") << '\n';
  out << "  supports:     " << Joined(d["supports"]) << '\n';
  ordered_json set = ordered_json::array();
  for (const auto& [name, value] : d["switches"].items()) {
    if (value.is_boolean() && value.get<bool>()) set.push_back(name);
  }
  out << "  switches:     " << (set.empty() ? std::string("(none set)") : Joined(set))
      << "; attachments " << d["switches"]["AttachmentsType"].get<std::string>() << '\n';
  out << "  role columns:" << (d["roleColumns"].empty() ? " (none)" : "") << '\n';
  for (const auto& [name, value] : d["roleColumns"].items()) {
    out << "    " << Printed(name) << " = " << Printed(value.get<std::string>()) << '\n';
  }
  out << "  columns (" << d["columns"].size() << "):\n";
  for (const auto& c : d["columns"]) {
    out << "    " << Printed(c["guid"].get<std::string>()) << "  "
        << Printed(c["identifier"].get<std::string>()) << "  "
        << Quoted(c["caption"].get<std::string>()) << "  " << c["type"].get<std::string>() << '\n';
  }
  out << "  views (" << d["views"].size() << "):\n";
  for (const auto& v : d["views"]) {
    out << "    " << Printed(v["guid"].get<std::string>()) << "  "
        << Quoted(v["caption"].get<std::string>()) << "  " << v["columns"].get<int32_t>()
        << " columns\n";
  }
}

// The class a module's file name suggests by the examples' convention:
// libchange_order_log.so holds CChangeOrderLog.
std::string ClassFromFileName(const std::string& path) {
  std::string stem = std::filesystem::path(path).filename().string();
  if (const auto so = stem.find(".so"); so != std::string::npos) stem.resize(so);
  if (stem.rfind("lib", 0) == 0) stem.erase(0, 3);
  std::string name = "C";
  bool upper = true;
  for (const char c : stem) {
    if (c == '_' || c == '-' || c == '.') {
      upper = true;
    } else {
      name += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
      upper = false;
    }
  }
  return name;
}

std::string ClassNameFor(const std::string& path, const std::optional<std::string>& className) {
  return className ? *className : ClassFromFileName(path);
}

// A provider of a module, opened the way a host opens it. The provider keeps its module
// loaded; the shell cloned from it needs neither.
std::shared_ptr<IProviderInfo> LoadProvider(const std::string& path,
                                            const std::optional<std::string>& className) {
  const std::string name = ClassNameFor(path, className);
  try {
    return ModuleLoader(path).CreateProvider(name);
  } catch (const CError& e) {
    if (e.Number() == err::kCannotCreateObject && !className)
      throw CommandFailed(e.Description() + " (name it with --class)");
    throw;
  }
}

std::shared_ptr<Shell> ShellOf(const std::string& path,
                               const std::optional<std::string>& className) {
  const auto provider = LoadProvider(path, className);
  auto shell = CProviderInfoShellFactory().CreateProviderInfoShell();
  try {
    shell->Clone(provider);
  } catch (const CError& e) {
    throw CommandFailed(path + ": " + e.Description());
  }
  return shell;
}

void Print(const std::vector<std::shared_ptr<Shell>>& shells, bool asJson, bool asList) {
  if (asJson) {
    ordered_json all = ordered_json::array();
    for (const auto& shell : shells) all.push_back(Describe(*shell));
    std::cout << JsonText(asList ? all : all.front()) << '\n';
    return;
  }
  for (size_t i = 0; i < shells.size(); ++i) {
    if (i > 0) std::cout << '\n';
    PrintText(Describe(*shells[i]), std::cout);
  }
}

}  // namespace

void RunProviderShow(const ProviderShowOptions& options) {
  if (options.check) {
    RunProviderCheck(options);
    return;
  }
  Print({ShellOf(options.module, options.className)}, options.json, false);
}

void RunProviderCheck(const ProviderShowOptions& options) {
  const auto provider = LoadProvider(options.module, options.className);
  std::vector<std::string> problems = LinkageProblems(options.module);
  for (std::string& line : ProviderProblems(provider)) problems.push_back(std::move(line));
  const std::string subject = Printed(options.module) + ", class " +
                              Printed(ClassNameFor(options.module, options.className));
  if (problems.empty()) {
    std::cout << subject << ": no problems found\n";
    return;
  }
  for (const std::string& line : problems) std::cout << line << '\n';
  throw CommandFailed(subject + ": " + std::to_string(problems.size()) +
                      (problems.size() == 1 ? " problem" : " problems"));
}

void RunProvidersSave(const ProvidersSaveOptions& options) {
  CProvidersCollection collection;
  for (const std::string& module : options.modules) {
    const auto shell = ShellOf(module, std::nullopt);
    try {
      collection.Add(shell);
    } catch (const CError& e) {
      throw CommandFailed(module + ": " + e.Description());
    }
  }
  WriteOutputFile(options.file, collection.Serialize());
  std::cout << "Saved " << collection.Count()
            << (collection.Count() == 1 ? " provider" : " providers") << " to " << options.file
            << ".\n";
}

void RunProvidersShow(const ProvidersShowOptions& options) {
  const Bytes bytes = ReadInput(options.file);
  CProvidersCollection collection;
  try {
    // Any property bag loads as an empty collection; one that never was one is refused.
    PropertyBag stored;
    stored.SetContents(bytes);
    if (!stored.Exists("Providers"))
      throw CommandFailed(InputName(options.file) +
                          ": not a providers collection (no \"Providers\")");
    collection.Deserialize(bytes);
  } catch (const CError& e) {
    throw CommandFailed(InputName(options.file) + ": " + e.Description());
  }
  if (collection.Count() == 0) {
    if (options.json) {
      std::cout << "[]\n";
    } else {
      std::cout << "No providers.\n";
    }
    return;
  }
  Print(collection.Enumerator(), options.json, true);
}

}  // namespace prvdrinfo::tool
