// prvdrinfo bag dump [FILE|-]: shows what stored property-bag bytes hold.

#include <CLI/CLI.hpp>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>

#include "commands.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/keyed_collection.h"
#include "prvdrinfo/foundation/keyed_items.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/foundation/property_bag.h"

namespace prvdrinfo::tool {

namespace {

// Nested documents inside byte arrays (a collection's contents stored under a key) are
// shown decoded as well, to this depth.
constexpr int kMaxShownDepth = 16;

std::string Quoted(const std::string& text) {
  return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// Keys print bare when that cannot be misread, else quoted.
std::string KeyText(const std::string& key) {
  if (key.empty()) return "\"\"";
  for (char c : key) {
    const auto u = static_cast<unsigned char>(c);
    if (u <= 0x20 || u == 0x7F || c == '"' || c == ':' || c == '\\') return Quoted(key);
  }
  return key;
}

std::string HexOf(const Bytes& bytes) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (uint8_t b : bytes) {
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

std::string Number(double value) {
  char buffer[40];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return ec == std::errc() ? std::string(buffer, end) : "?";
}

// An automation date as calendar text: days since 1899-12-30, the fraction the time of day
// (for dates before that day, the fraction still counts forward from midnight).
std::string DateText(double date) {
  if (!std::isfinite(date) || std::fabs(date) > 2958466.0) return "out of range";
  using namespace std::chrono;
  const double whole = std::trunc(date);
  auto seconds = static_cast<int64_t>(std::llround(std::fabs(date - whole) * 86400.0));
  auto days = static_cast<int64_t>(whole);
  if (seconds >= 86400) {
    seconds -= 86400;
    days += date < 0 ? -1 : 1;
  }
  const year_month_day ymd{sys_days{1899y / December / 30} + std::chrono::days{days}};
  std::ostringstream out;
  out << std::setfill('0') << std::setw(4) << static_cast<int>(ymd.year()) << '-' << std::setw(2)
      << static_cast<unsigned>(ymd.month()) << '-' << std::setw(2) << static_cast<unsigned>(ymd.day()) << ' '
      << std::setw(2) << seconds / 3600 << ':' << std::setw(2) << seconds / 60 % 60 << ':' << std::setw(2)
      << seconds % 60;
  return out.str();
}

bool LooksLikeDocument(const Bytes& bytes) {
  return bytes.size() >= 3 && bytes[0] == 0xD9 && bytes[1] == 0xD9 && bytes[2] == 0xF7;
}

// The keyed-items form names itself with a 15-character text, the bag with 13 (0x6F / 0x6D).
bool LooksLikeItems(const Bytes& bytes) { return LooksLikeDocument(bytes) && bytes.size() > 4 && bytes[4] == 0x6F; }

void DumpEntries(const std::vector<PropertyBag::Entry>& entries, bool items, int depth, std::ostream& out);

void DumpValue(const PropertyBag::Entry& entry, int depth, std::ostream& out) {
  const std::string indent(static_cast<size_t>(depth) * 2, ' ');
  if (entry.nested) {
    const auto& properties = entry.nested->properties;
    const size_t count = properties ? properties->Count() : 0;
    out << "Object " << entry.nested->className << " (" << count << (count == 1 ? " entry)" : " entries)")
        << '\n';
    if (properties) DumpEntries(properties->Entries(), false, depth + 1, out);
    return;
  }
  const Variant& v = entry.value;
  switch (v.Type()) {
    case VariantType::Empty: out << "Empty\n"; break;
    case VariantType::Null: out << "Null\n"; break;
    case VariantType::Integer: out << "Integer " << v.AsInteger() << '\n'; break;
    case VariantType::Long: out << "Long " << v.AsLong() << '\n'; break;
    case VariantType::Boolean: out << "Boolean " << (v.AsBoolean() ? "True" : "False") << '\n'; break;
    case VariantType::Double: out << "Double " << Number(v.AsDouble()) << '\n'; break;
    case VariantType::Date: out << "Date " << Number(v.AsDate()) << " (" << DateText(v.AsDate()) << ")\n"; break;
    case VariantType::Currency: out << "Currency " << v.AsCurrency().ToString() << '\n'; break;
    case VariantType::Text: out << "Text " << Quoted(v.AsText()) << '\n'; break;
    case VariantType::Object: out << "Object Nothing\n"; break;
    case VariantType::Single: out << "Single\n"; break;
    case VariantType::ByteArray: {
      const Bytes& bytes = v.AsBytes();
      out << "Bytes[" << bytes.size() << "] " << HexOf(bytes) << '\n';
      if (!LooksLikeDocument(bytes) || depth >= kMaxShownDepth) break;
      // A stored document inside: show it decoded when it decodes, and say so when not.
      try {
        if (LooksLikeItems(bytes)) {
          const auto inner = ReadKeyedItems(bytes);
          out << indent << "  keyed items (" << inner.size() << (inner.size() == 1 ? " item)" : " items)") << '\n';
          DumpEntries(inner, true, depth + 1, out);
        } else {
          PropertyBag inner;
          inner.SetContents(bytes);
          out << indent << "  property bag (" << inner.Count() << (inner.Count() == 1 ? " entry)" : " entries)")
              << '\n';
          DumpEntries(inner.Entries(), false, depth + 1, out);
        }
      } catch (const CError& e) {
        out << indent << "  (" << e.Description() << ")\n";
      }
      break;
    }
  }
}

void DumpEntries(const std::vector<PropertyBag::Entry>& entries, bool items, int depth, std::ostream& out) {
  const std::string indent(static_cast<size_t>(depth) * 2, ' ');
  size_t index = 0;
  for (const auto& entry : entries) {
    out << indent;
    if (items) {
      out << '[' << index << "] " << (entry.key.empty() ? "(no key)" : KeyText(entry.key)) << ": ";
    } else {
      out << KeyText(entry.key) << ": ";
    }
    DumpValue(entry, depth, out);
    ++index;
  }
}

}  // namespace

Bytes ReadInput(const std::string& fileOrDash) {
  if (fileOrDash == "-") {
    std::cin >> std::noskipws;
    return Bytes(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  }
  std::ifstream in(fileOrDash, std::ios::binary);
  if (!in) throw CommandFailed("cannot read " + fileOrDash + ": " + std::strerror(errno));
  Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw CommandFailed("cannot read " + fileOrDash + ": " + std::strerror(errno));
  return bytes;
}

void DumpDocument(const Bytes& bytes, std::ostream& out) {
  // The keyed-items form is recognised by its format name; everything else goes to the
  // bag decoder, whose error then says what is wrong.
  if (LooksLikeItems(bytes)) {
    const auto items = ReadKeyedItems(bytes);
    out << "keyed items, " << bytes.size() << " bytes, " << items.size()
        << (items.size() == 1 ? " item" : " items") << '\n';
    DumpEntries(items, true, 0, out);
    return;
  }
  PropertyBag bag;
  bag.SetContents(bytes);
  out << "property bag, " << bytes.size() << " bytes, " << bag.Count() << (bag.Count() == 1 ? " entry" : " entries")
      << '\n';
  DumpEntries(bag.Entries(), false, 0, out);
}

void AddBagCommands(CLI::App& app) {
  auto* bag = app.add_subcommand("bag", "Inspect serialized property-bag bytes");
  bag->require_subcommand(1);
  auto* dump = bag->add_subcommand(
      "dump", "Print the keys, types and values of a property bag or keyed-collection contents");
  auto file = std::make_shared<std::string>("-");
  dump->add_option("file", *file, "File with the bytes, or - for standard input")->capture_default_str();
  dump->callback([file] {
    const Bytes bytes = ReadInput(*file);
    std::ostringstream text;  // nothing is printed for bytes that fail half way
    DumpDocument(bytes, text);
    std::cout << text.str();
  });
}

// ---------------------------------------------------------------------------------------
// Demo step: a property bag with a nested object, written to a file and dumped.

namespace {

class DemoPoint : public CPersistable {
 public:
  std::string ClassName() const override { return "DemoPoint"; }
  void Class_WriteProperties(PropertyBag& bag) const override {
    bag.WriteProperty("X", x, 0);
    bag.WriteProperty("Y", y, 0);
    bag.WriteProperty("Label", label, "");
  }
  void Class_ReadProperties(const PropertyBag& bag) override {
    x = bag.ReadLong("X");
    y = bag.ReadLong("Y");
    label = bag.ReadText("Label");
  }
  int32_t x = 0;
  int32_t y = 0;
  std::string label;
};

}  // namespace

void RunBagDemo(DemoContext& context) {
  std::ostream& out = context.out;
  ClassRegistry::Register<DemoPoint>("DemoPoint");

  out << "Writing a property bag: texts, numbers of each width, a date, a currency amount,\n"
         "bytes, a value equal to its default (left out), a nested DemoPoint object and a\n"
         "keyed collection stored as its own bytes.\n";
  auto point = std::make_shared<DemoPoint>();
  point->x = 12;
  point->y = -7;
  point->label = "Site office";
  PropertyBag bag;
  bag.WriteProperty("Caption", "Register of changes");
  bag.WriteProperty("ColumnCount", int32_t{14});
  bag.WriteProperty("Alignment", int16_t{2});
  bag.WriteProperty("Visible", true);
  bag.WriteProperty("Width", 1.25);
  bag.WriteProperty("Created", Variant::FromDate(45292.5));
  bag.WriteProperty("Budget", Currency::FromString("125000.75"));
  bag.WriteProperty("Checksum", Bytes{0xCA, 0xFE, 0x00, 0x42});
  bag.WriteProperty("Hidden", false, false);
  bag.WriteProperty("Anchor", point);
  KeyedCollection forms;  // a collection field is stored as the collection's own bytes
  forms.Add(Variant("Change order"), "{6F1C2D3E-0000-4000-8000-000000000001}");
  forms.Add(Variant("Site instruction"), "{6F1C2D3E-0000-4000-8000-000000000002}");
  bag.WriteProperty("FormGuids", forms.Content());
  const Bytes bytes = bag.Contents();

  const auto file = context.folder / "sample.bag";
  {
    std::ofstream stream(file, std::ios::binary);
    stream.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!stream) throw CommandFailed("cannot write " + file.string());
  }
  out << "Wrote " << bytes.size() << " bytes to " << file.string() << ".\n";

  PropertyBag loaded;
  loaded.SetContents(ReadInput(file.string()));
  const auto anchor = loaded.ReadObject<DemoPoint>("anchor");  // keys ignore case
  out << "Read back: Anchor is a new " << anchor->ClassName() << " at (" << anchor->x << ", " << anchor->y
      << "); the bytes encode again identically: " << (loaded.Contents() == bytes ? "yes" : "NO") << ".\n";
  out << "\n$ prvdrinfo bag dump " << file.string() << '\n';
  DumpDocument(ReadInput(file.string()), out);
}

}  // namespace prvdrinfo::tool
