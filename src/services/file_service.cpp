#include "services/internal/file_service.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "prvdrinfo/services/guid_service.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {

void RequireNoNul(const ErrorSite& site, std::string_view path) {
  if (path.find('\0') != std::string_view::npos) {
    site.Raise(err::kInvalidProcedureCall, "A file path cannot contain a NUL character.");
  }
}

// Closes on every path out; Close() reports the error of an explicit close.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  int Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

void FileService::RaiseSystemError(const ErrorSite& site, int code, std::string_view path) {
  int32_t number = err::kPathFileAccessError;
  std::string text = "Path/File access error";
  switch (code) {
    case ENOENT:
      number = err::kFileNotFound;
      text = "File not found";
      break;
    case ENOTDIR:
      number = err::kPathNotFound;
      text = "Path not found";
      break;
    case EACCES:
    case EPERM:
    case EROFS:
      number = err::kPermissionDenied;
      text = "Permission denied";
      break;
    case ENOSPC:
    case EDQUOT:
      number = err::kDiskFull;
      text = "Disk full";
      break;
    default: break;
  }
  site.Raise(number, text + ": " + std::string(path) + ": " + std::strerror(code));
}

std::string FileService::Join(std::string_view folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  size_t folderEnd = folder.size();
  while (folderEnd > 0 && folder[folderEnd - 1] == '/') --folderEnd;
  size_t nameStart = 0;
  while (nameStart < name.size() && name[nameStart] == '/') ++nameStart;
  std::string joined(folder.substr(0, folderEnd));
  joined += '/';
  joined += name.substr(nameStart);
  return joined;
}

bool FileService::FileExists(std::string_view path) {
  if (path.empty() || path.find('\0') != std::string_view::npos) return false;
  struct stat info {};
  return ::stat(std::string(path).c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool FileService::FolderExists(std::string_view path) {
  if (path.empty() || path.find('\0') != std::string_view::npos) return false;
  struct stat info {};
  return ::stat(std::string(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void FileService::CreateFolder(std::string_view path) {
  static constexpr ErrorSite kSite{"Z81GMHSHPKDDVSMN9GYVMIR9T", "FileService.CreateFolder"};
  kSite.Guard([&] {
    RequireNoNul(kSite, path);
    if (path.empty()) kSite.Raise(err::kPathNotFound, "Path not found: no folder given.");
    if (FolderExists(path)) return;
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(std::string(path)), error);
    if (error)
      FileService::RaiseSystemError(kSite, error.value() == EEXIST ? ENOTDIR : error.value(), path);
    if (!FolderExists(path)) FileService::RaiseSystemError(kSite, ENOTDIR, path);
  });
}

Bytes FileService::ReadAll(std::string_view path) {
  static constexpr ErrorSite kSite{"C8VZ7A2CHBMZDEOPZYB30DYAH", "FileService.ReadAll"};
  return kSite.Guard([&] {
    RequireNoNul(kSite, path);
    const std::string name(path);
    Descriptor file(::open(name.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) FileService::RaiseSystemError(kSite, errno, path);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) FileService::RaiseSystemError(kSite, errno, path);
    if (S_ISDIR(info.st_mode)) FileService::RaiseSystemError(kSite, EISDIR, path);
    Bytes bytes;
    // The size is a hint only: the file may grow or shrink while it is read.
    if (S_ISREG(info.st_mode) && info.st_size > 0) bytes.reserve(static_cast<size_t>(info.st_size));
    size_t used = 0;
    for (;;) {
      if (bytes.size() - used < 65536) bytes.resize(used + 65536);
      const ssize_t n = ::read(file.get(), bytes.data() + used, bytes.size() - used);
      if (n < 0) {
        if (errno == EINTR) continue;
        FileService::RaiseSystemError(kSite, errno, path);
      }
      if (n == 0) break;
      used += static_cast<size_t>(n);
    }
    bytes.resize(used);
    bytes.shrink_to_fit();
    return bytes;
  });
}

void FileService::WriteAll(std::string_view path, const Bytes& bytes) {
  static constexpr ErrorSite kSite{"HZEAAO41MDZKNW097N7JMX2JR", "FileService.WriteAll"};
  kSite.Guard([&] {
    RequireNoNul(kSite, path);
    const std::string target(path);
    if (target.empty() || target.back() == '/') {
      kSite.Raise(err::kPathFileAccessError,
                  "Path/File access error: '" + target + "' names no file.");
    }
    struct stat existing {};
    bool keepMode = false;
    if (::lstat(target.c_str(), &existing) == 0) {
      if (S_ISDIR(existing.st_mode)) FileService::RaiseSystemError(kSite, EISDIR, path);
      keepMode = S_ISREG(existing.st_mode);
    }

    const std::string folder = FolderOf(target);
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
      temporary = Join(folder, ".prvdrinfo-" + GuidService::NewGuid(32, 0, false) + ".tmp");
      fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd < 0 && (errno != EEXIST || attempt >= 16)) {
        FileService::RaiseSystemError(kSite, errno == ENOENT ? ENOTDIR : errno, path);
      }
    }
    Descriptor file(fd);
    // Until the rename succeeds, the temporary file goes on every way out.
    struct Remover {
      const std::string* name;
      ~Remover() {
        if (name) ::unlink(name->c_str());
      }
    } remover{&temporary};

    if (keepMode && ::fchmod(file.get(), existing.st_mode & 07777) != 0)
      FileService::RaiseSystemError(kSite, errno, path);
    size_t written = 0;
    while (written < bytes.size()) {
      const ssize_t n = ::write(file.get(), bytes.data() + written, bytes.size() - written);
      if (n < 0) {
        if (errno == EINTR) continue;
        FileService::RaiseSystemError(kSite, errno, path);
      }
      written += static_cast<size_t>(n);
    }
    if (::fsync(file.get()) != 0) FileService::RaiseSystemError(kSite, errno, path);
    if (file.Close() != 0) FileService::RaiseSystemError(kSite, errno, path);
    if (::rename(temporary.c_str(), target.c_str()) != 0)
      FileService::RaiseSystemError(kSite, errno, path);
    remover.name = nullptr;

    // Make the rename itself durable; file systems that cannot sync a folder still
    // hold a complete file, so a failure here is not reported.
    Descriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() >= 0) ::fsync(directory.get());
  });
}

}  // namespace prvdrinfo
