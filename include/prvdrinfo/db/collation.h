#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "prvdrinfo/foundation/export.h"

namespace prvdrinfo {

// A user collation that a connection makes available to SQL (COLLATE name).
// One object may define several collations: DefinedNames lists them separated by
// commas ("SmartSort" or "SmartSort, Other"); surrounding spaces are ignored and SQL
// matches the names without regard to ASCII case. CallbackCollate gets the 0-based
// position of the name in that list and the two UTF-8 texts, and answers negative,
// zero or positive. An exception from CallbackCollate cannot travel through SQLite:
// the comparison counts as equal and the statement then fails with that exception.
// Ownership: the host makes the object; Connection::AddUserCollation shares it with
// SQLite until the names are registered again or the connection closes.
class PRVDRINFO_API ICollation {
 public:
  virtual ~ICollation() = default;
  virtual std::string DefinedNames() = 0;
  virtual int32_t CallbackCollate(int32_t index, std::string_view left, std::string_view right) = 0;
};

}  // namespace prvdrinfo
