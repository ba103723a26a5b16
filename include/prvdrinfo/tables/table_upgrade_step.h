#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "prvdrinfo/foundation/export.h"

namespace prvdrinfo {

// One step of a table upgrade: what it does in one line, how many rows it copies, and the
// SQL statements it runs, in order. Made by TableUpgradePlanner; a plain value.
class PRVDRINFO_API TableUpgradeStep {
 public:
  enum Kind : int32_t {
    kCreateTable,   // the table is missing: its statements and the deletion log
    kRenameColumn,  // ALTER TABLE RENAME COLUMN
    kAddColumn,     // ALTER TABLE ADD COLUMN
    kDropIndex,     // an index of the host's on a column the table loses
    kCreateIndex,   // an index or trigger the definition makes and the table lacks
    kCreateTrigger,
    kReplaceIndex,  // made by the definition under that name, but otherwise: dropped and made again
    kReplaceTrigger,
    kRebuildTable,  // a new table, every row copied, the old one dropped and the new one renamed
  };

  TableUpgradeStep(Kind kind, std::string description, int64_t rowsCopied,
                   std::vector<std::string> statements)
      : kind_(kind),
        description_(std::move(description)),
        rowsCopied_(rowsCopied),
        statements_(std::move(statements)) {}

  Kind StepKind() const { return kind_; }
  // One line, for instance "rebuild table Tasks, copying 1200 rows: remove column Due
  // (1150 values)".
  const std::string& Description() const { return description_; }
  // The rows the step copies, as the table held them when the plan was made.
  int64_t RowsCopied() const { return rowsCopied_; }
  const std::vector<std::string>& Statements() const { return statements_; }

 private:
  Kind kind_;
  std::string description_;
  int64_t rowsCopied_;
  std::vector<std::string> statements_;
};

}  // namespace prvdrinfo
