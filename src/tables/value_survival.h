#pragma once

#include <string>

#include "prvdrinfo/columns/column_enums.h"

namespace prvdrinfo {

// Which stored values keep their meaning when their column takes another data type, as
// SQL over one value, so that a table of any size is judged where it lies. A value
// survives when the column of the new type holds it exactly and the library reads it back
// as that type: NULL and empty text (the library's own default) always do; the rest is
// written down per type in docs/tables.md.
class ValueSurvival {
 public:
  // An SQL condition, true when the value (an SQL expression) survives a column of the
  // type. Unknown types raise 5.
  static std::string Condition(e_VeskDataType type, const std::string& value);
  // The value as the copy writes it into a column of the type: SQLite's column affinity
  // converts numbers and numeric text; text bound for a byte column becomes its bytes.
  static std::string Converted(e_VeskDataType type, const std::string& value);
  // The type's name in messages: "string", "integer", ...
  static std::string TypeName(e_VeskDataType type);
};

}  // namespace prvdrinfo
