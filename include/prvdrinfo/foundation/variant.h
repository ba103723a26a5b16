#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/currency.h"

namespace prvdrinfo {

using Bytes = std::vector<uint8_t>;

// Root of every library object that can travel inside a Variant.
class PRVDRINFO_API IObject {
 public:
  virtual ~IObject() = default;
};

enum class VariantType : int32_t {
  Empty = 0,
  Null = 1,
  Integer = 2,
  Long = 3,
  Single = 4,  // a column's value type (percentages); no Variant holds one
  Double = 5,
  Currency = 6,
  Date = 7,
  Text = 8,
  Object = 9,
  Boolean = 11,
  ByteArray = 8209,  // array of bytes, as the automation runtime numbers it
};

// The automation Variant. Integer (16-bit) and Long (32-bit) stay distinct, as do Date
// and Double, so that persisted values come back with the type they were written with.
class PRVDRINFO_API Variant {
 public:
  struct NullValue {
    bool operator==(const NullValue&) const = default;
  };
  struct DateValue {
    double value = 0;
    bool operator==(const DateValue&) const = default;
  };

  Variant() = default;
  Variant(int16_t v) : value_(v) {}
  Variant(int32_t v) : value_(v) {}
  Variant(bool v) : value_(v) {}
  Variant(double v) : value_(v) {}
  Variant(Currency v) : value_(v) {}
  Variant(std::string v) : value_(std::move(v)) {}
  Variant(std::string_view v) : value_(std::string(v)) {}
  Variant(const char* v) : value_(std::string(v)) {}
  Variant(Bytes v) : value_(std::move(v)) {}
  Variant(std::shared_ptr<IObject> v) : value_(std::move(v)) {}
  template <class T>
  requires std::is_base_of_v<IObject, T> Variant(std::shared_ptr<T> v)
      : value_(std::shared_ptr<IObject>(std::move(v))) {}

  static Variant Null() { return Variant(NullValue{}); }
  static Variant FromDate(double automationDate) { return Variant(DateValue{automationDate}); }

  VariantType Type() const;
  bool IsEmpty() const { return value_.index() == 0; }
  bool IsNull() const { return std::holds_alternative<NullValue>(value_); }
  bool IsText() const { return std::holds_alternative<std::string>(value_); }
  bool IsBytes() const { return std::holds_alternative<Bytes>(value_); }
  bool IsObject() const { return std::holds_alternative<std::shared_ptr<IObject>>(value_); }
  bool IsNumeric() const;  // Integer, Long, Double, Currency, Date or Boolean

  // Exact accessors: the value must hold that type, else error 13 "Type mismatch".
  int16_t AsInteger() const;
  int32_t AsLong() const;
  bool AsBoolean() const;
  double AsDouble() const;
  double AsDate() const;
  Currency AsCurrency() const;
  const std::string& AsText() const;
  const Bytes& AsBytes() const;
  const std::shared_ptr<IObject>& AsObject() const;

  // Coercions as the automation runtime assigns a Variant to a typed variable. Empty
  // gives 0, "" or False; Null gives 94 "Invalid use of Null"; objects, byte arrays and
  // unconvertible text give 13 "Type mismatch"; numbers outside the target range give
  // 6 "Overflow". Whole-number targets round half to even; True is -1.
  int16_t ToInteger() const;
  int32_t ToLong() const;
  bool ToBoolean() const;
  double ToDouble() const;
  double ToDate() const;
  Currency ToCurrency() const;
  // Numbers in invariant form (shortest text that reads back the same double, Date as
  // its day number), Booleans as "True"/"False".
  std::string ToText() const;
  Bytes ToBytes() const;  // Bytes, or empty for Empty; anything else 13

  template <class T>
  std::shared_ptr<T> ToObject() const;  // null for Empty; 13 when not a T

  // Same type and same value. Objects compare by identity.
  bool operator==(const Variant& other) const { return value_ == other.value_; }

 private:
  explicit Variant(NullValue v) : value_(v) {}
  explicit Variant(DateValue v) : value_(v) {}

  std::variant<std::monostate, NullValue, int16_t, int32_t, bool, double, DateValue, Currency,
               std::string, Bytes, std::shared_ptr<IObject>>
      value_;
};

[[noreturn]] PRVDRINFO_API void RaiseTypeMismatch();

template <class T>
std::shared_ptr<T> Variant::ToObject() const {
  if (IsEmpty()) return nullptr;
  if (!IsObject()) RaiseTypeMismatch();
  const auto& object = AsObject();
  if (!object) return nullptr;
  auto cast = std::dynamic_pointer_cast<T>(object);
  if (!cast) RaiseTypeMismatch();
  return cast;
}

}  // namespace prvdrinfo
