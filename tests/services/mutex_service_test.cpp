#include "services/internal/mutex_service.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// ---- The child side: this test program started again with PRVDRINFO_MUTEX_CHILD set
// runs one mutex action in a process of its own and ends before main.

std::string Env(const char* key) {
  const char* value = std::getenv(key);
  return value ? value : "";
}

void Say(const std::string& line) {
  const std::string text = line + "\n";
  [[maybe_unused]] const ssize_t n = ::write(STDOUT_FILENO, text.data(), text.size());
}

int RunChild() {
  const std::string mode = Env("PRVDRINFO_MUTEX_CHILD");
  MutexService service(Env("PRVDRINFO_MUTEX_FOLDER"));
  const std::string name = Env("PRVDRINFO_MUTEX_NAME");
  const int32_t wait = std::atoi(Env("PRVDRINFO_MUTEX_WAIT").c_str());
  if (mode == "hold") {
    // Holds the mutex until its input closes (or it is killed).
    const MutexService::Handle handle = service.CreateAndOwn(name, wait);
    Say(handle ? "owned" : "busy");
    char byte;
    while (::read(STDIN_FILENO, &byte, 1) > 0) {
    }
    MutexService::Release(handle);
    return 0;
  }
  if (mode == "try") {
    Say(service.CreateAndOwn(name, wait) ? "owned" : "busy");
    return 0;
  }
  if (mode == "exists") {
    Say(service.Exists(name) ? "yes" : "no");
    return 0;
  }
  if (mode == "critical") {
    // Enters the critical section a few times; a marker file that already exists on
    // entry means two processes were inside at once.
    const std::string marker = Env("PRVDRINFO_MUTEX_MARKER");
    for (int round = 0; round < 5; ++round) {
      ScopedMutex held(service.CreateAndOwn(name, wait));
      if (!held.Owns()) return 4;
      const int fd = ::open(marker.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
      if (fd < 0) return 3;
      ::close(fd);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      ::unlink(marker.c_str());
    }
    return 0;
  }
  return 9;
}

[[maybe_unused]] const int kChildMode = [] {
  if (Env("PRVDRINFO_MUTEX_CHILD").empty()) return 0;
  int code = 8;
  try {
    code = RunChild();
  } catch (...) {
  }
  ::_exit(code);
}();

// ---- The parent side.

class Child {
 public:
  Child(const std::map<std::string, std::string>& settings) {
    std::vector<std::string> environment;
    for (const auto& [key, value] : settings) environment.push_back(key + "=" + value);
    for (char** entry = environ; *entry; ++entry) {
      if (std::string(*entry).rfind("PRVDRINFO_MUTEX_", 0) != 0) environment.push_back(*entry);
    }
    std::vector<char*> envp;
    for (auto& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);
    char program[] = "/proc/self/exe";
    char* argv[] = {program, nullptr};
    const std::string self = fs::read_symlink("/proc/self/exe");

    int input[2];
    int output[2];
    if (::pipe2(input, O_CLOEXEC) != 0 || ::pipe2(output, O_CLOEXEC) != 0)
      throw std::runtime_error("pipe");
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork");
    if (pid_ == 0) {
      ::dup2(input[0], STDIN_FILENO);
      ::dup2(output[1], STDOUT_FILENO);
      ::execve(self.c_str(), argv, envp.data());
      ::_exit(127);
    }
    ::close(input[0]);
    ::close(output[1]);
    toChild_ = input[1];
    fromChild_ = output[0];
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child() {
    CloseInput();
    if (fromChild_ >= 0) ::close(fromChild_);
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }

  // The child's next line, or "timeout".
  std::string ReadLine(int timeoutMs = 30000) {
    std::string line;
    for (;;) {
      pollfd ready{fromChild_, POLLIN, 0};
      if (::poll(&ready, 1, timeoutMs) <= 0) return "timeout";
      char c;
      if (::read(fromChild_, &c, 1) != 1) return line.empty() ? "eof" : line;
      if (c == '\n') return line;
      line.push_back(c);
    }
  }
  void CloseInput() {
    if (toChild_ >= 0) ::close(toChild_);
    toChild_ = -1;
  }
  void Kill() { ::kill(pid_, SIGKILL); }
  // Exit code, or -signal.
  int Wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
  }

 private:
  pid_t pid_ = -1;
  int toChild_ = -1;
  int fromChild_ = -1;
};

class MutexServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/prvdrinfo-mutex-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    folder_ = std::string(pattern) + "/";
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  std::unique_ptr<Child> Start(const std::string& mode, const std::string& name, int32_t wait = 0,
                               const std::string& marker = "") {
    return std::make_unique<Child>(
        std::map<std::string, std::string>{{"PRVDRINFO_MUTEX_CHILD", mode},
                                           {"PRVDRINFO_MUTEX_FOLDER", folder_},
                                           {"PRVDRINFO_MUTEX_NAME", name},
                                           {"PRVDRINFO_MUTEX_WAIT", std::to_string(wait)},
                                           {"PRVDRINFO_MUTEX_MARKER", marker}});
  }
  double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
  }

  std::string folder_;
};

