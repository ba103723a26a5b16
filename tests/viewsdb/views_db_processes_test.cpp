// Host processes meeting on one views database, as real child processes: saves survive a
// process killed in the middle of one, and a process that refreshes while others write
// ends with exactly what is stored.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/guid_service.h"
#include "prvdrinfo/services/vesk.h"
#include "prvdrinfo/views/provider_view.h"
#include "prvdrinfo/viewsdb/provider_views.h"
#include "prvdrinfo/viewsdb/provider_views_db.h"
#include "prvdrinfo/viewsdb/views_database.h"

namespace prvdrinfo {
namespace {

constexpr const char* kProvider = "{5F2B7C1E-0A4D-4E8B-9C3F-1D2E3F4A5B6C}";
constexpr const char* kOtherProvider = "{0B8E4A2C-6D1F-4C3A-8E5B-7A9C2D4E6F80}";
// The longest any single operation may take: the mutex waits give up at 45 s.
constexpr int64_t kSecondNs = int64_t{1000} * 1000 * 1000;
constexpr int64_t kBoundNs = 45 * kSecondNs;

int64_t MonotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t{now.tv_sec} * 1000 * 1000 * 1000 + now.tv_nsec;
}

std::string Fingerprint(const Bytes& bytes) {
  uint64_t hash = 1469598103934665603ull;
  for (const uint8_t b : bytes) hash = (hash ^ b) * 1099511628211ull;
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
  return fields;
}

// Lines a child leaves for the parent, written straight to the file so that a child
// killed at any moment leaves every line it finished.
class Journal {
 public:
  explicit Journal(const std::string& path)
      : fd_(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600)) {}
  ~Journal() {
    if (fd_ >= 0) ::close(fd_);
  }
  Journal(const Journal&) = delete;
  Journal& operator=(const Journal&) = delete;

  void Write(const std::vector<std::string>& fields) {
    std::string line;
    for (const auto& field : fields) line += (line.empty() ? "" : "\t") + field;
    line += '\n';
    if (::write(fd_, line.data(), line.size()) != static_cast<ssize_t>(line.size())) ::_exit(4);
  }

  static std::vector<std::vector<std::string>> Read(const std::string& path) {
    std::vector<std::vector<std::string>> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(Split(line));
    return lines;
  }

 private:
  int fd_;
};

// Child processes made by fork. Each waits until Go, so that all start at one moment,
// and ends with _exit: nothing of the parent's test runs twice.
class Children {
 public:
  Children() {
    if (::pipe2(start_, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
  }
  ~Children() {
    CloseStart();
    for (const pid_t pid : running_) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
    }
  }
  Children(const Children&) = delete;
  Children& operator=(const Children&) = delete;

  pid_t Start(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork");
    if (pid == 0) {
      ::close(start_[1]);
      char ignored;
      while (::read(start_[0], &ignored, 1) < 0 && errno == EINTR) {
      }
      int status = 3;
      try {
        status = body();
      } catch (...) {
      }
      ::_exit(status);
    }
    running_.insert(pid);
    return pid;
  }

  void Go() { CloseStart(); }

  // The exit status, or 128 + the signal that ended the child.
  int Wait(pid_t pid) {
    int raw = 0;
    while (::waitpid(pid, &raw, 0) < 0 && errno == EINTR) {
    }
    running_.erase(pid);
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
  }

 private:
  void CloseStart() {
    for (int& fd : start_) {
      if (fd >= 0) ::close(fd);
      fd = -1;
    }
  }

  int start_[2] = {-1, -1};
  std::set<pid_t> running_;
};

std::string FixedGuid(int group, int process, int slot) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-0000-4000-8000-%04X%08X}", group, process, slot);
  return text;
}

std::shared_ptr<CProviderView> MakeView(const std::string& guid, const std::string& caption,
                                        const std::string& provider, int32_t token) {
  auto view = CProviderViewFactory().CreateProviderView();
  view->SetGuid(guid);
  view->SetCaption(caption);
  view->SetProviderGuid(provider);
  view->SetVersion(token);  // tells the saves of one view apart
  for (int c = 0; c < 4; ++c) view->Columns()->Add(FixedGuid(9, 0, c));
  view->SortOrder()->Add(FixedGuid(9, 0, token % 4));
  return view;
}

