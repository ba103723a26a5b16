#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "services/internal/mutex_service.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/viewsdb/views_database.h"
#include "viewsdb/views_database_test_support.h"
#include "viewsdb/views_db_internal.h"

namespace prvdrinfo::views_db {
namespace {

// Whether some open file description holds the lock file of the name, as another
// process would see it.
bool LockedOnDisk(const std::string& name) {
  const int fd = ::open(internal::Mutexes().LockFilePath(name).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct flock range {};
  range.l_type = F_WRLCK;
  range.l_whence = SEEK_SET;
  const bool tested = ::fcntl(fd, F_OFD_GETLK, &range) == 0;
  ::close(fd);
  return tested && range.l_type != F_UNLCK;
}

class PassedGate : public test::ViewsDbTest {
 protected:
  test::FakeTime time_;
};

// Once through the gate, an open looks at no mutex: a maintenance run elsewhere is left
// to SQLite's locks.
TEST_F(PassedGate, LaterOpensOfTheSameFileWaitForNoMutex) {
  OpenViewsDatabase();
  for (const char* held : {kVacuumRunMutex, kAnalyzeRunMutex, kFixingMutex, kCreatingMutex}) {
    SCOPED_TRACE(held);
    test::HeldElsewhere elsewhere(held);
    const double start = time_.Now();
    EXPECT_TRUE(OpenViewsDatabase());
    EXPECT_EQ(time_.Now(), start);
  }
  EXPECT_EQ(internal::ProcessActivity().fixUpPasses, 1);
}

// What the gate vouched for is gone: the file, or the lock folder with the fixed mutex.
TEST_F(PassedGate, AReplacedFileOrLockFolderGoesThroughTheGateAgain) {
  OpenViewsDatabase();
  ASSERT_TRUE(LockedOnDisk(kFixedMutex));

  std::filesystem::remove_all(internal::Mutexes().LockFolder());
  EXPECT_TRUE(OpenViewsDatabase());
  EXPECT_EQ(internal::ProcessActivity().fixUpPasses, 2);
  EXPECT_TRUE(LockedOnDisk(kFixedMutex));  // on the new lock file

  const std::string path = ViewsDatabasePath();
  for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix);
  const auto connection = OpenViewsDatabase();
  EXPECT_EQ(internal::ProcessActivity().filesCreated, 2);
  EXPECT_TRUE(SqlService::TableExists(*connection, "versions"));
}

}  // namespace
}  // namespace prvdrinfo::views_db