const std::string kName = "VIEWSCREATINGDB_EGVTK8G88K2T27KTNYAPXSAK1";

TEST_F(MutexServiceTest, AnotherProcessWaitsForTheBoundAndGetsTheMutexOnceReleased) {
  MutexService service(folder_);
  auto holder = Start("hold", kName);
  ASSERT_EQ(holder->ReadLine(), "owned");

  EXPECT_EQ(service.CreateAndOwn(kName, 0), 0);
  const auto start = Clock::now();
  EXPECT_EQ(service.CreateAndOwn(kName, 1), 0);
  const double waited = SecondsSince(start);
  EXPECT_GE(waited, 0.95);
  EXPECT_LT(waited, 5.0);

  // Released while this process waits: the wait ends with the mutex, well before its bound.
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    holder->CloseInput();
  });
  const auto second = Clock::now();
  ScopedMutex mine(service.CreateAndOwn(kName, 30));
  release.join();
  EXPECT_TRUE(mine.Owns());
  EXPECT_LT(SecondsSince(second), 10.0);
  EXPECT_EQ(holder->Wait(), 0);

  // And now the child is the one that finds it taken, then gets it when it is released.
  auto tryer = Start("try", kName, 0);
  EXPECT_EQ(tryer->ReadLine(), "busy");
  EXPECT_EQ(tryer->Wait(), 0);
  auto waiter = Start("try", kName, 30);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  mine.Release();
  EXPECT_EQ(waiter->ReadLine(), "owned");
  EXPECT_EQ(waiter->Wait(), 0);
}

TEST_F(MutexServiceTest, ExistsWhileAnotherProcessHoldsIt) {
  MutexService service(folder_);
  EXPECT_FALSE(service.Exists(kName));
  auto holder = Start("hold", kName);
  ASSERT_EQ(holder->ReadLine(), "owned");
  EXPECT_TRUE(service.Exists(kName));
  EXPECT_FALSE(service.Exists(kName + "X"));
  EXPECT_FALSE(
      service.Exists("viewscreatingdb_egvtk8g88k2t27ktnyapxsak1"));  // names are case-sensitive
  // Testing for existence takes nothing: the holder keeps it, and a third process still
  // finds it taken.
  EXPECT_TRUE(service.Exists(kName));
  auto tryer = Start("try", kName, 0);
  EXPECT_EQ(tryer->ReadLine(), "busy");
  holder->CloseInput();
  EXPECT_EQ(holder->Wait(), 0);
  EXPECT_FALSE(service.Exists(kName));

  // The other way round: a child sees this process's mutex.
  ScopedMutex mine(service.Create(kName, "Attempting to create Fixed Views DB mutex in test"));
  ASSERT_TRUE(mine.Owns());
  auto asker = Start("exists", kName);
  EXPECT_EQ(asker->ReadLine(), "yes");
  mine.Release();
  auto asker2 = Start("exists", kName);
  EXPECT_EQ(asker2->ReadLine(), "no");
}

TEST_F(MutexServiceTest, AHolderKilledWithSigkillFreesTheMutex) {
  MutexService service(folder_);
  auto holder = Start("hold", kName);
  ASSERT_EQ(holder->ReadLine(), "owned");
  EXPECT_TRUE(service.Exists(kName));
  holder->Kill();
  EXPECT_EQ(holder->Wait(), -SIGKILL);
  EXPECT_FALSE(service.Exists(kName));
  ScopedMutex mine(service.CreateAndOwn(kName, 0));
  EXPECT_TRUE(mine.Owns());
}

TEST_F(MutexServiceTest, OnlyOneProcessAtATimeIsInside) {
  const std::string marker = folder_ + "inside";
  std::vector<std::unique_ptr<Child>> children;
  for (int i = 0; i < 4; ++i)
    children.push_back(Start("critical", "VIEWSPERFVAC_BDI5WJHHQAKVMVQH75W7HGQMS", 60, marker));
  for (auto& child : children) EXPECT_EQ(child->Wait(), 0);  // 3: two inside at once, 4: timed out
}

TEST_F(MutexServiceTest, AForkedChildDoesNotInheritOwnership) {
  MutexService service(folder_);
  ScopedMutex mine(service.CreateAndOwn(kName, 0));
  ASSERT_TRUE(mine.Owns());
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    int code = 0;
    if (!service.Exists(kName)) code |= 1;
    if (service.CreateAndOwn(kName, 0) != 0) code |= 2;
    if (MutexService::Release(mine.Handle())) code |= 4;
    ::_exit(code);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  // The child's exit closed its copies; the lock is still this process's.
  auto tryer = Start("try", kName, 0);
  EXPECT_EQ(tryer->ReadLine(), "busy");
}

