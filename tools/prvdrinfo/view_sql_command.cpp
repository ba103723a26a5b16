// prvdrinfo view sql: the SELECT that reads a stored view's records from its provider's
// table (docs/view-query.md).

#include <iostream>
#include <sstream>
#include <string>

#include "commands.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/tables/provider_table_def.h"
#include "prvdrinfo/views/provider_view.h"
#include "prvdrinfo/views/view_query.h"

namespace prvdrinfo::tool {

namespace {

const char* ReasonText(e_ViewQuerySkipReason reason) {
  switch (reason) {
    case viewqueryskip_Hidden: return "hidden";
    case viewqueryskip_Deleted: return "not in the table";
    case viewqueryskip_Computed: return "computed";
  }
  return "left out";
}

// The statement, then SQL comments on what it leaves out and what it needs, so that the
// output still runs as it is. Names in comments are quoted: none can end the comment.
std::string QueryText(const ViewQuery& query, bool params) {
  std::ostringstream out;
  out << Printed(params ? query.ParameterizedSql : query.Sql) << '\n';
  if (params) {
    for (size_t i = 0; i < query.Parameters.size(); ++i) {
      out << "?" << (i + 1) << " = " << Printed(SqlService::SqlLiteral(query.Parameters[i]))
          << '\n';
    }
  }
  for (const ViewQuerySkip& skip : query.Skipped) {
    out << "-- " << (skip.SortKey ? "sort key" : "column") << ' ' << Quoted(skip.Guid)
        << " left out: " << ReasonText(skip.Reason) << '\n';
  }
  for (const ViewQueryColumn& column : query.Columns) {
    if (column.Computed)
      out << "-- column " << Quoted(column.Guid) << " is computed: always NULL\n";
  }
  if (query.UsesSmartSort) out << "-- needs the SmartSort collation on the connection\n";
  return out.str();
}

}  // namespace

void RunViewSql(const ViewSqlOptions& options) {
  const std::string source = InputName(options.input);
  // The columns file names itself in its errors.
  const auto table = TableDefinitionFrom(options.columns);
  const Bytes bytes = ReadInput(options.input);
  std::cout << NamingInput(source, [&] {
    const LoadedView stored = ViewFromBytes(bytes);
    const ViewQuery query = BuildViewQuery(*stored.view, table->TableName(), *table->Columns(),
                                           {options.limit, options.offset});
    return QueryText(query, options.params);
  });
}

}  // namespace prvdrinfo::tool