// A private folder in memory where the system has one: a kill loses nothing that sits in
// the page cache, so the disk adds only the wait for its flushes, and 1,600 saves stay
// quick. Elsewhere the system's temporary folder.
class ScratchDir {
 public:
  ScratchDir() {
    std::error_code error;
    const bool memory =
        std::filesystem::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0;
    std::string pattern =
        (memory ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path()) /
        "prvdrinfo-processes-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed for " + pattern);
    path_ = pattern + "/";
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

// Puts into a child's journal what goes wrong in its process besides failed operations:
// mutex waits that gave up and clocks that ran backwards.
bool IsWaitLine(const std::string& message) {
  return message.rfind("Waited too long", 0) == 0 || message.rfind("Negative wait", 0) == 0;
}

void ReportWaitLines(Journal& journal) {
  CVesk::SetLogSink([&journal](const std::string&, const std::string& message) {
    if (IsWaitLine(message)) journal.Write({"log", message});
  });
}

class ViewsDbProcesses : public ::testing::Test {
 protected:
  void SetUp() override {
    CVesk::SetDataFolder(dir_.Path());
    // The file exists before the children meet: creating it is another proof's business.
    views_db::OpenViewsDatabase();
  }
  void TearDown() override { CVesk::SetDataFolder(""); }

  std::string JournalPath(int process) const {
    return dir_.File("journal-" + std::to_string(process));
  }

