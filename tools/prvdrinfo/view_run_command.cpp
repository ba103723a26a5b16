// prvdrinfo view run: a view's SELECT run on a project database, its rows printed for a
// terminal, as CSV, as JSON or as a page to print (docs/view-query.md).

#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "prvdrinfo/db/command.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/foundation/currency.h"
#include "prvdrinfo/services/stock_enums.h"
#include "prvdrinfo/services/vesk.h"
#include "prvdrinfo/tables/provider_table_def.h"
#include "prvdrinfo/views/page_templates.h"
#include "prvdrinfo/views/provider_view.h"
#include "prvdrinfo/views/view_query.h"
#include "prvdrinfo/viewsdb/db_helpers.h"
#include "prvdrinfo/viewsdb/provider_views_db.h"

namespace prvdrinfo::tool {

namespace {

using nlohmann::json;

// What the statement returned, with what each column needs to be shown.
struct Column {
  std::string guid;
  std::string caption;
  e_VeskDataType type = datatype_String;
  int32_t widthTwips = 0;
  int sort = 0;  // 1 ascending, -1 descending, 0 not a sort key
};
struct Rows {
  std::string caption;  // the view's
  std::vector<Column> columns;
  std::vector<std::vector<Variant>> values;
};

std::string TwoDigits(int64_t n) { return (n < 10 ? "0" : "") + std::to_string(n); }

// An automation date as ISO 8601: the day, and the time of day when it has one. The
// whole part is the day and the fraction its time, on either side of 1899-12-30 (-1.25
// is 1899-12-29 06:00), as the platform reads it.
std::string IsoDate(double date) {
  using namespace std::chrono;
  if (!std::isfinite(date) || date < -657434.0 || date >= 2958466.0) return Variant(date).ToText();
  const double day = std::trunc(date);
  auto seconds = static_cast<int64_t>(std::llround(std::fabs(date - day) * 86400.0));
  auto days = static_cast<int64_t>(day);
  if (seconds == 86400) {  // rounds up to the next day
    seconds = 0;
    days += 1;
  }
  const year_month_day ymd{sys_days{year{1899} / December / 30} + std::chrono::days{days}};
  std::string text = std::to_string(static_cast<int>(ymd.year()));
  text = std::string(text.size() < 4 ? 4 - text.size() : 0, '0') + text;
  text += "-" + TwoDigits(static_cast<unsigned>(ymd.month())) + "-" +
          TwoDigits(static_cast<unsigned>(ymd.day()));
  if (seconds != 0) {
    text += "T" + TwoDigits(seconds / 3600) + ":" + TwoDigits(seconds / 60 % 60) + ":" +
            TwoDigits(seconds % 60);
  }
  return text;
}

// Currency with its four decimals, always: 12.5 reads "12.5000".
std::string Money(Currency value) {
  const int64_t scaled = value.Scaled();
  const uint64_t magnitude =
      scaled < 0 ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
  std::string decimals = std::to_string(magnitude % 10000);
  decimals.insert(0, 4 - decimals.size(), '0');
  return (scaled < 0 ? "-" : "") + std::to_string(magnitude / 10000) + "." + decimals;
}

// A value as people read it, by the column's type; a value that is no number where the
// type wants one is shown as the text it is.
std::string Text(const Variant& value, e_VeskDataType type) {
  if (value.IsNull() || value.IsEmpty()) return "";
  if (value.IsBytes()) return std::to_string(value.AsBytes().size()) + " bytes";
  if (!value.IsNumeric()) return value.ToText();
  switch (type) {
    case datatype_Currency: try { return Money(Currency::FromDouble(value.ToDouble()));
      } catch (const CError&) {
        return value.ToText();  // beyond the currency range
      }
    case datatype_DateUtc: return IsoDate(value.ToDouble());
    case datatype_Boolean: return value.ToDouble() != 0 ? "True" : "False";
    default: return value.ToText();
  }
}

json JsonValue(const Variant& value, e_VeskDataType type) {
  if (value.IsNull() || value.IsEmpty()) return nullptr;
  if (value.IsNumeric() && type == datatype_Boolean) return value.ToDouble() != 0;
  if (value.IsNumeric() && type != datatype_Currency && type != datatype_DateUtc) {
    if (value.Type() == VariantType::Double) return value.AsDouble();
    return value.ToDouble() == std::trunc(value.ToDouble())
               ? json(static_cast<int64_t>(value.ToDouble()))
               : json(value.ToDouble());
  }
  return Text(value, type);
}

// Terminal columns a text takes: one per code point, as far as a plain terminal goes.
size_t Width(const std::string& text) {
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

bool RightAligned(e_VeskDataType type) {
  return type == datatype_Currency || type == datatype_Integer || type == datatype_Real ||
         type == datatype_Percentage;
}

// An empty cell stays blank: NULL and "" read the same in a grid.
std::string Cell(const std::string& text) { return text.empty() ? text : Printed(text); }

void PrintTable(const Rows& rows, std::ostream& out) {
  // Captions and values come from files: whatever could steer the terminal is quoted.
  std::vector<std::vector<std::string>> cells;
  std::vector<std::string> head;
  for (const Column& column : rows.columns) head.push_back(Cell(column.caption));
  for (const auto& row : rows.values) {
    std::vector<std::string> line;
    for (size_t i = 0; i < row.size(); ++i)
      line.push_back(Cell(Text(row[i], rows.columns[i].type)));
    cells.push_back(std::move(line));
  }
  std::vector<size_t> widths;
  for (size_t i = 0; i < head.size(); ++i) {
    size_t width = Width(head[i]);
    for (const auto& line : cells) width = std::max(width, Width(line[i]));
    widths.push_back(width);
  }
  auto print = [&](const std::vector<std::string>& line) {
    std::string text;
    for (size_t i = 0; i < line.size(); ++i) {
      const std::string pad(widths[i] - Width(line[i]), ' ');
      if (i > 0) text += "  ";
      text += RightAligned(rows.columns[i].type) ? pad + line[i] : line[i] + pad;
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    out << text << '\n';
  };
  print(head);
  std::vector<std::string> rule;
  for (size_t width : widths) rule.emplace_back(width, '-');
  print(rule);
  for (const auto& line : cells) print(line);
  out << "(" << rows.values.size() << (rows.values.size() == 1 ? " row)\n" : " rows)\n");
}

// RFC 4180: CRLF ends each record; a field holding a comma, quote, CR or LF is quoted,
// its quotes doubled.
std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

void PrintCsv(const Rows& rows, std::ostream& out) {
  auto print = [&](const std::vector<std::string>& fields) {
    for (size_t i = 0; i < fields.size(); ++i) out << (i ? "," : "") << CsvField(fields[i]);
    out << "\r\n";
  };
  std::vector<std::string> head;
  for (const Column& column : rows.columns) head.push_back(column.caption);
  print(head);
  for (const auto& row : rows.values) {
    std::vector<std::string> fields;
    for (size_t i = 0; i < row.size(); ++i) fields.push_back(Text(row[i], rows.columns[i].type));
    print(fields);
  }
}

// Keyed by column GUID: unique and stable, where captions may repeat or change.
void PrintJson(const Rows& rows, std::ostream& out) {
  nlohmann::ordered_json array = nlohmann::ordered_json::array();
  for (const auto& row : rows.values) {
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    for (size_t i = 0; i < row.size(); ++i)
      object[rows.columns[i].guid] = JsonValue(row[i], rows.columns[i].type);
    array.push_back(std::move(object));
  }
  out << array.dump(2, ' ', false, json::error_handler_t::replace) << '\n';
}

// HTML text: markup characters escaped, controls HTML does not allow and bytes that are
// no UTF-8 shown as U+FFFD.
std::string Html(const std::string& text) {
  const std::string valid =
      json::parse(json(text).dump(-1, ' ', false, json::error_handler_t::replace))
          .get<std::string>();
  std::string escaped;
  for (const char c : valid) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      case '\'': escaped += "&#39;"; break;
      default:
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') ||
            c == '\x7F') {
          escaped += "&#xFFFD;";
        } else {
          escaped += c;
        }
    }
  }
  return escaped;
}

// CSS page sizes of the printer paper numbers; a size CSS has no name for is given
// in its measures, a custom or unknown one is left to the printer.
std::string CssPaperSize(int32_t paper) {
  switch (paper) {
    case papersize_Letter:
    case papersize_LetterSmall:
    case papersize_Note: return "letter";
    case papersize_Legal: return "legal";
    case papersize_Tabloid:
    case papersize_11x17: return "11in 17in";
    case papersize_Ledger: return "17in 11in";
    case papersize_Statement: return "5.5in 8.5in";
    case papersize_Executive: return "7.25in 10.5in";
    case papersize_A2: return "420mm 594mm";
    case papersize_A3: return "A3";
    case papersize_A4:
    case papersize_A4Small: return "A4";
    case papersize_A5: return "A5";
    case papersize_A6: return "105mm 148mm";
    case papersize_B4: return "B4";
    case papersize_B5: return "B5";
    case papersize_Folio: return "8.5in 13in";
    case papersize_Quarto: return "215mm 275mm";
    case papersize_10x14: return "10in 14in";
    case papersize_CSheet: return "17in 22in";
    case papersize_DSheet: return "22in 34in";
    case papersize_ESheet: return "34in 44in";
    default: return "";
  }
}

// Twips to points, which CSS takes exactly (20 twips a point).
std::string Points(int32_t twips) {
  char text[32];
  std::snprintf(text, sizeof text, "%gpt", twips / 20.0);
  return text;
}

void PrintHtml(const Rows& rows, const std::shared_ptr<CPageTemplate>& page, std::ostream& out) {
  std::string size = page ? CssPaperSize(page->PaperSize()) : "";
  if (page)
    size += std::string(size.empty() ? "" : " ") +
            (page->PaperOrientation() == paperorient_Landscape ? "landscape" : "portrait");
  int64_t tableTwips = 0;
  for (const Column& column : rows.columns) tableTwips += std::max(column.widthTwips, 0);
  out << "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>" << Html(rows.caption)
      << "</title>\n<style>\n";
  if (!size.empty()) out << "@page { size: " << size << "; }\n";
  out << "body { font-family: sans-serif; font-size: 10pt; }\n"
         "table { border-collapse: collapse; table-layout: fixed; width: "
      << Points(static_cast<int32_t>(std::min<int64_t>(tableTwips, INT32_MAX)))
      << "; }\n"
         "th, td { border: 0.5pt solid #888; padding: 1pt 3pt; overflow: hidden; text-align: left; "
         "vertical-align: top; }\n"
         "td.number { text-align: right; }\n"
         "thead { display: table-header-group; }\n"
         "th.sort-ascending::after { content: \" \\25B2\"; }\n"
         "th.sort-descending::after { content: \" \\25BC\"; }\n"
         "</style>\n</head>\n<body>\n<h1>"
      << Html(rows.caption) << "</h1>\n<table>\n<colgroup>\n";
  for (const Column& column : rows.columns)
    out << "<col style=\"width: " << Points(column.widthTwips) << "\">\n";
  out << "</colgroup>\n<thead>\n<tr>\n";
  for (const Column& column : rows.columns) {
    out << "<th scope=\"col\"";
    if (column.sort != 0) {
      const char* way = column.sort > 0 ? "ascending" : "descending";
      out << " class=\"sort-" << way << "\" aria-sort=\"" << way << "\"";
    }
    out << ">" << Html(column.caption) << "</th>\n";
  }
  out << "</tr>\n</thead>\n<tbody>\n";
  for (const auto& row : rows.values) {
    out << "<tr>";
    for (size_t i = 0; i < row.size(); ++i) {
      out << (RightAligned(rows.columns[i].type) ? "<td class=\"number\">" : "<td>")
          << Html(Text(row[i], rows.columns[i].type)) << "</td>";
    }
    out << "</tr>\n";
  }
  out << "</tbody>\n</table>\n</body>\n</html>\n";
}

LoadedView ViewToRun(const ViewRunOptions& options) {
  if (options.viewGuid) {
    if (options.dataDir) CVesk::SetDataFolder(*options.dataDir);
    OpenExistingViewsDatabase();  // reading never creates the file
    const auto view = CProviderViewsDb().GetViewByGuid(*options.viewGuid);
    if (!view) throw CommandFailed("no view with GUID " + *options.viewGuid);
    return {view, view->Guid()};
  }
  const Bytes bytes = ReadInput(options.input);
  return NamingInput(InputName(options.input), [&] { return ViewFromBytes(bytes); });
}

std::shared_ptr<CPageTemplate> PageOf(const CProviderView& view, const ViewRunOptions& options) {
  if (!options.templates || view.TemplateGuid().empty()) return nullptr;
  const Bytes bytes = ReadInput(*options.templates);
  return NamingInput(InputName(*options.templates), [&]() -> std::shared_ptr<CPageTemplate> {
    CPageTemplates templates;
    templates.Deserialize(bytes);
    return templates.Exists(view.TemplateGuid()) ? templates.TemplateByGuid(view.TemplateGuid())
                                                 : nullptr;
  });
}

// The rows' columns: what the view shows, in its order, with its captions and widths.
Rows Layout(const CProviderView& view, const ViewQuery& query) {
  Rows rows;
  rows.caption = view.Caption();
  const auto viewColumns = view.Columns();
  const auto sort = view.SortOrder();
  for (const ViewQueryColumn& column : query.Columns) {
    // The record GUID column the statement adds is for the host, not for the reader.
    const bool shown =
        viewColumns->Exists(column.Guid) && viewColumns->Column(column.Guid)->Visible();
    if (!shown) continue;
    Column out{column.Guid, column.Caption.empty() ? column.Guid : column.Caption, column.DataType,
               viewColumns->Column(column.Guid)->WidthTwips(), 0};
    if (!column.Computed && sort->Exists(column.Guid))
      out.sort = sort->Column(column.Guid)->Direction() == colsort_Descending ? -1 : 1;
    rows.columns.push_back(out);
  }
  return rows;
}

// Runs the statement with its values bound, on a connection that cannot write.
void ReadRows(const ViewQuery& query, const std::string& file, Rows& rows) {
  const auto db = Connection::Open(file, Connection::OpenMode::ReadOnly);
  if (query.UsesSmartSort) db->AddUserCollation(std::make_shared<CDbHelpers>());
  const auto command = db->CreateCommand(query.ParameterizedSql);
  for (size_t i = 0; i < query.Parameters.size(); ++i)
    command->SetValue(static_cast<int32_t>(i + 1), query.Parameters[i]);
  auto recordset = command->OpenRecordset();
  for (; !recordset->Eof(); recordset->MoveNext()) {
    std::vector<Variant> row;
    for (const Column& column : rows.columns) row.push_back(recordset->Value(column.guid));
    rows.values.push_back(std::move(row));
  }
}

}  // namespace

void RunViewRun(const ViewRunOptions& options) {
  if (options.format != "table" && options.format != "csv" && options.format != "json" &&
      options.format != "html") {
    throw UsageError("view run --format takes table, csv, json or html, not \"" + options.format +
                     "\"");
  }
  const auto table = TableDefinitionFrom(options.columns);
  const LoadedView loaded = ViewToRun(options);
  const auto page = options.format == "html" ? PageOf(*loaded.view, options) : nullptr;
  const std::string source =
      options.viewGuid ? "view " + *options.viewGuid : InputName(options.input);
  const ViewQuery query = NamingInput(source, [&] {
    return BuildViewQuery(*loaded.view, table->TableName(), *table->Columns(), {options.limit, 0});
  });
  Rows rows = Layout(*loaded.view, query);
  NamingInput(options.db, [&] { ReadRows(query, options.db, rows); });
  if (options.format == "table") PrintTable(rows, std::cout);
  if (options.format == "csv") PrintCsv(rows, std::cout);
  if (options.format == "json") PrintJson(rows, std::cout);
  if (options.format == "html") PrintHtml(rows, page, std::cout);
}

}  // namespace prvdrinfo::tool
