#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "services/internal/mutex_service.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/db/transaction.h"
#include "prvdrinfo/viewsdb/views_database.h"
#include "support/old_views_db.h"
#include "viewsdb/views_database_test_support.h"
#include "viewsdb/views_db_internal.h"

namespace prvdrinfo::views_db {
namespace {

using test::One;

// A forked child that waits for the starting signal (its input closing), runs `work`,
// reports one line and then waits for the signal to end, so that every child is still
// alive, and holding what it holds, while the others work.
class Child {
 public:
  explicit Child(const std::function<std::string()>& work) {
    int start[2];
    int report[2];
    int finish[2];
    if (::pipe2(start, O_CLOEXEC) != 0 || ::pipe2(report, O_CLOEXEC) != 0 ||
        ::pipe2(finish, O_CLOEXEC) != 0) {
      throw std::runtime_error("pipe");
    }
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork");
    if (pid_ == 0) {
      // Only its own ends stay open: a copy of another child's pipe would keep that child
      // from ever seeing its signal.
      for (int fd = 3; fd < 4096; ++fd) {
        if (fd != start[0] && fd != report[1] && fd != finish[0]) ::close(fd);
      }
      char byte;
      while (::read(start[0], &byte, 1) > 0) {
      }
      std::string line;
      try {
        line = work();
      } catch (const std::exception& e) {
        line = std::string("error: ") + e.what();
      }
      line += "\n";
      [[maybe_unused]] const ssize_t written = ::write(report[1], line.data(), line.size());
      while (::read(finish[0], &byte, 1) > 0) {
      }
      ::_exit(0);
    }
    ::close(start[0]);
    ::close(report[1]);
    ::close(finish[0]);
    start_ = start[1];
    report_ = report[0];
    finish_ = finish[1];
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child() {
    for (int fd : {start_, report_, finish_}) {
      if (fd >= 0) ::close(fd);
    }
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }

  void Start() { CloseFd(start_); }
  void Kill() { ::kill(pid_, SIGKILL); }
  std::string Report(int timeoutMs = 120000) {
    std::string line;
    for (;;) {
      pollfd ready{report_, POLLIN, 0};
      if (::poll(&ready, 1, timeoutMs) <= 0) return "timeout";
      char c;
      if (::read(report_, &c, 1) != 1) return line.empty() ? "eof" : line;
      if (c == '\n') return line;
      line.push_back(c);
    }
  }
  int Finish() {
    CloseFd(finish_);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
  }

 private:
  static void CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }

