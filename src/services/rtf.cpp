#include "services/internal/rtf.h"

#include <unicode/ucnv.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <iterator>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "prvdrinfo/foundation/unicode.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {

constexpr std::string_view kRtfHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\\f0 ";

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void AppendCodePoint(std::u16string& out, uint32_t c) {
  if (c <= 0xFFFF) {
    out.push_back(static_cast<char16_t>(c));
  } else {
    const uint32_t v = c - 0x10000u;
    out.push_back(static_cast<char16_t>(0xD800u + (v >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00u + (v & 0x3FFu)));
  }
}

// The code page of a font's \fcharset; 0 leaves the document's code page in force.
int32_t CharsetCodePage(int32_t charset) {
  switch (charset) {
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 255: return 437;
    default: return 0;
  }
}

// Destinations whose content is not document text.
bool IsSkippedDestination(std::string_view word) {
  static constexpr std::string_view kSkipped[] = {
      "annotation",
      "atnauthor",
      "atnid",
      "atrfend",
      "atrfstart",
      "author",
      "bkmkend",
      "bkmkstart",
      "blipuid",
      "colortbl",
      "colorschememapping",
      "comment",
      "datastore",
      "docvar",
      "doccomm",
      "falt",
      "filetbl",
      "fldinst",
      "footer",
      "footerf",
      "footerl",
      "footerr",
      "footnote",
      "generator",
      "header",
      "headerf",
      "headerl",
      "headerr",
      "info",
      "keywords",
      "latentstyles",
      "listoverridetable",
      "listtable",
      "listtext",
      "mmathPr",
      "nonshppict",
      "object",
      "objdata",
      "operator",
      "pgdsctbl",
      "pict",
      "pntext",
      "pntxta",
      "pntxtb",
      "revtbl",
      "rsidtbl",
      "stylesheet",
      "subject",
      "themedata",
      "title",
      "userprops",
      "xmlnstbl",
  };
  return std::find(std::begin(kSkipped), std::end(kSkipped), word) != std::end(kSkipped);
}

// Control words that stand for one character.
char16_t SpecialCharacter(std::string_view word) {
  struct Entry {
    std::string_view word;
    char16_t character;
  };
  static constexpr Entry kCharacters[] = {
      {"par", u'\n'},           {"line", u'\n'},          {"sect", u'\n'},
      {"page", u'\n'},          {"row", u'\n'},           {"tab", u'\t'},
      {"cell", u'\t'},          {"emdash", u'\u2014'},    {"endash", u'\u2013'},
      {"emspace", u'\u2003'},   {"enspace", u'\u2002'},   {"qmspace", u'\u2005'},
      {"bullet", u'\u2022'},    {"lquote", u'\u2018'},    {"rquote", u'\u2019'},
      {"ldblquote", u'\u201C'}, {"rdblquote", u'\u201D'}, {"zwj", u'\u200D'},
      {"zwnj", u'\u200C'},      {"ltrmark", u'\u200E'},   {"rtlmark", u'\u200F'},
  };
  for (const auto& entry : kCharacters) {
    if (entry.word == word) return entry.character;
  }
  return 0;
}

struct ConverterCloser {
  void operator()(UConverter* converter) const noexcept { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

class RtfReader {
 public:
  explicit RtfReader(std::string_view rtf) : rtf_(rtf) { groups_.push_back(Group{}); }

  std::string Read() {
    while (pos_ < rtf_.size()) {
      const char c = rtf_[pos_];
      if (c == '{') {
        ++pos_;
        Flush();
        fallbackToSkip_ = 0;
        if (groups_.size() < kMaxDepth) {
          groups_.push_back(groups_.back());
        } else {
          ++excessDepth_;
        }
      } else if (c == '}') {
        ++pos_;
        Flush();
        fallbackToSkip_ = 0;
        if (excessDepth_ > 0) {
          --excessDepth_;
        } else if (groups_.size() > 1) {
          groups_.pop_back();
        }
      } else if (c == '\\') {
        ReadControl();
      } else if (c == '\r' || c == '\n') {
        ++pos_;
      } else {
        ReadText();
      }
    }
    Flush();
    return unicode::ToUtf8(out_);
  }

 private:
  // Groups nested deeper than this are not kept: only their braces are counted and
  // their content is passed over as not text. Real documents stay far shallower.
  static constexpr size_t kMaxDepth = 256;

  struct Group {
    bool skip = false;
    bool fontTable = false;
    int32_t fallbackCount = 1;  // \ucN
    int32_t font = -1;          // \fN in the text; -1: the default font
    int32_t fontBeingDefined = -1;
  };

  Group& Top() { return groups_.back(); }

  bool TakeFallback() {
    if (fallbackToSkip_ <= 0) return false;
    --fallbackToSkip_;
    return true;
  }

  void ReadText() {
    const auto* bytes = reinterpret_cast<const uint8_t*>(rtf_.data());
    // Text runs are read up to the next special character at once.
    size_t end = pos_;
    while (end < rtf_.size() && rtf_[end] != '{' && rtf_[end] != '}' && rtf_[end] != '\\' &&
           rtf_[end] != '\r' && rtf_[end] != '\n') {
      ++end;
    }
    Flush();
    const bool skip = Top().skip || excessDepth_ > 0;
    int32_t i = 0;
    const auto length = static_cast<int32_t>(end - pos_);
    const uint8_t* run = bytes + pos_;
    while (i < length) {
      UChar32 c;
      U8_NEXT(run, i, length, c);
      if (TakeFallback() || skip) continue;
      AppendCodePoint(out_, c < 0 ? 0xFFFDu : static_cast<uint32_t>(c));
    }
    pos_ = end;
  }

  void ReadControl() {
    ++pos_;  // the backslash
    if (pos_ >= rtf_.size()) return;
    const char first = rtf_[pos_];
    if (IsAsciiLetter(first)) {
      const size_t wordStart = pos_;
      while (pos_ < rtf_.size() && IsAsciiLetter(rtf_[pos_])) ++pos_;
      const std::string_view word = rtf_.substr(wordStart, pos_ - wordStart);
      bool hasParameter = false;
      bool negative = false;
      int64_t parameter = 0;
      if (pos_ + 1 < rtf_.size() && rtf_[pos_] == '-' && IsDigit(rtf_[pos_ + 1])) {
        negative = true;
        ++pos_;
      }
      while (pos_ < rtf_.size() && IsDigit(rtf_[pos_])) {
        hasParameter = true;
        if (parameter < (int64_t{1} << 40)) parameter = parameter * 10 + (rtf_[pos_] - '0');
        ++pos_;
      }
      if (pos_ < rtf_.size() && rtf_[pos_] == ' ') ++pos_;
      parameter = std::clamp<int64_t>(negative ? -parameter : parameter, INT32_MIN, INT32_MAX);
      Word(word, hasParameter, static_cast<int32_t>(parameter));
      return;
    }
    if (first == '\'') {
      ++pos_;
      int value = 0;
      int digits = 0;
      while (digits < 2 && pos_ < rtf_.size() && HexValue(rtf_[pos_]) >= 0) {
        value = value * 16 + HexValue(rtf_[pos_]);
        ++pos_;
        ++digits;
      }
      if (digits == 2) HexByte(static_cast<char>(value));
      return;
    }
    ++pos_;
    if (first == '\r' || first == '\n') {
      Word("par", false, 0);
      return;
    }
    Symbol(first);
  }

  void Word(std::string_view word, bool hasParameter, int32_t parameter) {
    Flush();
    if (word == "bin") {
      // Binary data: its bytes are never text, not even when they look like braces.
      const auto count = static_cast<size_t>(std::max(parameter, 0));
      pos_ += std::min(count, rtf_.size() - pos_);
      TakeFallback();
      return;
    }
    if (excessDepth_ > 0 || TakeFallback()) return;
    Group& group = Top();
    // Document and font-table state counts even inside skipped destinations.
    if (word == "ansicpg" && hasParameter) {
      codePage_ = parameter;
    } else if (word == "ansi") {
      codePage_ = 1252;
    } else if (word == "mac") {
      codePage_ = 10000;
    } else if (word == "pc") {
      codePage_ = 437;
    } else if (word == "pca") {
      codePage_ = 850;
    } else if (word == "deff" && hasParameter) {
      defaultFont_ = parameter;
    } else if (word == "fonttbl") {
      group.fontTable = true;
      group.skip = true;
    } else if (word == "f" && hasParameter) {
      if (group.fontTable) {
        group.fontBeingDefined = parameter;
      } else {
        group.font = parameter;
      }
    } else if (word == "fcharset" && group.fontTable && group.fontBeingDefined >= 0) {
      fontCodePages_.try_emplace(group.fontBeingDefined, CharsetCodePage(parameter));
    } else if (word == "cpg" && group.fontTable && group.fontBeingDefined >= 0) {
      fontCodePages_[group.fontBeingDefined] = parameter;
    } else if (word == "plain") {
      group.font = -1;
    } else if (word == "uc") {
      group.fallbackCount = std::clamp(parameter, 0, 16);
    } else if (group.skip) {
      return;
    } else if (IsSkippedDestination(word)) {
      group.skip = true;
    } else if (word == "u" && hasParameter) {
      AppendCodePoint(out_, static_cast<uint16_t>(parameter));
      fallbackToSkip_ = group.fallbackCount;
    } else if (const char16_t character = SpecialCharacter(word)) {
      out_.push_back(character);
    }
  }

  void Symbol(char symbol) {
    Flush();
    if (excessDepth_ > 0 || TakeFallback()) return;
    Group& group = Top();
    if (symbol == '*') {
      group.skip = true;
      return;
    }
    if (group.skip) return;
    switch (symbol) {
      case '\\':
      case '{':
      case '}': out_.push_back(static_cast<char16_t>(symbol)); break;
      case '~': out_.push_back(u'\u00A0'); break;
      case '_': out_.push_back(u'\u2011'); break;
      case '\t': out_.push_back(u'\t'); break;
      default: break;  // \- optional hyphen, \| and \: formula and index marks
    }
  }

  void HexByte(char byte) {
    if (excessDepth_ > 0 || TakeFallback() || Top().skip) return;
    const int32_t codePage = CurrentCodePage();
    if (!pending_.empty() && pendingCodePage_ != codePage) Flush();
    pendingCodePage_ = codePage;
    pending_.push_back(byte);
  }

  int32_t CurrentCodePage() {
    const int32_t font = Top().font >= 0 ? Top().font : defaultFont_;
    const auto found = fontCodePages_.find(font);
    if (found != fontCodePages_.end() && found->second > 0) return found->second;
    return codePage_ > 0 ? codePage_ : 1252;
  }

  // Decodes the \'hh bytes gathered so far; consecutive ones decode together so that
  // double-byte code pages see their pairs.
  void Flush() {
    if (pending_.empty()) return;
    UConverter* converter = ConverterFor(pendingCodePage_);
    bool decoded = false;
    if (converter) {
      ucnv_reset(converter);
      std::u16string text(pending_.size() * 2 + 4, u'\0');
      UErrorCode status = U_ZERO_ERROR;
      const int32_t n =
          ucnv_toUChars(converter, text.data(), static_cast<int32_t>(text.size()), pending_.data(),
                        static_cast<int32_t>(pending_.size()), &status);
      if (U_SUCCESS(status)) {
        out_.append(text.data(), static_cast<size_t>(n));
        decoded = true;
      }
    }
    if (!decoded) {
      for (const char byte : pending_)
        out_.push_back(static_cast<char16_t>(static_cast<unsigned char>(byte)));
    }
    pending_.clear();
  }

  UConverter* ConverterFor(int32_t codePage) {
    if (auto found = converters_.find(codePage); found != converters_.end())
      return found->second.get();
    std::vector<std::string> names;
    if (codePage == 10000) names.push_back("macintosh");
    if (codePage == 65001) names.push_back("UTF-8");
    names.push_back("windows-" + std::to_string(codePage));
    names.push_back("cp" + std::to_string(codePage));
    names.push_back("ibm-" + std::to_string(codePage));
    names.push_back("windows-1252");
    Converter converter;
    for (const auto& name : names) {
      UErrorCode status = U_ZERO_ERROR;
      converter.reset(ucnv_open(name.c_str(), &status));
      if (U_SUCCESS(status) && converter) break;
      converter.reset();
    }
    UConverter* raw = converter.get();
    converters_.emplace(codePage, std::move(converter));
    return raw;
  }

  std::string_view rtf_;
  size_t pos_ = 0;
  std::vector<Group> groups_;
  size_t excessDepth_ = 0;
  int32_t fallbackToSkip_ = 0;
  int32_t codePage_ = 1252;
  int32_t defaultFont_ = 0;
  std::unordered_map<int32_t, int32_t> fontCodePages_;
  std::string pending_;
  int32_t pendingCodePage_ = 1252;
  std::unordered_map<int32_t, Converter> converters_;
  std::u16string out_;
};

}  // namespace

void CRtf::Load(std::string_view text) {
  text_.assign(text);
  isRtf_ = LooksLikeRtf(text_);
}

// The conversions carry their own sites.
std::string CRtf::RtfText() const { return isRtf_ ? text_ : PlainToRtf(text_); }

std::string CRtf::PlainText() const { return isRtf_ ? RtfToPlain(text_) : text_; }

bool CRtf::LooksLikeRtf(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r' ||
                           text.front() == '\n')) {
    text.remove_prefix(1);
  }
  return text.substr(0, 5) == "{\\rtf";
}

