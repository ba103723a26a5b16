#include "services/internal/paper_size.h"

namespace prvdrinfo {

std::string PaperSizeName(int32_t paperSize) {
  switch (paperSize) {
    case papersize_Letter: return "Letter";
    case papersize_LetterSmall: return "Letter Small";
    case papersize_Tabloid: return "Tabloid";
    case papersize_Ledger: return "Ledger";
    case papersize_Legal: return "Legal";
    case papersize_Statement: return "Statement";
    case papersize_Executive: return "Executive";
    case papersize_A3: return "A3";
    case papersize_A4: return "A4";
    case papersize_A4Small: return "A4 Small";
    case papersize_A5: return "A5";
    case papersize_B4: return "B4";
    case papersize_B5: return "B5";
    case papersize_Folio: return "Folio";
    case papersize_Quarto: return "Quarto";
    case papersize_10x14: return "10 x 14";
    case papersize_11x17: return "11 x 17";
    case papersize_Note: return "Note";
    case papersize_CSheet: return "C Sheet";
    case papersize_DSheet: return "D Sheet";
    case papersize_ESheet: return "E Sheet";
    case papersize_A2: return "A2";
    case papersize_A6: return "A6";
    case papersize_Custom: return "Custom";
    default: return "Paper Size " + std::to_string(paperSize);
  }
}

}  // namespace prvdrinfo
