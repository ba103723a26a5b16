#include "prvdrinfo/foundation/variant.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/unicode.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kCoerce{"VARK3N7QX2RM8TB5WZ4HJ6LPC", "Variant"};

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
// clang 14 does not deduce aggregate template arguments without a guide.
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

[[noreturn]] void RaiseOverflow() { kCoerce.Raise(err::kOverflow); }
[[noreturn]] void RaiseNull() { kCoerce.Raise(err::kInvalidUseOfNull); }

int64_t RoundHalfEvenChecked(double value, int64_t low, int64_t high) {
  if (!std::isfinite(value)) RaiseOverflow();
  const double rounded = std::nearbyint(value);  // default rounding mode: half to even
  if (rounded < static_cast<double>(low) || rounded > static_cast<double>(high)) RaiseOverflow();
  return static_cast<int64_t>(rounded);
}

// Decimal text as the runtime's conversions read it: optional sign, digits, point,
// exponent, surrounding spaces. Anything else is a type mismatch.
double ParseNumber(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t");
  size_t end = text.find_last_not_of(" \t");
  if (begin == std::string::npos) kCoerce.Raise(err::kTypeMismatch);
  const char* first = text.data() + begin;
  const char* last = text.data() + end + 1;
  if (*first == '+') ++first;
  double value = 0;
  auto [ptr, ec] = std::from_chars(first, last, value);
  if (ec == std::errc::result_out_of_range) RaiseOverflow();
  if (ec != std::errc() || ptr != last) kCoerce.Raise(err::kTypeMismatch);
  return value;
}

bool EqualsIgnoreCase(const std::string& text, std::string_view word) {
  return unicode::FoldCase(text) == word;
}
}  // namespace

void RaiseTypeMismatch() { kCoerce.Raise(err::kTypeMismatch); }

VariantType Variant::Type() const {
  return std::visit(
      Overloaded{
          [](std::monostate) { return VariantType::Empty; },
          [](NullValue) { return VariantType::Null; }, [](int16_t) { return VariantType::Integer; },
          [](int32_t) { return VariantType::Long; }, [](bool) { return VariantType::Boolean; },
          [](double) { return VariantType::Double; }, [](DateValue) { return VariantType::Date; },
          [](Currency) { return VariantType::Currency; },
          [](const std::string&) { return VariantType::Text; },
          [](const Bytes&) { return VariantType::ByteArray; },
          [](const std::shared_ptr<IObject>&) { return VariantType::Object; }},
      value_);
}

bool Variant::IsNumeric() const {
  switch (Type()) {
    case VariantType::Integer:
    case VariantType::Long:
    case VariantType::Boolean:
    case VariantType::Double:
    case VariantType::Date:
    case VariantType::Currency: return true;
    default: return false;
  }
}

int16_t Variant::AsInteger() const {
  if (auto* v = std::get_if<int16_t>(&value_)) return *v;
  RaiseTypeMismatch();
}
int32_t Variant::AsLong() const {
  if (auto* v = std::get_if<int32_t>(&value_)) return *v;
  RaiseTypeMismatch();
}
bool Variant::AsBoolean() const {
  if (auto* v = std::get_if<bool>(&value_)) return *v;
  RaiseTypeMismatch();
}
double Variant::AsDouble() const {
  if (auto* v = std::get_if<double>(&value_)) return *v;
  RaiseTypeMismatch();
}
double Variant::AsDate() const {
  if (auto* v = std::get_if<DateValue>(&value_)) return v->value;
  RaiseTypeMismatch();
}
Currency Variant::AsCurrency() const {
  if (auto* v = std::get_if<Currency>(&value_)) return *v;
  RaiseTypeMismatch();
}
const std::string& Variant::AsText() const {
  if (auto* v = std::get_if<std::string>(&value_)) return *v;
  RaiseTypeMismatch();
}
const Bytes& Variant::AsBytes() const {
  if (auto* v = std::get_if<Bytes>(&value_)) return *v;
  RaiseTypeMismatch();
}
const std::shared_ptr<IObject>& Variant::AsObject() const {
  if (auto* v = std::get_if<std::shared_ptr<IObject>>(&value_)) return *v;
  RaiseTypeMismatch();
}

