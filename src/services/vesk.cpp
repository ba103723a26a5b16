#include "prvdrinfo/services/vesk.h"

#include <pwd.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <string_view>
#include <system_error>
#include <vector>

#include "services/internal/date_service.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {

constexpr ErrorSite kSetDataFolderSite{"ELOL5HFQU6PLPUTH9JL48CCZ7", "CVesk.SetDataFolder"};
constexpr ErrorSite kDataFolderSite{"OL7YJF2SBVH00BELFUKFJ8T62", "CVesk.DataFolder"};
constexpr ErrorSite kNowSite{"H42R6B1OOVGPXNY2RAKFK6LNG", "CVesk.Now"};
constexpr ErrorSite kColumnNameSite{"T5M950QK9MTH66RG0QF4HLT7R", "CVesk.ColumnName"};
constexpr ErrorSite kStandardColumnNamesSite{"14EETI5JKFH3MEPMX9UTU9XY0",
                                             "CVesk.StandardColumnNames"};
constexpr ErrorSite kAddressBookSite{"1SI9RAU4VAHLCIZPI2PJSU7H1",
                                     "CVesk.AddressBookColumnIdentifier"};

// The runtime's "Path/File access error".
constexpr int32_t kPathFileAccessError = 75;

struct HostState {
  std::mutex mutex;
  std::string dataFolder;  // "" = the default
  CVesk::LogSink sink;
  CVesk::Clock clock;
};

// Never destroyed: a host's own static objects may set the folder or log as the process
// exits, after function-local statics made later than theirs are gone.
HostState& State() {
  static HostState& state = *new HostState;
  return state;
}

std::string NonEmptyEnv(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

std::string HomeFolder() {
  std::string home = NonEmptyEnv("HOME");
  if (!home.empty()) return home;
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr) {
    home = found->pw_dir;
  }
  return home;
}

std::string AsFolder(const std::string& path) {
  std::string folder = std::filesystem::absolute(std::filesystem::path(path)).string();
  if (folder.empty() || folder.back() != '/') folder.push_back('/');
  return folder;
}

std::string DefaultDataFolder() {
  const std::string own = NonEmptyEnv("PRVDRINFO_DATA_DIR");
  if (!own.empty()) return AsFolder(own);
  const std::string xdg = NonEmptyEnv("XDG_DATA_HOME");
  if (!xdg.empty() && xdg.front() == '/') return AsFolder(xdg + "/prvdrinfo");
  const std::string home = HomeFolder();
  if (home.empty()) {
    kDataFolderSite.Raise(err::kInvalidProcedureCall,
                          "No data folder: set PRVDRINFO_DATA_DIR or HOME.");
  }
  return AsFolder(home + "/.local/share/prvdrinfo");
}

void DefaultSink(const std::string& className, const std::string& message) {
  const std::string target = NonEmptyEnv("PRVDRINFO_LOG");
  if (target.empty()) return;
  char stamp[32] = "";
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  if (gmtime_r(&now, &utc) != nullptr)
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &utc);
  const std::string line = std::string(stamp) + " " + className + ": " + message + "\n";
  if (target == "stderr") {
    std::fwrite(line.data(), 1, line.size(), stderr);
    return;
  }
  if (std::FILE* file = std::fopen(target.c_str(), "a")) {
    std::fwrite(line.data(), 1, line.size(), file);
    std::fclose(file);
  }
}

constexpr const char* kColumnNames[] = {
    "rec_guid",      "hidden",   "updates",    "modified", "created",
    "record_status", "rec_guid", "table_name", "updates",
};

// Identifiers of the address book's fields, by standard contact column type; nullptr
// where the address book has no such field.
constexpr const char* kAddressBookIds[] = {
    "name",                            // 0 name
    "job_title",                       // 1
    "company_name",                    // 2
    "office_address",                  // 3
    "office_city",                     // 4
    "office_province",                 // 5
    "office_country",                  // 6
    "office_city_province",            // 7
    "office_city_province_country",    // 8
    "office_postal_code",              // 9
    "best_phone",                      // 10
    "desk_phone",                      // 11
    "cell_phone",                      // 12
    "office_phone",                    // 13
    "best_fax",                        // 14
    "desk_fax",                        // 15
    "office_fax",                      // 16
    "best_email",                      // 17
    "primary_email",                   // 18
    "secondary_emails",                // 19
    "office_email",                    // 20
    "company_email",                   // 21
    "best_webpage",                    // 22
    "office_webpage",                  // 23
    "company_webpage",                 // 24
    nullptr,                           // 25 signature file
    nullptr,                           // 26 stamp file
    nullptr,                           // 27 signed
    "role",                            // 28
    "category",                        // 29
    "contact_and_company_name_short",  // 30
    "company_name_short",              // 31
    "name_short",                      // 32
    "professional_designations",       // 33
};

}  // namespace

