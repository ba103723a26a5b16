// prvdrinfo bag dump [FILE|-]: shows what stored property-bag bytes hold.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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
#include "prvdrinfo/services/whole_file.h"

namespace prvdrinfo::tool {

namespace {

// JSON text made safe for a terminal: C1 controls (and DEL) escaped as well, where JSON
// itself escapes C0 only.
std::string EscapeC1(const std::string& json) {
  std::string out;
  out.reserve(json.size());
  for (size_t i = 0; i < json.size(); ++i) {
    const auto c = static_cast<unsigned char>(json[i]);
    const unsigned char next = i + 1 < json.size() ? static_cast<unsigned char>(json[i + 1]) : 0;
    if (c == 0x7F || (c == 0xC2 && next >= 0x80 && next <= 0x9F)) {
      const unsigned code = c == 0x7F ? 0x7Fu : unsigned{next};
      static const char* digits = "0123456789abcdef";
      out += "\\u00";
      out += digits[code >> 4];
      out += digits[code & 15];
      if (c == 0xC2) ++i;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace

std::string Quoted(const std::string& text) {
  return EscapeC1(
      nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

std::string Printed(const std::string& text) {
  std::string quoted = Quoted(text);
  // Bare when the quoting did no more than escape quotes and backslashes.
  std::string plain = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') plain += '\\';
    plain += c;
  }
  plain += '"';
  return !text.empty() && quoted == plain ? text : quoted;
}

std::string JsonText(const nlohmann::json& document) {
  return EscapeC1(document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace));
}

std::string JsonText(const nlohmann::ordered_json& document) {
  return EscapeC1(document.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace));
}

namespace {

// Nested documents inside byte arrays (a collection's contents stored under a key) are
// shown decoded as well, to this depth.
constexpr int kMaxShownDepth = 16;

// Names (keys, class names) print bare when that cannot be misread, else quoted.
std::string NameText(const std::string& name) {
  if (name.empty()) return "\"\"";
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (u <= 0x20 || u == 0x7F || c == '"' || c == ':' || c == '\\') return Quoted(name);
  }
  std::string quoted = Quoted(name);
  // Anything the quoting changed (C1 controls, bytes that are no UTF-8) is not safe bare.
  if (quoted.compare(1, quoted.size() - 2, name) != 0) return quoted;
  return name;
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
      << static_cast<unsigned>(ymd.month()) << '-' << std::setw(2)
      << static_cast<unsigned>(ymd.day()) << ' ' << std::setw(2) << seconds / 3600 << ':'
      << std::setw(2) << seconds / 60 % 60 << ':' << std::setw(2) << seconds % 60;
  return out.str();
}

bool LooksLikeDocument(const Bytes& bytes) {
  return bytes.size() >= 3 && bytes[0] == 0xD9 && bytes[1] == 0xD9 && bytes[2] == 0xF7;
}

// The keyed-items form names itself with a 15-character text, the bag with 13 (0x6F / 0x6D).
bool LooksLikeItems(const Bytes& bytes) {
  return LooksLikeDocument(bytes) && bytes.size() > 4 && bytes[4] == 0x6F;
}

// Decoded nested documents stay in memory while their entries print: along one path
// they may hold this many bytes together, so forged nesting cannot multiply memory use.
// Deeper documents show as hex.
struct DumpBudget {
  uint64_t nestedBytes;
};

void DumpEntries(const std::vector<PropertyBag::Entry>& entries, bool items, int depth,
                 DumpBudget budget, std::ostream& out);

// Generous enough that a real document always shows whole.
DumpBudget NestedBudget(const Bytes& document) {
  return DumpBudget{std::max<uint64_t>(uint64_t{16} << 20, uint64_t{2} * document.size())};
}

// A stored document inside a byte array (a collection's contents stored under a key).
struct NestedDocument {
  bool items = false;
  std::vector<PropertyBag::Entry> entries;
};

void DumpBytes(const Bytes& bytes, int depth, DumpBudget budget, std::ostream& out) {
  const std::string indent(static_cast<size_t>(depth) * 2, ' ');
  if (!LooksLikeDocument(bytes) || depth >= kMaxShownDepth || bytes.size() > budget.nestedBytes) {
    out << "Bytes[" << bytes.size() << "] " << HexOf(bytes) << '\n';
    return;
  }
  NestedDocument inner;
  try {
    inner.items = LooksLikeItems(bytes);
    if (inner.items) {
      inner.entries = ReadKeyedItems(bytes);
    } else {
      PropertyBag bag;
      bag.SetContents(bytes);
      inner.entries = bag.Entries();
    }
  } catch (const CError& e) {
    // Shown as hex, and why it does not decode.
    out << "Bytes[" << bytes.size() << "] " << HexOf(bytes) << '\n'
        << indent << "  (" << e.Description() << ")\n";
    return;
  }
  // Shown decoded only, never also as hex: each level of nesting prints its bytes once.
  const size_t count = inner.entries.size();
  out << "Bytes[" << bytes.size() << "]\n"
      << indent << "  "
      << (inner.items ? (count == 1 ? "keyed items (1 item)"
                                    : "keyed items (" + std::to_string(count) + " items)")
                      : (count == 1 ? "property bag (1 entry)"
                                    : "property bag (" + std::to_string(count) + " entries)"))
      << '\n';
  DumpEntries(inner.entries, inner.items, depth + 1, DumpBudget{budget.nestedBytes - bytes.size()},
              out);
}

void DumpValue(const PropertyBag::Entry& entry, int depth, DumpBudget budget, std::ostream& out) {
  if (entry.nested) {
    const auto& properties = entry.nested->properties;
    const size_t count = properties ? properties->Count() : 0;
    out << "Object " << NameText(entry.nested->className) << " (" << count
        << (count == 1 ? " entry)" : " entries)") << '\n';
    if (properties) DumpEntries(properties->Entries(), false, depth + 1, budget, out);
    return;
  }
  const Variant& v = entry.value;
  switch (v.Type()) {
    case VariantType::Empty: out << "Empty\n"; break;
    case VariantType::Null: out << "Null\n"; break;
    case VariantType::Integer: out << "Integer " << v.AsInteger() << '\n'; break;
    case VariantType::Long: out << "Long " << v.AsLong() << '\n'; break;
    case VariantType::Boolean:
      out << "Boolean " << (v.AsBoolean() ? "True" : "False") << '\n';
      break;
    case VariantType::Double: out << "Double " << Number(v.AsDouble()) << '\n'; break;
    case VariantType::Date:
      out << "Date " << Number(v.AsDate()) << " (" << DateText(v.AsDate()) << ")\n";
      break;
    case VariantType::Currency: out << "Currency " << v.AsCurrency().ToString() << '\n'; break;
    case VariantType::Text: out << "Text " << Quoted(v.AsText()) << '\n'; break;
    case VariantType::Object: out << "Object Nothing\n"; break;
    case VariantType::Single: out << "Single\n"; break;
    case VariantType::ByteArray: DumpBytes(v.AsBytes(), depth, budget, out); break;
  }
}

void DumpEntries(const std::vector<PropertyBag::Entry>& entries, bool items, int depth,
                 DumpBudget budget, std::ostream& out) {
  const std::string indent(static_cast<size_t>(depth) * 2, ' ');
  size_t index = 0;
  for (const auto& entry : entries) {
    out << indent;
    if (items) {
      out << '[' << index << "] " << (entry.key.empty() ? "(no key)" : NameText(entry.key)) << ": ";
    } else {
      out << NameText(entry.key) << ": ";
    }
    DumpValue(entry, depth, budget, out);
    ++index;
  }
}

}  // namespace

namespace {

// A file or standard input, read in pieces so that a command can look at the start of
// its input before it reads the rest, and stop at a size limit.
class Input {
 public:
  explicit Input(const std::string& fileOrDash) : name_(InputName(fileOrDash)) {
    if (fileOrDash.empty()) throw UsageError("the input file name is empty");
    if (fileOrDash == "-") {
      fd_ = STDIN_FILENO;
    } else {
      fd_ = open(fileOrDash.c_str(), O_RDONLY | O_CLOEXEC);
      if (fd_ < 0) Fail(errno);
      owned_ = true;
    }
    struct stat info {};
    if (fstat(fd_, &info) != 0) Fail(errno);
    if (S_ISDIR(info.st_mode)) Fail(EISDIR);
  }
  ~Input() {
    if (owned_) close(fd_);
  }
  Input(const Input&) = delete;
  Input& operator=(const Input&) = delete;

  // Reads until bytes holds size bytes or the input ends.
  void ReadUpTo(Bytes& bytes, uint64_t size) {
    while (!ended_ && bytes.size() < size) {
      const size_t want = static_cast<size_t>(std::min<uint64_t>(size - bytes.size(), 1 << 16));
      const size_t have = bytes.size();
      bytes.resize(have + want);
      const ssize_t got = read(fd_, bytes.data() + have, want);
      if (got < 0 && errno == EINTR) {
        bytes.resize(have);
        continue;
      }
      if (got < 0) Fail(errno);
      bytes.resize(have + static_cast<size_t>(got));
      ended_ = got == 0;
    }
  }

  // The rest of the input, up to maxBytes in all.
  void ReadRest(Bytes& bytes, uint64_t maxBytes, const std::string& tooLargeHint) {
    ReadUpTo(bytes, maxBytes + 1);
    if (bytes.size() > maxBytes) {
      throw CommandFailed(name_ + " is larger than the limit of " + std::to_string(maxBytes) +
                          " bytes" + (tooLargeHint.empty() ? "" : "; " + tooLargeHint));
    }
  }

  const std::string& Name() const { return name_; }

 private:
  [[noreturn]] void Fail(int error) const {
    throw CommandFailed("cannot read " + name_ + ": " + std::strerror(error));
  }

  std::string name_;
  int fd_ = -1;
  bool owned_ = false;
  bool ended_ = false;
};

}  // namespace

std::string InputName(const std::string& fileOrDash) {
  return fileOrDash == "-" ? "standard input" : fileOrDash;
}

Bytes ReadInput(const std::string& fileOrDash, uint64_t maxBytes, const std::string& tooLargeHint) {
  Input input(fileOrDash);
  Bytes bytes;
  input.ReadRest(bytes, maxBytes, tooLargeHint);
  return bytes;
}

void WriteOutputFile(const std::string& path, const Bytes& bytes) {
  struct stat existing {};
  if (::lstat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
    throw CommandFailed("cannot write " + path + ": it exists and is not a regular file");
  }
  try {
    WriteWholeFile(path, bytes);
  } catch (const CError& e) {
    throw CommandFailed(e.Description());
  }
}

void DumpDocument(const Bytes& bytes, std::ostream& out) {
  // The keyed-items form is recognised by its format name; everything else goes to the
  // bag decoder, whose error then says what is wrong.
  if (LooksLikeItems(bytes)) {
    const auto items = ReadKeyedItems(bytes);
    out << "keyed items, " << bytes.size() << " bytes, " << items.size()
        << (items.size() == 1 ? " item" : " items") << '\n';
    DumpEntries(items, true, 0, NestedBudget(bytes), out);
    return;
  }
  PropertyBag bag;
  bag.SetContents(bytes);
  out << "property bag, " << bytes.size() << " bytes, " << bag.Count()
      << (bag.Count() == 1 ? " entry" : " entries") << '\n';
  DumpEntries(bag.Entries(), false, 0, NestedBudget(bytes), out);
}

void RunBagDump(const BagDumpOptions& options) {
  Input input(options.file);
  // A few bytes say whether this can be a document at all; /dev/zero or a disk image
  // is refused before the rest is read.
  Bytes bytes;
  input.ReadUpTo(bytes, 3);
  try {
    if (!LooksLikeDocument(bytes)) DumpDocument(bytes, std::cout);  // raises the decoder's reason
    input.ReadRest(bytes, options.maxBytes, "--max-bytes raises it");
    // Decoded whole before anything is printed, so bytes that fail half way print nothing.
    DumpDocument(bytes, std::cout);
  } catch (const CError& e) {
    throw CommandFailed(input.Name() + ": " + e.Description());
  }
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
    stream.write(reinterpret_cast<const char*>(bytes.data()),
                 static_cast<std::streamsize>(bytes.size()));
    if (!stream) throw CommandFailed("cannot write " + file.string());
  }
  out << "Wrote " << bytes.size() << " bytes to " << file.string() << ".\n";

  PropertyBag loaded;
  loaded.SetContents(ReadInput(file.string()));
  const auto anchor = loaded.ReadObject<DemoPoint>("anchor");  // keys ignore case
  out << "Read back: Anchor is a new " << anchor->ClassName() << " at (" << anchor->x << ", "
      << anchor->y
      << "); the bytes encode again identically: " << (loaded.Contents() == bytes ? "yes" : "NO")
      << ".\n";
  out << "\n$ prvdrinfo bag dump " << file.string() << '\n';
  DumpDocument(ReadInput(file.string()), out);
}

}  // namespace prvdrinfo::tool
