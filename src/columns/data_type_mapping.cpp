#include "prvdrinfo/columns/data_type_mapping.h"

#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kMap{"WLQX8TZLL8NU8QNCGFZVP46I4", "VariantTypeOfVeskDataType"};
}  // namespace

VariantType VariantTypeOfVeskDataType(e_VeskDataType p_VeskDataType) {
  switch (p_VeskDataType) {
    case datatype_String:
    case datatype_StringSmartSort:
    case datatype_StringRtf: return VariantType::Text;
    case datatype_Currency: return VariantType::Currency;
    case datatype_DateUtc: return VariantType::Date;
    case datatype_Integer: return VariantType::Long;
    case datatype_Real: return VariantType::Double;
    case datatype_Boolean: return VariantType::Boolean;
    case datatype_Blob: return VariantType::ByteArray;
    case datatype_Percentage: return VariantType::Single;
  }
  kMap.Raise(err::kInvalidProcedureCall, "Unknown VESK data type.");
}

}  // namespace prvdrinfo