void CVesk::SetDataFolder(const std::string& folder) {
  kSetDataFolderSite.Guard([&] {
    if (folder.find('\0') != std::string::npos) {
      kSetDataFolderSite.Raise(err::kInvalidProcedureCall,
                               "The data folder path contains a NUL character.");
    }
    std::string resolved = folder.empty() ? std::string() : AsFolder(folder);
    std::lock_guard lock(State().mutex);
    State().dataFolder = std::move(resolved);
  });
}

std::string CVesk::DataFolder() {
  return kDataFolderSite.Guard([&] {
    std::string folder;
    {
      std::lock_guard lock(State().mutex);
      folder = State().dataFolder;
    }
    if (folder.empty()) folder = DefaultDataFolder();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!std::filesystem::is_directory(folder)) {
      kDataFolderSite.Raise(kPathFileAccessError,
                            "Cannot create the data folder " + folder + ": " +
                                (ec ? ec.message() : std::string("not a folder")));
    }
    return folder;
  });
}

void CVesk::SetLogSink(LogSink sink) {
  std::lock_guard lock(State().mutex);
  State().sink = std::move(sink);
}

void CVesk::Log(const std::string& className, const std::string& message) {
  try {
    LogSink sink;
    {
      std::lock_guard lock(State().mutex);
      sink = State().sink;
    }
    if (sink) {
      sink(className, message);
    } else {
      DefaultSink(className, message);
    }
  } catch (...) {
    // A diagnostic line must not fail the operation that writes it.
  }
}

void CVesk::SetClock(Clock clock) {
  std::lock_guard lock(State().mutex);
  State().clock = std::move(clock);
}

double CVesk::Now() {
  return kNowSite.Guard([&] {
    Clock clock;
    {
      std::lock_guard lock(State().mutex);
      clock = State().clock;
    }
    if (!clock) return DateService::UtcToLocal(DateService::FromUnixTime(std::time(nullptr)));
    const double now = clock();
    if (!DateService::IsValidDate(now)) {
      kNowSite.Raise(err::kInvalidProcedureCall,
                     "The clock gave an invalid date: " + std::to_string(now));
    }
    return now;
  });
}

std::string CVesk::ColumnName(e_VeskColumn column, e_VeskNameForm form) {
  return kColumnNameSite.Guard([&] {
    if (column < veskcol_RecordGuid || column > veskcol_DeletedUpdates) {
      kColumnNameSite.Raise(err::kInvalidProcedureCall,
                            "Unknown column: " + std::to_string(static_cast<int32_t>(column)));
    }
    const std::string plain = kColumnNames[static_cast<size_t>(column)];
    switch (form) {
      case veskform_Plain: return plain;
      case veskform_Sql: return "\"" + plain + "\"";
    }
    kColumnNameSite.Raise(err::kInvalidProcedureCall,
                          "Unknown name form: " + std::to_string(static_cast<int32_t>(form)));
  });
}

std::array<std::string, 2> CVesk::StandardColumnNames(e_VeskColumn column) {
  return kStandardColumnNamesSite.Guard([&] {
    return std::array<std::string, 2>{ColumnName(column, veskform_Plain),
                                      ColumnName(column, veskform_Sql)};
  });
}

std::string CVesk::DefaultCaption() { return "New Column"; }

bool CVesk::HasAddressBookColumnIdentifier(int32_t contactColumnType) {
  constexpr auto count = static_cast<int32_t>(std::size(kAddressBookIds));
  return contactColumnType >= 0 && contactColumnType < count &&
         kAddressBookIds[contactColumnType] != nullptr;
}

std::string CVesk::AddressBookColumnIdentifier(int32_t contactColumnType) {
  return kAddressBookSite.Guard([&] {
    if (!HasAddressBookColumnIdentifier(contactColumnType)) {
      kAddressBookSite.Raise(err::kInvalidProcedureCall, "Unknown contact column type.");
    }
    return std::string(kAddressBookIds[contactColumnType]);
  });
}

}  // namespace prvdrinfo
