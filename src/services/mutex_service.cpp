#include "services/internal/mutex_service.h"

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <mutex>
#include <span>
#include <thread>
#include <unordered_map>

#include "services/internal/file_service.h"
#include "foundation/internal/sha256.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {

// What this process owns, shared by every MutexService object: the kernel lock belongs
// to one open file description, which the first owning handle opens and the last one
// closes.
struct Owned {
  int fd = -1;
  std::thread::id owner;
  int64_t handles = 0;
};

struct Registry {
  std::mutex mutex;
  std::unordered_map<std::string, Owned> byPath;
  std::unordered_map<MutexService::Handle, std::string> pathByHandle;
  MutexService::Handle next = 1;
};

Registry& TheRegistry();

void LockBeforeFork() { TheRegistry().mutex.lock(); }
void UnlockInParent() { TheRegistry().mutex.unlock(); }
// The child shares the parent's open file descriptions, so it must close its copies
// without unlocking them: an unlock would take the parent's lock away.
void ForgetInChild() {
  Registry& registry = TheRegistry();
  for (auto& [path, owned] : registry.byPath) ::close(owned.fd);
  registry.byPath.clear();
  registry.pathByHandle.clear();
  registry.mutex.unlock();
}

Registry& TheRegistry() {
  // Never destroyed: handles may be held until the process ends, past static clean-up.
  static Registry* registry = [] {
    auto* made = new Registry;
    ::pthread_atfork(LockBeforeFork, UnlockInParent, ForgetInChild);
    return made;
  }();
  return *registry;
}

struct flock WholeFile(short type) {
  struct flock range {};
  range.l_type = type;
  range.l_whence = SEEK_SET;
  range.l_start = 0;
  range.l_len = 0;
  return range;
}

constexpr size_t kLongestPlainName = 200;

std::string SafeFileName(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string safe;
  safe.reserve(std::min(name.size(), kLongestPlainName + 3));
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
        (byte >= '0' && byte <= '9') || byte == '_' || byte == '-') {
      safe.push_back(c);
    } else {
      safe.push_back('%');
      safe.push_back(kHex[byte >> 4]);
      safe.push_back(kHex[byte & 0x0F]);
    }
    if (safe.size() > kLongestPlainName) break;
  }
  if (safe.size() > kLongestPlainName) {
    // "~" never comes out of the escaping above, so shortened names cannot meet plain ones.
    safe.resize(kLongestPlainName - 65);
    safe += '~';
    safe +=
        Sha256Hasher::HexOf(std::span(reinterpret_cast<const uint8_t*>(name.data()), name.size()));
  }
  return safe;
}

}  // namespace

MutexService::MutexService(std::string dataFolder) {
  static constexpr ErrorSite kSite{"4JEPNVSW97GSJ8E9QN5OUIG83", "MutexService.Construct"};
  kSite.Guard([&] {
    if (dataFolder.empty())
      kSite.Raise(err::kInvalidProcedureCall, "Named mutexes need a data folder.");
    if (dataFolder.find('\0') != std::string::npos) {
      kSite.Raise(err::kInvalidProcedureCall, "A file path cannot contain a NUL character.");
    }
    lockFolder_ = FileService::Join(dataFolder, "locks");
  });
}

std::string MutexService::LockFilePath(std::string_view name) const {
  return FileService::Join(lockFolder_, SafeFileName(name) + ".lock");
}

