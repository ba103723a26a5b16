#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace prvdrinfo {

// Named mutexes shared by every process that uses the same data folder: the locks that
// serialise creating, repairing and maintaining the views database.
//
// A mutex is a lock file "<folder>/locks/<name>.lock" with an exclusive open-file-
// description lock (fcntl F_OFD_SETLK) on it. The kernel drops the lock when the holding
// process ends in any way, SIGKILL included, so a crashed holder never blocks the others.
// Open-file-description locks (not flock) because they can be tested without being taken
// (F_OFD_GETLK): Exists must not itself make a concurrent owner fail. Lock files stay in
// place; removing one would let two processes lock two different files of one name.
//
// Names: any text. Letters, digits, "_" and "-" are kept; every other byte becomes %HH,
// so distinct names give distinct files, and no name reaches outside the lock folder.
// Names longer than the file system allows end in the SHA-256 of the whole name.
// Names are case-sensitive, as on the original platform.
//
// Ownership, as the original platform's mutexes have it:
//   - Ownership belongs to the thread that took it. The same thread may take a mutex it
//     already owns again (each success gives a new handle); the mutex is free once every
//     one of those handles is released.
//   - Another thread of the same process meets it as taken, like another process does.
//   - A handle is released by Release, or when the process ends. Handles are never
//     reused; releasing 0, an unknown or an already released handle does nothing.
//   - A child made by fork does not inherit ownership: its copies of the lock files are
//     closed in the child, and the parent keeps its locks.
class MutexService {
 public:
  using Handle = int64_t;  // 0: not owned

  // The lock files go into "<dataFolder>/locks/", created on first need. An empty folder
  // raises 5.
  explicit MutexService(std::string dataFolder);

  const std::string& LockFolder() const { return lockFolder_; }
  // The lock file that stands for a name.
  std::string LockFilePath(std::string_view name) const;

  // Takes the mutex, waiting up to waitSeconds (0: one attempt) while someone else owns
  // it. Returns the handle, or 0 when it is still owned by another process or thread
  // after the wait. An empty name or a negative wait raises 5; a lock folder that cannot
  // be made or used raises the file error.
  Handle CreateAndOwn(std::string_view name, int32_t waitSeconds);

  // One attempt to take the mutex, held until Release or the end of the process; 0 when
  // another owns it. `message` says what the caller was attempting; it becomes the
  // context of any error raised.
  Handle Create(std::string_view name, std::string_view message);

  // True while any process (this one included) owns the mutex. Never raises for a name:
  // an empty or unusable name gives false.
  bool Exists(std::string_view name) const;

  // True when the handle was owned and is now released.
  static bool Release(Handle handle) noexcept;

 private:
  Handle TryAcquire(const std::string& path);

  std::string lockFolder_;
};

// Releases its handle when it goes, on every path out of a scope.
class ScopedMutex {
 public:
  ScopedMutex() = default;
  explicit ScopedMutex(MutexService::Handle handle) : handle_(handle) {}
  ScopedMutex(ScopedMutex&& other) noexcept : handle_(other.Detach()) {}
  ScopedMutex& operator=(ScopedMutex&& other) noexcept {
    if (this != &other) {
      Release();
      handle_ = other.Detach();
    }
    return *this;
  }
  ScopedMutex(const ScopedMutex&) = delete;
  ScopedMutex& operator=(const ScopedMutex&) = delete;
  ~ScopedMutex() { Release(); }

  bool Owns() const { return handle_ != 0; }
  MutexService::Handle Handle() const { return handle_; }
  void Release() noexcept {
    if (handle_ != 0) MutexService::Release(handle_);
    handle_ = 0;
  }
  // Gives up the duty to release: the mutex stays owned, e.g. until the process ends.
  MutexService::Handle Detach() noexcept {
    const MutexService::Handle handle = handle_;
    handle_ = 0;
    return handle;
  }

 private:
  MutexService::Handle handle_ = 0;
};

}  // namespace prvdrinfo