  pid_t pid_ = -1;
  int start_ = -1;
  int report_ = -1;
  int finish_ = -1;
};

class ViewsDatabaseProcesses : public test::ViewsDbTest {};

TEST_F(ViewsDatabaseProcesses, ProcessesOpeningAMissingFileAtOnceLetExactlyOneCreateItAndAllWork) {
  constexpr int kProcesses = 8;
  std::vector<std::unique_ptr<Child>> children;
  for (int i = 0; i < kProcesses; ++i) {
    children.push_back(std::make_unique<Child>([i] {
      const auto started = std::chrono::steady_clock::now();
      auto connection = OpenViewsDatabase();
      {
        Transaction write(*connection);
        connection->Execute("INSERT INTO views (rec_guid, provider_guid, caption) VALUES ('child " +
                            std::to_string(i) + "', 'P', 'View " + std::to_string(i + 1) + "')");
        write.Commit();
      }
      // The collation is there: "View 10" would come before "View 2" without it.
      One(*connection, "SELECT caption FROM views ORDER BY caption COLLATE SMARTSORT LIMIT 1");
      const double seconds =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
      const internal::Activity activity = internal::ProcessActivity();
      return std::to_string(activity.filesCreated) + " " + std::to_string(activity.fixUpPasses) +
             " " + std::to_string(seconds);
    }));
  }
  for (auto& child : children) child->Start();
  int created = 0;
  int repaired = 0;
  for (auto& child : children) {
    const std::string report = child->Report();
    int childCreated = -1;
    int childRepaired = -1;
    double seconds = -1;
    ASSERT_EQ(std::sscanf(report.c_str(), "%d %d %lf", &childCreated, &childRepaired, &seconds), 3)
        << report;
    created += childCreated;
    repaired += childRepaired;
    EXPECT_LT(seconds, 45) << report;
  }
  for (auto& child : children) EXPECT_EQ(child->Finish(), 0);
  EXPECT_EQ(created, 1);
  EXPECT_EQ(repaired, 1);

  auto connection = Connection::Open(ViewsDatabasePath());
  EXPECT_EQ(One(*connection, "PRAGMA integrity_check"), "ok");
  EXPECT_EQ(One(*connection, "SELECT count(*) FROM views"), std::to_string(kProcesses));
  EXPECT_EQ(One(*connection, "SELECT count(*) FROM versions"), "2");
}

TEST_F(ViewsDatabaseProcesses, AForkedChildThatRepairsTheFileHoldsTheFixedMutexItself) {
  OpenViewsDatabase();
  // The child starts with a copy of this process's handle, which it does not own.
  Child child([] {
    const int32_t before = internal::ProcessActivity().fixUpPasses;
    OpenViewsDatabase();
    return std::to_string(internal::ProcessActivity().fixUpPasses - before);
  });
  internal::ResetProcessState();  // this process lets the fixed mutex go
  const MutexService mutexes = internal::Mutexes();
  ASSERT_FALSE(mutexes.Exists(kFixedMutex));
  child.Start();
  EXPECT_EQ(child.Report(), "1");
  EXPECT_TRUE(mutexes.Exists(kFixedMutex));
  EXPECT_EQ(child.Finish(), 0);
  EXPECT_FALSE(mutexes.Exists(kFixedMutex));
}

TEST_F(ViewsDatabaseProcesses, AProcessKilledInTheMiddleOfTheRepairLeavesTheOldFileForTheNextOne) {
  // Enough stored views that reading each one's flags takes a while.
  std::vector<prvdrinfo::test::OldViewRow> rows;
  const Bytes bytes = prvdrinfo::test::StoredViewBytes("View", true);
  for (int i = 0; i < 5000; ++i) {
    rows.push_back({"G" + std::to_string(i), "P", std::nullopt, "View " + std::to_string(i), bytes,
                    i * 10, 0, 0});
  }
  prvdrinfo::test::WriteOldViewsDb(ViewsDatabasePath(), {}, rows);

  Child repairer([] {
    OpenViewsDatabase();
    return std::string("finished");
  });
  repairer.Start();
  const MutexService mutexes = internal::Mutexes();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!mutexes.Exists(kFixingMutex) && std::chrono::steady_clock::now() < deadline) {
  }
  ASSERT_TRUE(mutexes.Exists(kFixingMutex));
  repairer.Kill();
  EXPECT_EQ(repairer.Finish(), -SIGKILL);
  EXPECT_FALSE(mutexes.Exists(kFixingMutex));
  EXPECT_FALSE(mutexes.Exists(kFixedMutex));

  {
    // Nothing of the unfinished repair is in the file.
    auto plain = Connection::Open(ViewsDatabasePath());
    EXPECT_EQ(One(*plain, "PRAGMA integrity_check"), "ok");
    EXPECT_FALSE(SqlService::TableExists(*plain, "versions"));
    EXPECT_FALSE(SqlService::ColumnExists(*plain, "views", "standard_view"));
    EXPECT_EQ(One(*plain, "SELECT count(*) FROM views WHERE private_to_guid IS NULL"), "5000");
  }
  auto connection = OpenViewsDatabase();
  EXPECT_EQ(internal::ProcessActivity().fixUpPasses, 1);
  EXPECT_EQ(One(*connection, "PRAGMA integrity_check"), "ok");
  EXPECT_EQ(
      One(*connection, "SELECT count(*) FROM views WHERE standard_view=1 AND private_to_guid=''"),
      "5000");
}

}  // namespace
}  // namespace prvdrinfo::views_db
