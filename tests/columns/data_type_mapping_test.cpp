#include "prvdrinfo/columns/data_type_mapping.h"

#include <gtest/gtest.h>

#include <climits>

#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {
namespace {

struct MappingCase {
  e_VeskDataType dataType;
  VariantType expected;
  int32_t number;
};

TEST(DataTypeMapping, MapsEveryDataTypeToItsValueType) {
  const MappingCase cases[] = {
      {datatype_String, VariantType::Text, 8},
      {datatype_StringSmartSort, VariantType::Text, 8},
      {datatype_StringRtf, VariantType::Text, 8},
      {datatype_Currency, VariantType::Currency, 6},
      {datatype_DateUtc, VariantType::Date, 7},
      {datatype_Integer, VariantType::Long, 3},
      {datatype_Real, VariantType::Double, 5},
      {datatype_Boolean, VariantType::Boolean, 11},
      {datatype_Blob, VariantType::ByteArray, 8209},
      {datatype_Percentage, VariantType::Single, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.dataType));
    const VariantType mapped = VariantTypeOfVeskDataType(c.dataType);
    EXPECT_EQ(mapped, c.expected);
    EXPECT_EQ(static_cast<int32_t>(mapped), c.number);
  }
}

TEST(DataTypeMapping, RejectsValuesOutsideTheEnumeration) {
  for (const int32_t value : {-1, 10, 11, INT_MIN, INT_MAX}) {
    SCOPED_TRACE(value);
    try {
      VariantTypeOfVeskDataType(static_cast<e_VeskDataType>(value));
      FAIL() << "no error";
    } catch (const CError& e) {
      EXPECT_EQ(e.Number(), 5);
      EXPECT_EQ(e.Description(), "Unknown VESK data type.");
    }
  }
}

}  // namespace
}  // namespace prvdrinfo