double Variant::ToDouble() const {
  return std::visit(
      Overloaded{[](std::monostate) { return 0.0; }, [](NullValue) -> double { RaiseNull(); },
                 [](int16_t v) { return static_cast<double>(v); },
                 [](int32_t v) { return static_cast<double>(v); },
                 [](bool v) { return v ? -1.0 : 0.0; }, [](double v) { return v; },
                 [](DateValue v) { return v.value; }, [](Currency v) { return v.ToDouble(); },
                 [](const std::string& v) {
                   if (EqualsIgnoreCase(v, "true")) return -1.0;
                   if (EqualsIgnoreCase(v, "false")) return 0.0;
                   return ParseNumber(v);
                 },
                 [](const Bytes&) -> double { RaiseTypeMismatch(); },
                 [](const std::shared_ptr<IObject>&) -> double { RaiseTypeMismatch(); }},
      value_);
}

int32_t Variant::ToLong() const {
  if (auto* v = std::get_if<int32_t>(&value_)) return *v;
  if (auto* v = std::get_if<int16_t>(&value_)) return *v;
  if (auto* v = std::get_if<Currency>(&value_)) {
    // Exact: round the scaled integer half to even without going through double.
    const int64_t scaled = v->Scaled();
    int64_t whole = scaled / Currency::kScale;
    const int64_t rest = scaled % Currency::kScale;
    const int64_t twice = 2 * (rest < 0 ? -rest : rest);
    if (twice > Currency::kScale || (twice == Currency::kScale && whole % 2 != 0)) {
      whole += rest < 0 ? -1 : 1;
    }
    if (whole < std::numeric_limits<int32_t>::min() ||
        whole > std::numeric_limits<int32_t>::max()) {
      RaiseOverflow();
    }
    return static_cast<int32_t>(whole);
  }
  return static_cast<int32_t>(RoundHalfEvenChecked(ToDouble(), std::numeric_limits<int32_t>::min(),
                                                   std::numeric_limits<int32_t>::max()));
}

int16_t Variant::ToInteger() const {
  const int32_t value = ToLong();
  if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max()) {
    RaiseOverflow();
  }
  return static_cast<int16_t>(value);
}

bool Variant::ToBoolean() const {
  if (auto* v = std::get_if<bool>(&value_)) return *v;
  if (auto* v = std::get_if<Currency>(&value_)) return v->Scaled() != 0;
  return ToDouble() != 0.0;
}

double Variant::ToDate() const { return ToDouble(); }

Currency Variant::ToCurrency() const {
  if (auto* v = std::get_if<Currency>(&value_)) return *v;
  if (auto* v = std::get_if<std::string>(&value_)) {
    if (!EqualsIgnoreCase(*v, "true") && !EqualsIgnoreCase(*v, "false")) {
      return Currency::FromString(*v);
    }
  }
  return Currency::FromDouble(ToDouble());
}

std::string Variant::ToText() const {
  auto number = [](double v) {
    char buffer[32];
    auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
    return ec == std::errc() ? std::string(buffer, ptr) : std::string("0");
  };
  return std::visit(
      Overloaded{[](std::monostate) { return std::string(); },
                 [](NullValue) -> std::string { RaiseNull(); },
                 [](int16_t v) { return std::to_string(v); },
                 [](int32_t v) { return std::to_string(v); },
                 [](bool v) { return std::string(v ? "True" : "False"); },
                 [&](double v) { return number(v); }, [&](DateValue v) { return number(v.value); },
                 [](Currency v) { return v.ToString(); }, [](const std::string& v) { return v; },
                 [](const Bytes&) -> std::string { RaiseTypeMismatch(); },
                 [](const std::shared_ptr<IObject>&) -> std::string { RaiseTypeMismatch(); }},
      value_);
}

Bytes Variant::ToBytes() const {
  if (IsEmpty()) return {};
  return AsBytes();
}

}  // namespace prvdrinfo
