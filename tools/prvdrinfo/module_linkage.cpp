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
#include <iterator>
#include <memory>
#include <optional>

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

// An ELF file of this program's own class, read whole; every offset in it is checked.
class ElfFile {
 public:
  explicit ElfFile(std::vector<char> bytes) : bytes_(std::move(bytes)) {}

  template <class T>
  std::optional<T> At(uint64_t offset) const {
    if (offset > bytes_.size() || sizeof(T) > bytes_.size() - offset) return std::nullopt;
    T value;
    std::memcpy(&value, bytes_.data() + offset, sizeof value);
    return value;
  }

  // Whether a section's bytes lie within the file.
  bool Holds(const ElfW(Shdr) & section) const {
    return section.sh_offset <= bytes_.size() &&
           section.sh_size <= bytes_.size() - section.sh_offset;
  }

  // The NUL-terminated text at index of a string table section.
  std::optional<std::string> Text(const ElfW(Shdr) & table, uint64_t index) const {
    if (!Holds(table) || index >= table.sh_size) return std::nullopt;
    const char* begin = bytes_.data() + table.sh_offset + index;
    const char* end = bytes_.data() + table.sh_offset + table.sh_size;
    const char* nul = std::find(begin, end, '\0');
    if (nul == end) return std::nullopt;
    return std::string(begin, nul);
  }

  // The sections; empty when the file has none that can be read.
  std::vector<ElfW(Shdr)> Sections() const {
    const auto header = At<ElfW(Ehdr)>(0);
    if (!header || std::memcmp(header->e_ident, ELFMAG, SELFMAG) != 0 ||
        header->e_ident[EI_CLASS] != (__ELF_NATIVE_CLASS == 64 ? ELFCLASS64 : ELFCLASS32) ||
        header->e_shentsize != sizeof(ElfW(Shdr)))
      return {};
    std::vector<ElfW(Shdr)> sections;
    for (uint64_t i = 0; i < header->e_shnum; ++i) {
      const auto section = At<ElfW(Shdr)>(header->e_shoff + i * sizeof(ElfW(Shdr)));
      if (!section) return {};
      sections.push_back(*section);
    }
    return sections;
  }

 private:
  std::vector<char> bytes_;
};

std::optional<DynamicPart> ReadDynamicPart(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  const ElfFile file(std::vector<char>(std::istreambuf_iterator<char>(in), {}));
  const std::vector<ElfW(Shdr)> sections = file.Sections();
  const auto linked = [&](const ElfW(Shdr) & section) -> const ElfW(Shdr) * {
    if (section.sh_link >= sections.size() || sections[section.sh_link].sh_type != SHT_STRTAB)
      return nullptr;
    return &sections[section.sh_link];
  };
  DynamicPart part;
  bool dynamic = false;
  for (const ElfW(Shdr) & section : sections) {
    const ElfW(Shdr)* strings = linked(section);
    if (strings == nullptr || !file.Holds(section)) continue;
    if (section.sh_type == SHT_DYNSYM) {
      for (uint64_t at = 0; at + sizeof(ElfW(Sym)) <= section.sh_size; at += sizeof(ElfW(Sym))) {
        const auto symbol = file.At<ElfW(Sym)>(section.sh_offset + at);
        if (!symbol) break;
        const unsigned type = ELF64_ST_TYPE(symbol->st_info);
        if (ELF64_ST_BIND(symbol->st_info) != STB_GLOBAL || symbol->st_shndx == SHN_UNDEF ||
            (type != STT_FUNC && type != STT_OBJECT))
          continue;
        if (auto name = file.Text(*strings, symbol->st_name)) part.strongSymbols.push_back(*name);
      }
    } else if (section.sh_type == SHT_DYNAMIC) {
      dynamic = true;
      for (uint64_t at = 0; at + sizeof(ElfW(Dyn)) <= section.sh_size; at += sizeof(ElfW(Dyn))) {
        const auto entry = file.At<ElfW(Dyn)>(section.sh_offset + at);
        if (!entry || entry->d_tag == DT_NULL) break;
        if (entry->d_tag != DT_NEEDED && entry->d_tag != DT_SONAME) continue;
        const auto name = file.Text(*strings, entry->d_un.d_val);
        if (!name) continue;
        if (entry->d_tag == DT_NEEDED) {
          part.needed.push_back(*name);
        } else {
          part.soname = *name;
        }
      }
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