MutexService::Handle MutexService::TryAcquire(const std::string& path) {
  static constexpr ErrorSite kSite{"4NCKU2DJA5V12NNVK57VYLCHM", "MutexService.TryAcquire"};
  return kSite.Guard([&] {
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.mutex);
    if (const auto found = registry.byPath.find(path); found != registry.byPath.end()) {
      if (found->second.owner != std::this_thread::get_id()) return Handle{0};
      const Handle handle = registry.next++;
      registry.pathByHandle.emplace(handle, path);
      ++found->second.handles;
      return handle;
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) FileService::RaiseSystemError(kSite, errno, path);
    struct flock range = WholeFile(static_cast<short>(F_WRLCK));
    if (::fcntl(fd, F_OFD_SETLK, &range) != 0) {
      const int code = errno;
      ::close(fd);
      if (code == EAGAIN || code == EACCES) return Handle{0};
      FileService::RaiseSystemError(kSite, code, path);
    }
    try {
      const Handle handle = registry.next++;
      registry.pathByHandle.emplace(handle, path);
      registry.byPath.emplace(path, Owned{fd, std::this_thread::get_id(), 1});
      return handle;
    } catch (...) {
      ::close(fd);
      throw;
    }
  });
}

MutexService::Handle MutexService::CreateAndOwn(std::string_view name, int32_t waitSeconds) {
  static constexpr ErrorSite kSite{"9OPR38J04UDMS6NVPZLQ2GR8N", "MutexService.CreateAndOwn"};
  return kSite.Guard(
      [&] {
        if (name.empty()) kSite.Raise(err::kInvalidProcedureCall, "A mutex needs a name.");
        if (waitSeconds < 0)
          kSite.Raise(err::kInvalidProcedureCall, "The wait for a mutex cannot be negative.");
        const std::string path = LockFilePath(name);
        FileService::CreateFolder(lockFolder_);
        using Clock = std::chrono::steady_clock;
        const Clock::time_point deadline = Clock::now() + std::chrono::seconds(waitSeconds);
        std::chrono::milliseconds pause(5);
        for (;;) {
          if (const Handle handle = TryAcquire(path)) return handle;
          const Clock::time_point now = Clock::now();
          if (now >= deadline) return Handle{0};
          std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - now));
          pause = std::min(pause * 2, std::chrono::milliseconds(50));
        }
      },
      [&] { return "Mutex name: " + std::string(name); });
}

MutexService::Handle MutexService::Create(std::string_view name, std::string_view message) {
  static constexpr ErrorSite kSite{"IEBWGC1BZQ8G32TFDJLFFVTRR", "MutexService.Create"};
  return kSite.Guard(
      [&] {
        if (name.empty()) kSite.Raise(err::kInvalidProcedureCall, "A mutex needs a name.");
        const std::string path = LockFilePath(name);
        FileService::CreateFolder(lockFolder_);
        return TryAcquire(path);
      },
      [&] { return std::string(message) + "\nMutex name: " + std::string(name); });
}

bool MutexService::Exists(std::string_view name) const {
  if (name.empty()) return false;
  try {
    const std::string path = LockFilePath(name);
    {
      Registry& registry = TheRegistry();
      std::lock_guard guard(registry.mutex);
      if (registry.byPath.count(path) != 0) return true;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;
    struct flock range = WholeFile(static_cast<short>(F_WRLCK));
    const bool tested = ::fcntl(fd, F_OFD_GETLK, &range) == 0;
    ::close(fd);
    return tested && range.l_type != F_UNLCK;
  } catch (...) {
    return false;
  }
}

bool MutexService::Release(Handle handle) noexcept {
  if (handle == 0) return false;
  Registry& registry = TheRegistry();
  std::lock_guard guard(registry.mutex);
  const auto byHandle = registry.pathByHandle.find(handle);
  if (byHandle == registry.pathByHandle.end()) return false;
  const auto owned = registry.byPath.find(byHandle->second);
  registry.pathByHandle.erase(byHandle);
  if (owned == registry.byPath.end()) return false;
  if (--owned->second.handles == 0) {
    struct flock range = WholeFile(static_cast<short>(F_UNLCK));
    ::fcntl(owned->second.fd, F_OFD_SETLK, &range);
    ::close(owned->second.fd);
    registry.byPath.erase(owned);
  }
  return true;
}

}  // namespace prvdrinfo
