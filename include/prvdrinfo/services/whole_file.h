#pragma once

#include <string_view>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"

namespace prvdrinfo {

// Replaces the file at path with bytes so that readers see the old content or the new,
// never a part, and a failure (a full disk included) leaves the old file as it was: the
// bytes go to a new file beside it, are flushed to disk and renamed over it. The host's
// entry to the library's own whole-file write; its errors name the path and the reason
// (53, 61, 70, 75, 76 as the runtime numbers them).
PRVDRINFO_API void WriteWholeFile(std::string_view path, const Bytes& bytes);

}  // namespace prvdrinfo
