#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "prvdrinfo/foundation/variant.h"

namespace prvdrinfo::test {

// Writes views database files as older versions of the library left them, for the
// fix-up pass to upgrade. The oldest layout has neither standard_view nor
// notification_view, no versions, properties or deletion log, and lets private_to_guid
// and caption be Null; each flag adds one thing that later versions brought.
struct OldViewsDbLayout {
  bool standardView = false;
  bool notificationView = false;
  bool versions = false;
  bool properties = false;
  bool deletionLog = false;
  bool filtersTable = true;
};

struct OldViewRow {
  std::string guid;
  std::string providerGuid;
  std::optional<std::string> privateToGuid;  // nullopt: Null
  std::optional<std::string> caption;        // nullopt: Null
  Variant content;                           // propertybag_content as stored
  int32_t updates = 0;
  int32_t standardView = 0;      // written where the layout has the column
  int32_t notificationView = 0;  // likewise
};

// The stored bytes of a view with that caption and StandardView flag, the same on every
// call.
Bytes StoredViewBytes(const std::string& caption, bool standardView);

// Writes a new file at path; an existing file is replaced.
void WriteOldViewsDb(const std::string& path, const OldViewsDbLayout& layout,
                     const std::vector<OldViewRow>& rows);

}  // namespace prvdrinfo::test