TEST_F(MutexServiceTest, TheOwningThreadMayTakeItAgainOtherThreadsMayNot) {
  MutexService service(folder_);
  const MutexService::Handle first = service.CreateAndOwn(kName, 0);
  const MutexService::Handle second = service.CreateAndOwn(kName, 0);
  const MutexService::Handle third = service.Create(kName, "again");
  ASSERT_NE(first, 0);
  ASSERT_NE(second, 0);
  ASSERT_NE(third, 0);
  EXPECT_EQ(std::set<MutexService::Handle>({first, second, third}).size(), 3u);

  MutexService::Handle fromThread = -1;
  std::thread([&] { fromThread = service.CreateAndOwn(kName, 0); }).join();
  EXPECT_EQ(fromThread, 0);

  // A second service object on the same folder is the same mutex.
  MutexService sameFolder(folder_ + "/");
  EXPECT_TRUE(sameFolder.Exists(kName));

  EXPECT_TRUE(MutexService::Release(first));
  EXPECT_TRUE(MutexService::Release(second));
  EXPECT_TRUE(service.Exists(kName));
  auto tryer = Start("try", kName, 0);
  EXPECT_EQ(tryer->ReadLine(), "busy");
  EXPECT_TRUE(MutexService::Release(third));
  EXPECT_FALSE(service.Exists(kName));

  // Stale and made-up handles do nothing.
  EXPECT_FALSE(MutexService::Release(third));
  EXPECT_FALSE(MutexService::Release(0));
  EXPECT_FALSE(MutexService::Release(-5));
  EXPECT_FALSE(MutexService::Release(third + 1000));

  std::thread([&] { fromThread = service.CreateAndOwn(kName, 0); }).join();
  EXPECT_NE(fromThread, 0);
  EXPECT_TRUE(MutexService::Release(fromThread));
}

TEST_F(MutexServiceTest, AnyNameStaysInsideTheLockFolder) {
  MutexService service(folder_);
  const std::vector<std::string> names = {
      kName,
      "../../../../etc/passwd",
      "a/b",
      "a%2Fb",
      "a_b",
      ".",
      "..",
      "x' OR '1'='1\"",
      std::string("nul\0inside", 10),
      std::string("nul"),
      "bad \xff\xfe utf8",
      "Global\\VIEWS",
      std::string(10000, 'L'),
      std::string(10000, 'L') + "!",
      std::string(3000, '/'),
      "Ünïcödé ⚙",
  };
  std::set<std::string> files;
  for (const auto& name : names) {
    const std::string path = service.LockFilePath(name);
    const fs::path file(path);
    EXPECT_EQ(file.parent_path().string() + "/", service.LockFolder() + "/") << path;
    EXPECT_LE(file.filename().string().size(), 255u);
    EXPECT_TRUE(files.insert(path).second) << "shared by two names: " << path;
    ScopedMutex held(service.CreateAndOwn(name, 0));
    EXPECT_TRUE(held.Owns());
    EXPECT_TRUE(service.Exists(name));
  }
  // Nothing was made anywhere but plain files in the lock folder.
  std::vector<fs::path> top;
  for (const auto& entry : fs::directory_iterator(folder_)) top.push_back(entry.path());
  EXPECT_EQ(top, std::vector<fs::path>{fs::path(service.LockFolder())});
  size_t lockFiles = 0;
  for (const auto& entry : fs::directory_iterator(service.LockFolder())) {
    EXPECT_TRUE(entry.is_regular_file()) << entry.path();
    ++lockFiles;
  }
  EXPECT_EQ(lockFiles, names.size());
  for (const auto& name : names) EXPECT_FALSE(service.Exists(name));
}

TEST_F(MutexServiceTest, BadArgumentsAreErrorsAndExistsNeverRaises) {
  MutexService service(folder_);
  struct Case {
    const char* what;
    std::function<void()> action;
  } cases[] = {
      {"empty name", [&] { service.CreateAndOwn("", 0); }},
      {"negative wait", [&] { service.CreateAndOwn(kName, -1); }},
      {"empty name on create", [&] { service.Create("", "message"); }},
      {"no folder", [] { MutexService none(""); }},
      {"NUL in folder", [] { MutexService none(std::string("a\0b", 3)); }},
  };
  for (const auto& c : cases) {
    try {
      c.action();
      ADD_FAILURE() << c.what;
    } catch (const CError& e) {
      EXPECT_EQ(e.Number(), err::kInvalidProcedureCall) << c.what;
    }
  }
  EXPECT_FALSE(service.Exists(""));

  // A data folder that is a file: the lock folder cannot be made. The error carries
  // what the caller was attempting.
  const std::string file = folder_ + "plain";
  ASSERT_EQ(::close(::open(file.c_str(), O_WRONLY | O_CREAT, 0644)), 0);
  MutexService blocked(file);
  EXPECT_FALSE(blocked.Exists(kName));
  try {
    blocked.Create(kName, "Attempting to create Executing mutex in prvdrinfo.modViewsDb");
    ADD_FAILURE() << "no error";
  } catch (const CError& e) {
    EXPECT_EQ(e.Number(), 76);
    EXPECT_NE(e.Context().find("Attempting to create Executing mutex in prvdrinfo.modViewsDb"),
              std::string::npos)
        << e.Context();
  }
}

}  // namespace
}  // namespace prvdrinfo
