#pragma once

#include <cstdint>
#include <string>

#include "prvdrinfo/services/stock_enums.h"

namespace prvdrinfo {

// The display name of a paper size ("Letter", "11 x 17"). A number outside
// e_PaperSize still gets a name ("Paper Size 300"), so a template stored by a newer
// host keeps a readable caption.
std::string PaperSizeName(int32_t paperSize);

}  // namespace prvdrinfo