  ScratchDir dir_;
};

// ---- Saves from 8 processes, one killed in the middle of a save.

// Each save goes to a slot: a caption that a single row of the provider holds. Own slots
// belong to one process; shared slots keep their GUID across processes; common slots get
// a new GUID every time, so a save takes over the row of the same caption.
struct SavePlan {
  std::string slot;
  std::string guid;
};

SavePlan PlanSave(int process, int save) {
  const int pick = save % 4;
  if (pick < 2) {
    const int slot = (save / 2) % 25;
    return {"Own " + std::to_string(process) + "." + std::to_string(slot),
            FixedGuid(1, process, slot)};
  }
  const int slot = (save / 4 + process) % (pick == 2 ? 10 : 5);
  if (pick == 2) return {"Shared " + std::to_string(slot), FixedGuid(2, 0, slot)};
  return {"Common " + std::to_string(slot), GuidService::NewGuid(38)};
}

struct SaveRecord {
  int process = 0;
  int64_t start = 0;
  int64_t end = 0;  // for the killed process's last save: when it was known dead
  bool ok = false;
  bool inFlight = false;
  int32_t token = 0;
  std::string guid;         // after the save, which may have taken another row's GUID
  std::string fingerprint;  // of the bytes the save wrote
  std::string failure;
};

int RunSaves(int process, int saves, int pauseAt, int pauseSignal, const std::string& journalPath) {
  Journal journal(journalPath);
  ReportWaitLines(journal);
  int current = -1;
  if (pauseAt >= 0) {
    // Holds the save inside its transaction, the write lock taken, until the parent kills us.
    CVesk::SetLogSink(
        [&journal, &current, pauseAt, pauseSignal](const std::string&, const std::string& message) {
          if (IsWaitLine(message)) journal.Write({"log", message});
          if (current == pauseAt && message.rfind("Saving view GUID", 0) == 0) {
            if (::write(pauseSignal, "k", 1) != 1) ::_exit(5);
            for (;;) ::pause();
          }
        });
  }
  CProviderViewsDb db;
  for (int save = 0; save < saves; ++save) {
    current = save;
    const SavePlan plan = PlanSave(process, save);
    const int32_t token = process * 1000 + save + 1;
    auto view = MakeView(plan.guid, plan.slot, kProvider, token);
    const int64_t start = MonotonicNs();
    journal.Write({"begin", plan.slot, std::to_string(start), std::to_string(token)});
    try {
      const bool saved = db.SaveView4(view, true, viewtype_UserDefined);
      const int64_t end = MonotonicNs();
      if (saved) {
        journal.Write({"ok", plan.slot, std::to_string(start), std::to_string(end),
                       std::to_string(token), view->Guid(), Fingerprint(view->Serialize())});
      } else {
        journal.Write({"fail", plan.slot, std::to_string(start), std::to_string(end),
                       std::to_string(token), "returned false"});
      }
    } catch (const CError& e) {
      journal.Write({"fail", plan.slot, std::to_string(start), std::to_string(MonotonicNs()),
                     std::to_string(token), std::to_string(e.Number()) + " " + e.Description()});
    }
  }
  journal.Write({"done"});
  return 0;
}

// Saves the journal shows ended, either way.
int CompletedSaves(const std::string& journalPath) {
  int completed = 0;
  for (const auto& line : Journal::Read(journalPath))
    completed += line[0] == "ok" || line[0] == "fail";
  return completed;
}

struct StoredRow {
  std::string guid;
  int64_t counter = 0;
  int32_t token = 0;
  std::string fingerprint;
};

// Every row of the table: all of them belong to the one provider.
std::map<std::string, StoredRow> StoredRowsByCaption(Connection& db) {
  std::map<std::string, StoredRow> rows;
  auto rs = db.OpenRecordset("SELECT caption, rec_guid, updates, propertybag_content FROM views");
  for (; !rs->Eof(); rs->MoveNext()) {
    StoredRow row;
    row.guid = rs->Value(1).AsText();
    row.counter = rs->Int64(2);
    const Bytes bytes = rs->Value(3).AsBytes();
    CProviderView view;
    view.Deserialize(bytes);
    row.token = view.Version();
    row.fingerprint = Fingerprint(bytes);
    rows[rs->Value(0).AsText()] = row;
  }
  return rows;
}

TEST_F(ViewsDbProcesses, SavesThatReturnedTrueSurviveAProcessKilledInTheMiddleOfASave) {
  constexpr int kProcesses = 8;
  constexpr int kSaves = 200;
  constexpr int kVictim = 5;
  std::mt19937 random(std::random_device{}());
  const int pauseAt = 40 + static_cast<int>(random() % 120);
  // Either while its save holds the write lock inside the transaction, or at whatever
  // point of its next save the kill finds it (a commit, a read, the open routine).
  const bool insideTransaction = random() % 2 == 0;
  SCOPED_TRACE(std::string("killed ") +
               (insideTransaction ? "inside a transaction" : "at any moment") + " after " +
               std::to_string(pauseAt) + " saves");
  int paused[2];
  ASSERT_EQ(::pipe2(paused, O_CLOEXEC), 0);

  Children children;
  std::vector<pid_t> pids;
  for (int p = 0; p < kProcesses; ++p) {
    const std::string journal = JournalPath(p);
    const int pauseHere = p == kVictim && insideTransaction ? pauseAt : -1;
    const int signalFd = paused[1];
    pids.push_back(
        children.Start([=] { return RunSaves(p, kSaves, pauseHere, signalFd, journal); }));
  }
  ::close(paused[1]);
  children.Go();

  if (insideTransaction) {
    pollfd ready{paused[0], POLLIN, 0};
    ASSERT_EQ(::poll(&ready, 1, 60000), 1) << "the victim never reached its save";
  } else {
    const int64_t giveUp = MonotonicNs() + 60 * kSecondNs;
    while (CompletedSaves(JournalPath(kVictim)) < pauseAt) {
      ASSERT_LT(MonotonicNs(), giveUp) << "the victim never got that far";
      ::usleep(1000);
    }
  }
  ::kill(pids[kVictim], SIGKILL);
  EXPECT_EQ(children.Wait(pids[kVictim]), 128 + SIGKILL);
  const int64_t victimDead = MonotonicNs();
  ::close(paused[0]);
  for (int p = 0; p < kProcesses; ++p) {
    if (p != kVictim) {
      EXPECT_EQ(children.Wait(pids[static_cast<size_t>(p)]), 0) << "process " << p;
    }
  }

  // Every save, by slot, from the journals.
  std::map<std::string, std::vector<SaveRecord>> bySlot;
  int okSaves = 0;
  int refused = 0;
  for (int p = 0; p < kProcesses; ++p) {
    const int completedBefore = okSaves + refused;
    SCOPED_TRACE("process " + std::to_string(p));
    std::map<std::string, std::string> open;  // token of a begun save -> its slot
    std::map<std::string, int64_t> begun;
    bool done = false;
    for (const auto& line : Journal::Read(JournalPath(p))) {
      if (line[0] == "begin") {
        open[line[3]] = line[1];
        begun[line[3]] = std::stoll(line[2]);
      } else if (line[0] == "ok" || line[0] == "fail") {
        open.erase(line[4]);
        SaveRecord record;
        record.process = p;
        record.start = std::stoll(line[2]);
        record.end = std::stoll(line[3]);
        record.ok = line[0] == "ok";
        record.token = std::stoi(line[4]);
        if (record.ok) {
          record.guid = line[5];
          record.fingerprint = line[6];
          ++okSaves;
        } else {
          record.failure = line[5];
        }
        EXPECT_LT(record.end - record.start, kBoundNs)
            << "a save of " << line[1] << " waited past the bound";
        // A save looks its GUID and caption up under its write lock: another process's row
        // of the same caption is overwritten, never a reason to refuse.
        EXPECT_TRUE(record.ok) << "save of " << line[1] << " failed: " << record.failure;
        refused += !record.ok;
        bySlot[line[1]].push_back(record);
      } else if (line[0] == "log") {
        ADD_FAILURE() << line[1];
      } else if (line[0] == "done") {
        done = true;
      }
    }
    EXPECT_EQ(done, p != kVictim);
    const int completed = okSaves + refused - completedBefore;
    if (p != kVictim) {
      EXPECT_EQ(completed, kSaves);
      EXPECT_TRUE(open.empty());
    } else if (insideTransaction) {
      EXPECT_EQ(completed, pauseAt);
      ASSERT_EQ(open.size(), 1u) << "the killed process left no save in flight";
    } else {
      EXPECT_GE(completed, pauseAt);
      ASSERT_LE(open.size(), 1u);
    }
    if (p == kVictim && !open.empty()) {
      SaveRecord inFlight;
      inFlight.process = p;
      inFlight.start = begun[open.begin()->first];
      inFlight.end = victimDead;
      inFlight.inFlight = true;
      inFlight.token = std::stoi(open.begin()->first);
      bySlot[open.begin()->second].push_back(inFlight);
    }
  }
  EXPECT_LT(refused, okSaves / 10);

  auto db = views_db::OpenViewsDatabase();
  auto integrity = db->OpenRecordset("PRAGMA integrity_check");
  ASSERT_FALSE(integrity->Eof());
  EXPECT_EQ(integrity->Value(0).AsText(), "ok");
  auto counters =
      db->OpenRecordset("SELECT COUNT(*), COUNT(DISTINCT updates), MIN(updates) FROM views");
  EXPECT_EQ(counters->Int64(0), counters->Int64(1)) << "update counters repeat";
  EXPECT_GT(counters->Int64(2), 0);

  // A slot holds the last save that returned true, or a save that overlapped it in time
  // (the order of overlapping saves is the database's to choose), or the killed save.
  const auto rows = StoredRowsByCaption(*db);
  for (const auto& [slot, saves] : bySlot) {
    SCOPED_TRACE(slot);
    const bool anyOk =
        std::any_of(saves.begin(), saves.end(), [](const SaveRecord& s) { return s.ok; });
    const auto row = rows.find(slot);
    if (row == rows.end()) {
      EXPECT_FALSE(anyOk) << "a saved view is missing";
      continue;
    }
    const SaveRecord* holder = nullptr;
    for (const SaveRecord& save : saves) {
      if (save.token == row->second.token) holder = &save;
    }
    ASSERT_NE(holder, nullptr) << "the row holds bytes no save wrote";
    ASSERT_TRUE(holder->ok || holder->inFlight) << "the row holds a refused save's bytes";
    for (const SaveRecord& later : saves) {
      EXPECT_FALSE(later.ok && later.start > holder->end)
          << "the row holds the save of token " << holder->token << " though token " << later.token
          << " saved after it ended";
    }
    if (holder->ok) {
      EXPECT_EQ(row->second.guid, holder->guid);
      EXPECT_EQ(row->second.fingerprint, holder->fingerprint) << "not the bytes the save wrote";
    }
  }
  for (const auto& [caption, row] : rows)
    EXPECT_TRUE(bySlot.count(caption)) << "a row no save wrote: " << caption;
}

// ---- A process refreshing while others save and delete.

int RunWrites(int process, int operations, const std::string& journalPath) {
  Journal journal(journalPath);
  ReportWaitLines(journal);
  std::mt19937 random(static_cast<uint32_t>(process) * 7919u + 1u);
  CProviderViewsDb db;
  for (int op = 0; op < operations; ++op) {
    const int slot = static_cast<int>(random() % 20);
    const std::string provider = random() % 4 == 0 ? kOtherProvider : kProvider;
    const std::string guid = FixedGuid(provider == kProvider ? 3 : 4, 0, slot);
    const int64_t start = MonotonicNs();
    try {
      if (random() % 3 == 0) {
        db.DeleteView(guid);
      } else {
        auto view =
            MakeView(guid, "Refresh " + std::to_string(slot), provider, process * 1000 + op + 1);
        if (!db.SaveView4(view, true, viewtype_UserDefined))
          journal.Write({"fail", guid, "returned false"});
      }
    } catch (const CError& e) {
      journal.Write({"fail", guid, std::to_string(e.Number()) + " " + e.Description()});
    }
    if (MonotonicNs() - start >= kBoundNs) journal.Write({"fail", guid, "waited past the bound"});
  }
  journal.Write({"done"});
  return 0;
}

int RunRefreshes(const std::string& writersDone, const std::string& journalPath) {
  Journal journal(journalPath);
  ReportWaitLines(journal);
  auto views = CProviderViewsFactory().CreateProviderViews();
  int refreshes = 0;
  for (bool last = false; !last;) {
    last = std::filesystem::exists(writersDone);
    try {
      views->RefreshByProviderGuid(kProvider);
      ++refreshes;
    } catch (const CError& e) {
      journal.Write({"fail", "refresh", std::to_string(e.Number()) + " " + e.Description()});
    }
  }
  for (int32_t i = 0; i < views->Count(); ++i) {
    const auto view = views->ViewByIndex(i);
    journal.Write({"view", view->Guid(), std::to_string(view->UpdateCounter()),
                   Fingerprint(view->Serialize())});
  }
  journal.Write({"refreshes", std::to_string(refreshes)});
  journal.Write({"done"});
  return 0;
}

TEST_F(ViewsDbProcesses, ARefreshingProcessEndsWithExactlyTheStoredSet) {
  constexpr int kWriters = 3;
  const std::string writersDone = dir_.File("writers-done");
  Children children;
  std::vector<pid_t> writers;
  for (int p = 0; p < kWriters; ++p) {
    const std::string journal = JournalPath(p);
    writers.push_back(children.Start([=] { return RunWrites(p, 150, journal); }));
  }
  const std::string refresherJournal = JournalPath(kWriters);
  const pid_t refresher =
      children.Start([=] { return RunRefreshes(writersDone, refresherJournal); });
  children.Go();
  for (const pid_t pid : writers) EXPECT_EQ(children.Wait(pid), 0);
  std::ofstream(writersDone) << "done\n";
  EXPECT_EQ(children.Wait(refresher), 0);

  for (int p = 0; p < kWriters; ++p) {
    for (const auto& line : Journal::Read(JournalPath(p))) {
      EXPECT_NE(line[0], "fail") << "writer " << p << ": " << line[1] << " " << line[2];
      EXPECT_NE(line[0], "log") << "writer " << p << ": " << line[1];
    }
  }
  std::map<std::string, std::pair<int64_t, std::string>> refreshed;
  int refreshes = 0;
  for (const auto& line : Journal::Read(refresherJournal)) {
    if (line[0] == "view") refreshed[line[1]] = {std::stoll(line[2]), line[3]};
    if (line[0] == "refreshes") refreshes = std::stoi(line[1]);
    EXPECT_NE(line[0], "fail") << line[1] << " " << line[2];
    EXPECT_NE(line[0], "log") << line[1];
  }
  EXPECT_GT(refreshes, 1) << "the refreshes did not meet the writes";

  std::map<std::string, std::pair<int64_t, std::string>> stored;
  const auto views = CProviderViewsDb().GetViewsByProviderGuid(kProvider);
  for (int32_t i = 0; i < views->Count(); ++i) {
    const auto view = views->ViewByIndex(i);
    stored[view->Guid()] = {view->UpdateCounter(), Fingerprint(view->Serialize())};
  }
  // The same set read straight from the table, so that a fault shared by both reading
  // paths cannot hide.
  std::map<std::string, int64_t> table;
  auto rs = views_db::OpenViewsDatabase()->OpenRecordset(
      "SELECT rec_guid, updates FROM views WHERE rec_guid LIKE '" +
      FixedGuid(3, 0, 0).substr(0, 10) + "%'");
  for (; !rs->Eof(); rs->MoveNext()) table[rs->Value(0).AsText()] = rs->Int64(1);
  std::map<std::string, int64_t> storedCounters;
  for (const auto& [guid, entry] : stored) storedCounters[guid] = entry.first;

  EXPECT_FALSE(stored.empty());
  EXPECT_EQ(storedCounters, table);
  EXPECT_EQ(refreshed, stored);
}

}  // namespace
}  // namespace prvdrinfo
