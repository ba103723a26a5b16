// provider show --check: whether a module shares the host's copy of the library.

#include "module_linkage.h"

#include <cxxabi.h>
#include <dlfcn.h>
#include <elf.h>
#include <link.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <cstddef>
#include <memory>
#include <optional>
#include <utility>

#include "commands.h"
#include "prvdrinfo/foundation/unicode.h"

namespace prvdrinfo::tool {

namespace {

// What the dynamic linker reads of a shared object: its name, the objects it needs, and
// the functions and data it defines strongly. Weak definitions are left out: every user of
// a header emits its inline code and templates as weak symbols, a static copy of the
// library's own code is strong.
struct DynamicPart {
  std::string soname;
  std::vector<std::string> needed;
  std::vector<std::string> strongSymbols;
};

// A T from bytes at offset, if it lies within them.
template <class T>
std::optional<T> Get(const std::vector<char>& bytes, uint64_t offset) {
  if (offset > bytes.size() || sizeof(T) > bytes.size() - offset) return std::nullopt;
  T value;
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

// The NUL-terminated text at index of a string table.
std::optional<std::string> TextAt(const std::vector<char>& table, uint64_t index) {
  if (index >= table.size()) return std::nullopt;
  const auto begin = table.begin() + static_cast<std::ptrdiff_t>(index);
  const auto nul = std::find(begin, table.end(), '\0');
  if (nul == table.end()) return std::nullopt;
  return std::string(begin, nul);
}

// An ELF file of this program's own class, read a piece at a time as asked for: a
// library built for debugging is tens of megabytes, of which only a few are wanted. A piece
// that does not lie within the file is not read.
class ElfFile {
 public:
  explicit ElfFile(const std::string& path) : in_(path, std::ios::binary) {
    in_.seekg(0, std::ios::end);
    const std::streamoff end = in_ ? static_cast<std::streamoff>(in_.tellg()) : -1;
    size_ = end > 0 ? static_cast<uint64_t>(end) : 0;
  }

  std::optional<std::vector<char>> Piece(uint64_t offset, uint64_t length) {
    if (offset > size_ || length > size_ - offset) return std::nullopt;
    std::vector<char> bytes(length);
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(offset));
    if (!in_.read(bytes.data(), static_cast<std::streamsize>(length))) return std::nullopt;
    return bytes;
  }

  // The section headers; empty when the file has none that can be read.
  std::vector<ElfW(Shdr)> Sections() {
    const auto start = Piece(0, sizeof(ElfW(Ehdr)));
    const auto header = start ? Get<ElfW(Ehdr)>(*start, 0) : std::nullopt;
    if (!header || std::memcmp(header->e_ident, ELFMAG, SELFMAG) != 0 ||
        header->e_ident[EI_CLASS] != (__ELF_NATIVE_CLASS == 64 ? ELFCLASS64 : ELFCLASS32) ||
        header->e_shentsize != sizeof(ElfW(Shdr)))
      return {};
    const auto table = Piece(header->e_shoff, uint64_t{header->e_shnum} * sizeof(ElfW(Shdr)));
    if (!table) return {};
    std::vector<ElfW(Shdr)> sections;
    for (uint64_t at = 0; at < table->size(); at += sizeof(ElfW(Shdr)))
      sections.push_back(*Get<ElfW(Shdr)>(*table, at));
    return sections;
  }

 private:
  std::ifstream in_;
  uint64_t size_ = 0;
};

// The entries of a section, each with the string table the section links to.
template <class Entry, class Visit>
void EachEntry(ElfFile& file, const std::vector<ElfW(Shdr)>& sections, const ElfW(Shdr) & section,
               Visit visit) {
  if (section.sh_link >= sections.size() || sections[section.sh_link].sh_type != SHT_STRTAB) return;
  const ElfW(Shdr)& table = sections[section.sh_link];
  const auto body = file.Piece(section.sh_offset, section.sh_size);
  const auto strings = file.Piece(table.sh_offset, table.sh_size);
  if (!body || !strings) return;
  for (uint64_t at = 0; at + sizeof(Entry) <= body->size(); at += sizeof(Entry)) {
    if (!visit(*Get<Entry>(*body, at), *strings)) return;
  }
}

std::optional<DynamicPart> ReadDynamicPart(const std::string& path) {
  ElfFile file(path);
  const std::vector<ElfW(Shdr)> sections = file.Sections();
  DynamicPart part;
  bool dynamic = false;
  for (const ElfW(Shdr) & section : sections) {
    if (section.sh_type == SHT_DYNSYM) {
      EachEntry<ElfW(Sym)>(
          file, sections, section, [&](const ElfW(Sym) & symbol, const auto& strings) {
            const auto type = ELF64_ST_TYPE(symbol.st_info);
            if (ELF64_ST_BIND(symbol.st_info) == STB_GLOBAL && symbol.st_shndx != SHN_UNDEF &&
                (type == STT_FUNC || type == STT_OBJECT)) {
              if (auto name = TextAt(strings, symbol.st_name)) part.strongSymbols.push_back(*name);
            }
            return true;
          });
    } else if (section.sh_type == SHT_DYNAMIC) {
      dynamic = true;
      EachEntry<ElfW(Dyn)>(file, sections, section,
                           [&](const ElfW(Dyn) & entry, const auto& strings) {
                             if (entry.d_tag == DT_NULL) return false;
                             if (entry.d_tag != DT_NEEDED && entry.d_tag != DT_SONAME) return true;
                             auto name = TextAt(strings, entry.d_un.d_val);
                             if (!name) return true;
                             if (entry.d_tag == DT_NEEDED) {
                               part.needed.push_back(std::move(*name));
                             } else {
                               part.soname = std::move(*name);
                             }
                             return true;
                           });
    }
  }
  if (!dynamic) return std::nullopt;
  return part;
}

std::string Demangled(const std::string& symbol) {
  int status = 0;
  const std::unique_ptr<char, decltype(&std::free)> name(
      abi::__cxa_demangle(symbol.c_str(), nullptr, nullptr, &status), &std::free);
  return status == 0 && name ? std::string(name.get()) : symbol;
}

struct Closer {
  void operator()(void* handle) const { dlclose(handle); }
};

}  // namespace

std::vector<std::string> LinkageProblems(const std::string& modulePath) {
  const auto notChecked = [](const std::string& why) {
    return std::vector<std::string>{"linkage: not checked: " + why};
  };
  // The shared library as this program has it: the object that defines one of its
  // functions, unless that is the program itself.
  Dl_info library{};
  Dl_info program{};
  if (dladdr(reinterpret_cast<void*>(&unicode::FoldCase), &library) == 0 ||
      library.dli_fname == nullptr ||
      dladdr(reinterpret_cast<void*>(&LinkageProblems), &program) == 0)
    return notChecked("the tool cannot find its own copy of the library");
  if (library.dli_fbase == program.dli_fbase)
    return notChecked("the shared library this prvdrinfo runs on cannot be found");
  const std::unique_ptr<void, Closer> handle(dlopen(library.dli_fname, RTLD_LAZY | RTLD_NOLOAD));
  const auto ours = ReadDynamicPart(library.dli_fname);
  if (!handle || !ours || ours->soname.empty())
    return notChecked(Printed(library.dli_fname) + " cannot be read");

  const std::string file =
      modulePath.find('/') == std::string::npos ? "./" + modulePath : modulePath;
  const auto module = ReadDynamicPart(file);
  if (!module) return notChecked("the module's dynamic symbols cannot be read");
  std::vector<std::string> copied;
  for (const std::string& symbol : module->strongSymbols) {
    Dl_info found{};
    void* address = dlsym(handle.get(), symbol.c_str());
    if (address != nullptr && dladdr(address, &found) != 0 && found.dli_fbase == library.dli_fbase)
      copied.push_back(symbol);
  }
  if (!copied.empty()) {
    // A member of a class names the copy best; thunks and typeinfo come along with it.
    std::string example = Demangled(copied.front());
    for (const std::string& symbol : copied) {
      if (const std::string name = Demangled(symbol); name.rfind("prvdrinfo::", 0) == 0) {
        example = name;
        break;
      }
    }
    return {"linkage: linked to the static library: the module defines " +
            std::to_string(copied.size()) + " of the shared library's symbols itself (" +
            Printed(example) + (copied.size() > 1 ? ", ...)" : ")") +
            "; link the shared library, " + Printed(ours->soname) + " (prvdrinfo::prvdrinfo)"};
  }
  if (std::find(module->needed.begin(), module->needed.end(), ours->soname) ==
      module->needed.end()) {
    return {"linkage: the module does not name the shared library " + Printed(ours->soname) +
            " among the objects it needs; link it (prvdrinfo::prvdrinfo)"};
  }
  return {};
}

}  // namespace prvdrinfo::tool
