#pragma once

#include <string>
#include <string_view>

namespace prvdrinfo {

// The rich-text component: holds one text and gives its rich-text and plain-text forms.
// A text is rich text when it begins with "{\rtf" (after an optional UTF-8 byte order
// mark and white space); anything else is plain text. The empty text has two empty forms.
//
// Plain text becomes a minimal RTF document: "\", "{" and "}" escaped, line breaks
// (CR LF, LF or CR) as \par, TAB as \tab, other control characters as \'hh, and every
// character beyond ASCII as \uN with "?" for readers without Unicode.
//
// Rich text becomes its text without formatting: groups and control words are read, not
// shown; \'hh bytes decode in the code page in force (the font's \fcharset or \cpg,
// else the document's \ansicpg, else 1252); \uN gives the UTF-16 unit N and skips the
// \ucN fallback characters after it; destinations that are not text (\*, font and colour
// tables, style sheet, info, pictures, objects, headers, footers, field instructions,
// list numbering, ...) are skipped; \par, \line, \sect, \page and \row end a line, \tab
// and \cell give a TAB; \binN data is passed over. Raw text between the control words is
// taken as UTF-8. The reading is iterative with a bounded state stack, so neither
// unbalanced braces, deep nesting nor huge inputs can exhaust it: unmatched "}" are
// ignored, unclosed groups end with the text, and groups nested more than 256 deep are
// passed over as not text.
class CRtf {
 public:
  void Load(std::string_view text);
  const std::string& Text() const { return text_; }
  bool IsRtf() const { return isRtf_; }

  // Rich text as loaded, or plain text made into RTF.
  std::string RtfText() const;
  // Plain text as loaded, or the text of the rich text.
  std::string PlainText() const;

  static bool LooksLikeRtf(std::string_view text);
  static std::string PlainToRtf(std::string_view plain);
  static std::string RtfToPlain(std::string_view rtf);

 private:
  std::string text_;
  bool isRtf_ = false;
};

}  // namespace prvdrinfo
