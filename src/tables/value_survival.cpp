#include "tables/value_survival.h"

#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kCondition{"R4FQ6Z395V543P9TM7K6EM0LH", "ValueSurvival.Condition"};
constexpr ErrorSite kTypeName{"DVBS7AGZP3IUMUDBARN6LJGF8", "ValueSurvival.TypeName"};

// The number a value stands for, or NULL. Text counts when SQLite's numeric affinity, the
// same that converts it on its way into a number column, reads all of it as a number:
// comparing the text with its numeric cast applies exactly that affinity to the text.
std::string NumberOf(const std::string& x) {
  return "(CASE WHEN typeof(" + x + ") IN ('integer', 'real') THEN " + x + " WHEN typeof(" + x +
         ")='text' AND CAST(" + x + " AS TEXT)=CAST(" + x + " AS NUMERIC) THEN CAST(" + x +
         " AS NUMERIC) END)";
}

std::string NumberCondition(const std::string& x, const std::string& rule) {
  const std::string n = NumberOf(x);
  std::string condition = rule;
  for (size_t at = condition.find('#'); at != std::string::npos;
       at = condition.find('#', at + n.size())) {
    condition.replace(at, 1, n);
  }
  return "(" + n + " IS NOT NULL AND " + condition + ")";
}
}  // namespace

std::string ValueSurvival::Condition(e_VeskDataType type, const std::string& x) {
  return kCondition.Guard([&] {
    const std::string nothing =
        "typeof(" + x + ")='null' OR (typeof(" + x + ")='text' AND " + x + "='')";
    std::string rule;
    switch (type) {
      case datatype_String:
      case datatype_StringSmartSort:
      case datatype_StringRtf:
        // A double becomes text of 15 significant digits: only those it spells exactly survive.
        rule = "typeof(" + x + ") IN ('text', 'integer') OR (typeof(" + x +
               ")='real' AND CAST(CAST(" + x + " AS TEXT) AS REAL)=" + x + ")";
        break;
      case datatype_Integer:
        rule =
            NumberCondition(x, "# = CAST(# AS INTEGER) AND # BETWEEN -2147483648 AND 2147483647");
        break;
      case datatype_Boolean: rule = NumberCondition(x, "# IN (0, 1, -1)"); break;
      case datatype_Real:
      case datatype_Percentage:
        // SQLite compares integers with doubles exactly: a whole number a double would round fails.
        rule = NumberCondition(x, "CAST(# AS REAL) = #");
        break;
      case datatype_Currency:
        rule = NumberCondition(
            x, "# BETWEEN -922337203685477.5808 AND 922337203685477.5807 AND round(#, 4) = #");
        break;
      case datatype_DateUtc:
        // Automation dates run from 1 January 100 to the last moment of 9999.
        rule = NumberCondition(x, "# >= -657434 AND # < 2958466");
        break;
      case datatype_Blob: rule = "typeof(" + x + ") IN ('text', 'blob')"; break;
      default: kCondition.Raise(err::kInvalidProcedureCall, "Unknown VESK data type.");
    }
    return "(" + nothing + " OR " + rule + ")";
  });
}

std::string ValueSurvival::Converted(e_VeskDataType type, const std::string& x) {
  if (type == datatype_Blob)
    return "(CASE WHEN typeof(" + x + ")='text' THEN CAST(" + x + " AS BLOB) ELSE " + x + " END)";
  return x;
}

std::string ValueSurvival::TypeName(e_VeskDataType type) {
  switch (type) {
    case datatype_String: return "string";
    case datatype_StringSmartSort: return "smartsort";
    case datatype_StringRtf: return "rtf";
    case datatype_Currency: return "currency";
    case datatype_DateUtc: return "date";
    case datatype_Integer: return "integer";
    case datatype_Real: return "real";
    case datatype_Boolean: return "boolean";
    case datatype_Blob: return "blob";
    case datatype_Percentage: return "percentage";
  }
  kTypeName.Raise(err::kInvalidProcedureCall, "Unknown VESK data type.");
}

}  // namespace prvdrinfo
