#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/variant.h"

namespace prvdrinfo {

namespace err {
// File errors of the automation runtime, raised with the path and the system's reason.
inline constexpr int32_t kFileNotFound = 53;
inline constexpr int32_t kDiskFull = 61;
inline constexpr int32_t kPathFileAccessError = 75;
inline constexpr int32_t kPathNotFound = 76;
}  // namespace err

// Paths, folders and whole files. Paths are UTF-8 text handed to the system unchanged;
// a path holding a NUL character cannot name a file and raises 5.
class FileService {
 public:
  // folder + "/" + name with exactly one "/" between them, however many either side
  // brings. An empty folder gives the name alone; an empty name gives the folder with
  // its trailing "/". Pure text: nothing is checked on disk.
  static std::string Join(std::string_view folder, std::string_view name);

  // True when the path names an existing file that is not a folder (links followed).
  // Never raises for a path that cannot exist: such a path gives false.
  static bool FileExists(std::string_view path);
  static bool FolderExists(std::string_view path);

  // Creates the folder and any missing parents (like mkdir -p); an existing folder is
  // fine, an existing file in the way raises 75.
  static void CreateFolder(std::string_view path);

  // The whole file. Missing file 53, missing folder 76, no permission 70, a folder or
  // other failure 75; the description names the path and the system's reason.
  static Bytes ReadAll(std::string_view path);

  // Replaces the file's content with `bytes` so that readers only ever see the old or
  // the new content, never a part: the bytes go to a new file in the same folder, are
  // flushed to disk, and that file is renamed over the target. An existing file keeps
  // its permissions; a new one gets the process's default (0666 less the umask). A
  // failure leaves the old file as it was and no temporary file behind. A symbolic
  // link at the path is replaced by the file, not followed.
  static void WriteAll(std::string_view path, const Bytes& bytes);

  // Raises, from `site`, the runtime's file error for a system error number (errno):
  // ENOENT 53, ENOTDIR 76, EACCES/EPERM/EROFS 70, ENOSPC/EDQUOT 61, anything else 75;
  // the description is "<runtime text>: <path>: <system reason>".
  [[noreturn]] static void RaiseSystemError(const ErrorSite& site, int errorNumber,
                                            std::string_view path);
};

}  // namespace prvdrinfo
