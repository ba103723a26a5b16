#pragma once

#include <cstdint>

namespace prvdrinfo {

// Locale ids are the platform's LCIDs, so that values stored by hosts keep their meaning.
// Captions default to English (Canada).
enum e_LocaleId : int32_t {
  localeid_EnglishUnitedStates = 1033,
  localeid_FrenchFrance = 1036,
  localeid_EnglishUnitedKingdom = 2057,
  localeid_SpanishMexico = 2058,
  localeid_EnglishAustralia = 3081,
  localeid_FrenchCanada = 3084,
  localeid_EnglishCanada = 4105,
  localeid_SpanishInternational = 3082,
};

// Paper sizes use the platform's printer numbering (the DMPAPER values), the numbers that
// page templates store. `papersize_Custom` is the printer's user-defined size.
enum e_PaperSize : int32_t {
  papersize_Letter = 1,
  papersize_LetterSmall = 2,
  papersize_Tabloid = 3,
  papersize_Ledger = 4,
  papersize_Legal = 5,
  papersize_Statement = 6,
  papersize_Executive = 7,
  papersize_A3 = 8,
  papersize_A4 = 9,
  papersize_A4Small = 10,
  papersize_A5 = 11,
  papersize_B4 = 12,
  papersize_B5 = 13,
  papersize_Folio = 14,
  papersize_Quarto = 15,
  papersize_10x14 = 16,
  papersize_11x17 = 17,
  papersize_Note = 18,
  papersize_CSheet = 24,
  papersize_DSheet = 25,
  papersize_ESheet = 26,
  papersize_A2 = 66,
  papersize_A6 = 70,
  papersize_Custom = 256,
};

enum e_PaperOrientation : int32_t {
  paperorient_Portrait = 0,
  paperorient_Landscape = 1,
};

}  // namespace prvdrinfo
