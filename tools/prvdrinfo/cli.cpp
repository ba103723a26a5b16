// The command line of prvdrinfo: every command, option and help text, and the checks of
// arguments that make no sense together. The commands themselves take plain options
// (commands.h), so that only this file compiles the parser.

// GCC 12 reports a null dereference inside CLI11's string splitting that cannot happen.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnull-dereference"
#include <CLI/CLI.hpp>
#pragma GCC diagnostic pop

#include <optional>
#include <sstream>
#include <string>

#include "commands.h"

namespace prvdrinfo::tool {

namespace {

// What the parsed command line fills in; it outlives the application that refers to it.
struct Options {
  BagDumpOptions bagDump;
  DemoOptions demo;
  DdlOptions ddl;
  FilterSqlOptions filterSql;
  ViewShowOptions viewShow;
  ViewSqlOptions viewSql;
  ViewRunOptions viewRun;
  ProviderShowOptions providerShow;
  ProvidersSaveOptions providersSave;
  ProvidersShowOptions providersShow;
  ViewsListOptions viewsList;
  ViewsShowOptions viewsShow;
  ViewsExportOptions viewsExport;
  ViewsImportOptions viewsImport;
  std::string viewsDeleteGuid;
  DbOptions dbInfo;
  DbOptions dbCheck;
  DbOptions dbMaintain;
  std::optional<std::string> dataDir;  // views and db commands
};

// An option that names a file, given with an empty value.
void RequireFileName(const std::optional<std::string>& file, const std::string& option) {
  if (file && file->empty()) throw UsageError(option + " needs a file name");
}

void AddBagCommands(CLI::App& app, Options& all) {
  auto& options = all.bagDump;
  auto* bag = app.add_subcommand("bag", "Inspect serialized property-bag bytes");
  bag->require_subcommand(1);
  auto* dump = bag->add_subcommand(
      "dump", "Print the keys, types and values of a property bag or keyed-collection contents");
  dump->add_option("file", options.file, "File with the bytes, or - for standard input")
      ->capture_default_str();
  dump->add_option("--max-bytes", options.maxBytes, "Refuse input larger than this many bytes")
      ->capture_default_str()
      ->check(CLI::PositiveNumber);
  dump->callback([&options] { RunBagDump(options); });
}

void AddDemoCommand(CLI::App& app, Options& all) {
  auto& options = all.demo;
  auto* demo = app.add_subcommand("demo", "Run a short tour of the library");
  demo->add_flag("--keep", options.keep, "Keep the scratch folder with the files the demo writes");
  demo->callback([&options] { RunDemo(options); });
}

void AddDdlCommand(CLI::App& app, Options& all) {
  auto& options = all.ddl;
  auto* ddl = app.add_subcommand("ddl", "Print the SQLite statements that create a provider table");
  auto* input = ddl->add_option("input", options.input,
                                "Table definition as JSON (file, or - for standard input)");
  ddl->add_option(
      "--apply", options.apply,
      "Also run the statements on this SQLite file (created if missing); a table already there "
      "must have the defined columns");
  ddl->add_flag("--example", options.example,
                "Use the built-in example table (Tasks) instead of input");
  ddl->add_flag(
      "--upgrade", options.upgrade,
      "With --apply: upgrade a table already there to the definition in place, keeping its rows; "
      "prints each step of the plan and the rows it copies");
  ddl->add_flag("--dry-run", options.dryRun, "With --upgrade: print the plan and change nothing");
  ddl->footer(std::string("Input example:\n") + DdlExample());
  ddl->callback([&options, input] {
    if (options.example && input->count() > 0) {
      throw UsageError("ddl --example takes no input, but " + options.input + " was given");
    }
    if (options.apply && options.apply->empty())
      throw UsageError("ddl --apply needs a database file name");
    if (options.upgrade && !options.apply)
      throw UsageError("ddl --upgrade needs --apply and a database file name");
    if (options.dryRun && !options.upgrade) throw UsageError("ddl --dry-run goes with --upgrade");
    RunDdl(options);
  });
}

void AddFilterCommand(CLI::App& app, Options& all) {
  auto& options = all.filterSql;
  auto* filter = app.add_subcommand("filter", "Work with view filters");
  filter->require_subcommand(1);
  auto* sql = filter->add_subcommand("sql", "Print the SQL condition of a filter written as JSON");
  sql->add_option("input", options.input, "Filter as JSON (file, or - for standard input)");
  sql->add_option("--prefix", options.prefix, "none, where or operator (default none)");
  sql->add_option("--columns", options.columns,
                  "Table definition as JSON (as prvdrinfo ddl reads it)");
  sql->add_flag("--params", options.params,
                "Print the condition with ? placeholders, then each value");
  sql->callback([&options] {
    RequireFileName(options.columns, "filter sql --columns");
    RunFilterSql(options);
  });
}

void AddViewRunCommand(CLI::App& view, ViewRunOptions& options) {
  auto* run =
      view.add_subcommand("run", "Run a view's SELECT on a project database and print its rows");
  auto* input =
      run->add_option("input", options.input, "The view's bytes (file, or - for standard input)");
  run->add_option("--view", options.viewGuid,
                  "A view of the views database, by GUID, instead of input");
  run->add_option("--data-dir", options.dataDir,
                  "With --view: the data folder (default PRVDRINFO_DATA_DIR)");
  run->add_option("--db", options.db,
                  "The SQLite file with the provider's table (opened read-only)")
      ->required();
  run->add_option("--columns", options.columns,
                  "Table definition as JSON (as prvdrinfo ddl reads it)")
      ->required();
  run->add_option("--format", options.format, "table, csv, json or html (default table)");
  run->add_option("--limit", options.limit, "Print at most this many rows")
      ->check(CLI::NonNegativeNumber);
  run->add_option(
      "--templates", options.templates,
      "With html: page templates' bytes; the view's template gives the paper size and orientation");
  run->callback([&options, input] {
    if (options.viewGuid && input->count() > 0) {
      throw UsageError("view run --view takes no input, but " + options.input + " was given");
    }
    if (options.dataDir && !options.viewGuid)
      throw UsageError("view run --data-dir goes with --view");
    RequireFileName(options.dataDir, "view run --data-dir");
    RequireFileName(std::optional<std::string>(options.db), "view run --db");
    RequireFileName(std::optional<std::string>(options.columns), "view run --columns");
    RequireFileName(options.templates, "view run --templates");
    RunViewRun(options);
  });
}

void AddViewCommand(CLI::App& app, Options& all) {
  auto& options = all.viewShow;
  auto* view = app.add_subcommand("view", "Inspect stored views");
  view->require_subcommand(1);
  auto* show = view->add_subcommand("show", "Show a view's stored bytes as the view they hold");
  show->add_option("input", options.input, "The view's bytes (file, or - for standard input)");
  show->add_option(
      "--columns", options.columns,
      "Table definition as JSON (as prvdrinfo ddl reads it): show filter groups as SQL conditions");
  show->add_flag("--json", options.json, "Print JSON for scripts");
  show->callback([&options] {
    RequireFileName(options.columns, "view show --columns");
    RunViewShow(options);
  });

  auto& query = all.viewSql;
  auto* sql = view->add_subcommand(
      "sql", "Print the SELECT that reads a view's records from its provider's table");
  sql->add_option("input", query.input, "The view's bytes (file, or - for standard input)");
  sql->add_option("--columns", query.columns,
                  "Table definition as JSON (as prvdrinfo ddl reads it)")
      ->required();
  sql->add_flag("--params", query.params,
                "Print the statement with ? placeholders, then each value");
  sql->add_option("--limit", query.limit, "Return at most this many records")
      ->check(CLI::NonNegativeNumber);
  sql->add_option("--offset", query.offset, "Skip this many records first")
      ->check(CLI::NonNegativeNumber);
  sql->callback([&query] {
    RequireFileName(std::optional<std::string>(query.columns), "view sql --columns");
    RunViewSql(query);
  });

  AddViewRunCommand(*view, all.viewRun);
}

void AddProviderCommands(CLI::App& app, Options& all) {
  auto* provider = app.add_subcommand("provider", "Inspect a provider module as a host sees it");
  provider->require_subcommand(1);
  auto& show = all.providerShow;
  auto* showProvider =
      provider->add_subcommand("show", "Load a provider module and print what its shell records");
  showProvider->add_option("module", show.module, "The module (a .so file)")->required();
  showProvider->add_option("--class", show.className,
                           "The provider class (default: from the file name)");
  showProvider->add_flag("--json", show.json, "Print JSON");
  showProvider->add_flag(
      "--check", show.check,
      "Instead of the description, print each problem a host would meet (role columns that "
      "name no column, a static link to the library, attachment interfaces missing, null "
      "Columns() or Views(), repeated column GUIDs or identifiers, views of columns the module "
      "lacks), one a line; exit status 1 when there is any");
  showProvider->callback([&show] {
    if (show.check && show.json) throw UsageError("provider show --check takes no --json");
    RunProviderShow(show);
  });

  auto* providers = app.add_subcommand("providers", "Work with a providers collection file");
  providers->require_subcommand(1);
  auto& saved = all.providersSave;
  auto* save = providers->add_subcommand(
      "save", "Snapshot provider modules into a providers collection file");
  save->add_option("file", saved.file, "The collection file to write")->required();
  save->add_option("modules", saved.modules,
                   "Provider modules (.so files), each by its file-name class")
      ->required();
  save->callback([&saved] { RunProvidersSave(saved); });
  auto& shown = all.providersShow;
  auto* showFile = providers->add_subcommand("show", "Print the providers of a collection file");
  showFile->add_option("file", shown.file, "The collection file, or - for standard input")
      ->required();
  showFile->add_flag("--json", shown.json, "Print JSON");
  showFile->callback([&shown] { RunProvidersShow(shown); });
}

// The views database lives in the data folder; each command that uses it can be pointed
// at another (a backup, a user's copy) without the environment.
void AddDataDirOption(CLI::App& command, std::optional<std::string>& dataDir) {
  command.add_option(
      "--data-dir", dataDir,
      "The data folder holding the views database (default: $PRVDRINFO_DATA_DIR, else "
      "$XDG_DATA_HOME/prvdrinfo, else ~/.local/share/prvdrinfo)");
}

void AddViewsCommands(CLI::App& app, Options& all) {
  auto* views = app.add_subcommand("views", "See and repair the saved views of the data folder");
  views->require_subcommand(1);

  auto& listed = all.viewsList;
  auto* list = views->add_subcommand("list", "List the saved views, by provider and caption");
  list->add_option("--provider", listed.provider, "Only this provider's views");
  list->add_flag("--json", listed.json, "Print JSON");
  list->callback([&listed, &all] {
    UseDataFolder(all.dataDir);
    RunViewsList(listed);
  });

  auto& shown = all.viewsShow;
  auto* show = views->add_subcommand("show", "Print a saved view as view show prints its bytes");
  show->add_option("guid", shown.guid, "The view's GUID")->required();
  show->add_option(
      "--columns", shown.columns,
      "Table definition as JSON (as prvdrinfo ddl reads it): show filter groups as SQL conditions");
  show->add_flag("--json", shown.json, "Print JSON for scripts");
  show->add_flag("--raw", shown.raw,
                 "Print the row's columns and the stored contents decoded key by key");
  show->callback([&shown, &all] {
    if (shown.raw && (shown.json || shown.columns))
      throw UsageError("views show --raw takes neither --json nor --columns");
    RequireFileName(shown.columns, "views show --columns");
    UseDataFolder(all.dataDir);
    RunViewsShow(shown);
  });

  auto& exported = all.viewsExport;
  auto* exportView = views->add_subcommand("export", "Write a saved view's bytes to a file");
  exportView->add_option("guid", exported.guid, "The view's GUID")->required();
  exportView->add_option("file", exported.file, "The file to write, or - for standard output")
      ->required();
  exportView->callback([&exported, &all] {
    UseDataFolder(all.dataDir);
    RunViewsExport(exported);
  });

  auto& imported = all.viewsImport;
  auto* importView =
      views->add_subcommand("import", "Save a view from a file written by views export");
  importView->add_option("file", imported.file, "The file to read, or - for standard input")
      ->required();
  importView->add_flag("--overwrite", imported.overwrite,
                       "Replace a stored view of the same GUID, or of the same caption");
  importView->callback([&imported, &all] {
    UseDataFolder(all.dataDir);
    RunViewsImport(imported);
  });

  auto& deletedGuid = all.viewsDeleteGuid;
  auto* remove = views->add_subcommand("delete", "Delete a saved view");
  remove->add_option("guid", deletedGuid, "The view's GUID")->required();
  remove->callback([&deletedGuid, &all] {
    UseDataFolder(all.dataDir);
    RunViewsDelete(deletedGuid);
  });
  for (CLI::App* command : {list, show, exportView, importView, remove})
    AddDataDirOption(*command, all.dataDir);
}

void AddDbCommands(CLI::App& app, Options& all) {
  auto* db = app.add_subcommand("db", "Inspect and maintain the views database of the data folder");
  db->require_subcommand(1);
  auto* info = db->add_subcommand(
      "info", "File, schema versions, counts per provider, counters, last maintenance");
  info->add_flag("--json", all.dbInfo.json, "Print JSON");
  info->callback([&all] {
    UseDataFolder(all.dataDir);
    RunDbInfo(all.dbInfo);
  });
  auto* check =
      db->add_subcommand("check", "Integrity check and views whose stored bytes cannot be read");
  check->add_flag("--json", all.dbCheck.json, "Print JSON");
  check->callback([&all] {
    UseDataFolder(all.dataDir);
    RunDbCheck(all.dbCheck);
  });
  auto* maintain =
      db->add_subcommand("maintain", "Upgrade the file if due, then run ANALYZE and VACUUM now");
  maintain->add_flag("--json", all.dbMaintain.json, "Print JSON");
  maintain->callback([&all] {
    UseDataFolder(all.dataDir);
    RunDbMaintain(all.dbMaintain);
  });
  for (CLI::App* command : {info, check, maintain}) AddDataDirOption(*command, all.dataDir);
}

// One or two examples under each command's --help.
void AddExamples(CLI::App& app) {
  struct Example {
    const char* command;  // the path of subcommand names
    const char* lines;
  };
  static constexpr Example kExamples[] = {
      {"bag dump",
       "prvdrinfo bag dump view.bag\n  prvdrinfo views export GUID - | prvdrinfo bag dump -"},
      {"demo", "prvdrinfo demo --keep"},
      {"ddl",
       "prvdrinfo ddl --example\n  prvdrinfo ddl table.json --apply project.db --upgrade --dry-run"},
      {"filter sql",
       "prvdrinfo filter sql filter.json --columns table.json\n  prvdrinfo filter sql filter.json --prefix where --params"},
      {"view show",
       "prvdrinfo view show view.bag\n  prvdrinfo view show view.bag --columns table.json --json"},
      {"view sql",
       "prvdrinfo view sql view.bag --columns table.json\n  prvdrinfo view sql view.bag --columns table.json --params --limit 50"},
      {"view run",
       "prvdrinfo view run open-tasks.view --db view-demo.db --columns tasks.json\n  prvdrinfo view run --view {GUID} --db project.db --columns table.json --format html"},
      {"provider show",
       "prvdrinfo provider show ./libtask_register.so\n  prvdrinfo provider show ./mine.so --class CMine --json\n  prvdrinfo provider show ./mine.so --class CMine --check"},
      {"providers save",
       "prvdrinfo providers save providers.bin ./libtask_register.so ./libchange_order_log.so"},
      {"providers show", "prvdrinfo providers show providers.bin --json"},
      {"views list",
       "prvdrinfo views list\n  prvdrinfo views list --data-dir /backup/prvdrinfo --json"},
      {"views show",
       "prvdrinfo views show {GUID} --columns table.json\n  prvdrinfo views show {GUID} --raw"},
      {"views export", "prvdrinfo views export {GUID} view.bag"},
      {"views import",
       "prvdrinfo views import view.bag\n  prvdrinfo views import view.bag --overwrite"},
      {"views delete", "prvdrinfo views export {GUID} backup.bag && prvdrinfo views delete {GUID}"},
      {"db info", "prvdrinfo db info\n  prvdrinfo db info --data-dir ~/copy-of-user-data --json"},
      {"db check", "prvdrinfo db check\n  prvdrinfo db check --json"},
      {"db maintain", "prvdrinfo db maintain"},
  };
  for (const Example& example : kExamples) {
    CLI::App* command = &app;
    std::istringstream names(example.command);
    for (std::string name; command && names >> name;) command = command->get_subcommand(name);
    if (!command) continue;
    const std::string before = command->get_footer();
    command->footer((before.empty() ? "" : before + "\n\n") + "Examples:\n  " + example.lines);
  }
}

// CLI11 says only that a subcommand is required when the word given is none it knows.
std::string UsageMessage(const CLI::App& app, const CLI::ParseError& error) {
  const CLI::App* command = &app;
  std::string path = "prvdrinfo";
  while (!command->get_subcommands().empty()) {
    command = command->get_subcommands().front();
    path += " " + command->get_name();
  }
  const auto unknown = command->remaining();
  if (!unknown.empty() && command->get_require_subcommand_min() > 0) {
    std::string known;
    for (const CLI::App* sub : command->get_subcommands({}))
      known += (known.empty() ? "" : ", ") + sub->get_name();
    return "unknown command \"" + unknown.front() + "\" for " + path + " (commands: " + known + ")";
  }
  return error.what();
}

}  // namespace

int RunCommandLine(int argc, char** argv) {
  Options options;
  CLI::App app{"prvdrinfo: provider metadata, property bags and views databases"};
  app.set_version_flag("--version", std::string("prvdrinfo ") + PRVDRINFO_VERSION);
  app.require_subcommand(1);
  AddBagCommands(app, options);
  AddDemoCommand(app, options);
  AddDdlCommand(app, options);
  AddFilterCommand(app, options);
  AddViewCommand(app, options);
  AddProviderCommands(app, options);
  AddViewsCommands(app, options);
  AddDbCommands(app, options);
  AddExamples(app);
  try {
    app.parse(argc, argv);  // runs the command named
  } catch (const CLI::ParseError& e) {
    // Help and version are "errors" that succeed.
    if (e.get_exit_code() == 0) return app.exit(e);
    throw UsageError(UsageMessage(app, e));
  }
  return 0;
}

}  // namespace prvdrinfo::tool