std::string CRtf::PlainToRtf(std::string_view plain) {
  static constexpr ErrorSite kSite{"9ULZBQ4TXLYM0IAH8SM08KYXB", "CRtf.PlainToRtf"};
  return kSite.Guard([&] {
    std::string rtf;
    if (plain.empty()) return rtf;
    const std::u16string text = unicode::ToUtf16(plain);
    rtf.reserve(kRtfHeader.size() + text.size() + text.size() / 4 + 2);
    rtf += kRtfHeader;
    static constexpr char kHex[] = "0123456789abcdef";
    for (size_t i = 0; i < text.size(); ++i) {
      const char16_t c = text[i];
      if (c == u'\\' || c == u'{' || c == u'}') {
        rtf += '\\';
        rtf += static_cast<char>(c);
      } else if (c == u'\r' || c == u'\n') {
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        rtf += "\\par\n";
      } else if (c == u'\t') {
        rtf += "\\tab ";
      } else if (c < 0x20) {
        rtf += "\\'";
        rtf += kHex[c >> 4];
        rtf += kHex[c & 0x0F];
      } else if (c < 0x80) {
        rtf += static_cast<char>(c);
      } else {
        // Signed 16-bit, as RTF readers expect; "?" stands in for readers without \u.
        rtf += "\\u";
        rtf += std::to_string(static_cast<int16_t>(c));
        rtf += '?';
      }
    }
    rtf += '}';
    return rtf;
  });
}

std::string CRtf::RtfToPlain(std::string_view rtf) {
  static constexpr ErrorSite kSite{"AQJM5F8GVJBG4D5TCOZSV87GB", "CRtf.RtfToPlain"};
  return kSite.Guard([&] { return RtfReader(rtf).Read(); });
}

}  // namespace prvdrinfo
