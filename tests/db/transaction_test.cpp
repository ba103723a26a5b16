#include "prvdrinfo/db/transaction.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/foundation/error.h"
#include "support/error_capture.h"
#include "support/temp_dir.h"

namespace prvdrinfo {
namespace {

using testing::ErrorOf;

class TransactionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db = Connection::Open(dir.File("test.db"));
    db->Execute("CREATE TABLE t (id INTEGER PRIMARY KEY)");
  }
  // Rows as another connection sees them: only what was committed.
  int64_t Committed() {
    return Connection::Open(dir.File("test.db"))->OpenRecordset("SELECT count(*) FROM t")->Int64(0);
  }
  int64_t Seen() { return db->OpenRecordset("SELECT count(*) FROM t")->Int64(0); }

  test::TempDir dir;
  std::shared_ptr<Connection> db;
};

TEST_F(TransactionTest, CommitMakesTheWorkVisibleToOthers) {
  {
    Transaction tx(*db, 5);
    EXPECT_TRUE(tx.OwnsTransaction());
    EXPECT_TRUE(db->InTransaction());
    db->Execute("INSERT INTO t VALUES (1)");
    EXPECT_EQ(Committed(), 0);
    tx.Commit();
    EXPECT_FALSE(db->InTransaction());
    EXPECT_EQ(ErrorOf([&] { tx.Commit(); }).Number(), err::kInvalidProcedureCall);
  }
  EXPECT_EQ(Committed(), 1);
}

TEST_F(TransactionTest, LeavingTheScopeWithoutCommitRollsBack) {
  const std::function<void()> leaves[] = {
      [&] {
        Transaction tx(*db);
        db->Execute("INSERT INTO t VALUES (1)");
      },
      [&] {
        Transaction tx(*db);
        db->Execute("INSERT INTO t VALUES (2)");
        throw std::runtime_error("work failed");
      },
      [&] {
        Transaction tx(*db);
        db->Execute("INSERT INTO t VALUES (3); INSERT INTO t VALUES (3)");  // the second raises
        tx.Commit();
      },
  };
  for (const auto& leave : leaves) {
    try {
      leave();
    } catch (const std::exception&) {
    }
    EXPECT_FALSE(db->InTransaction());
    EXPECT_EQ(Seen(), 0);
    EXPECT_EQ(db->BusyTimeout(), Connection::kDefaultBusyTimeoutMs);
  }
}

TEST_F(TransactionTest, AFailedCommitIsRolledBackByTheDestructorOrRetried) {
  db->Execute(
      "PRAGMA foreign_keys=ON;"
      "CREATE TABLE child (parent INTEGER REFERENCES t(id) DEFERRABLE INITIALLY DEFERRED)");
  {
    Transaction tx(*db);
    db->Execute("INSERT INTO t VALUES (1); INSERT INTO child VALUES (99)");
    EXPECT_EQ(ErrorOf([&] { tx.Commit(); }).Description(), "FOREIGN KEY constraint failed");
    EXPECT_TRUE(db->InTransaction());  // SQLite keeps it open: the destructor must end it
  }
  EXPECT_FALSE(db->InTransaction());
  EXPECT_EQ(Seen(), 0);
  // The write lock is free again: another writer that does not wait gets in.
  auto other = Connection::Open(dir.File("test.db"));
  EXPECT_TRUE(Transaction(*other, 0).OwnsTransaction());

  Transaction tx(*db);
  EXPECT_TRUE(tx.OwnsTransaction());
  db->Execute("INSERT INTO child VALUES (7)");
  EXPECT_NE(ErrorOf([&] { tx.Commit(); }).Description(), "");
  db->Execute("INSERT INTO t VALUES (7)");
  tx.Commit();
  EXPECT_EQ(Committed(), 1);
}

TEST_F(TransactionTest, AnOpenTransactionIsJoinedAndLeftToItsOwner) {
  // Opened by an outer Transaction, and by a plain BeginImmediate.
  const std::function<std::function<void(bool)>()> owners[] = {
      [&]() -> std::function<void(bool)> {
        auto outer = std::make_shared<Transaction>(*db);
        return [outer](bool commit) {
          if (commit) outer->Commit();
        };
      },
      [&]() -> std::function<void(bool)> {
        EXPECT_TRUE(db->BeginImmediate(1000));
        return [this](bool commit) { commit ? db->Commit() : db->Rollback(); };
      },
  };
  for (const auto& open : owners) {
    db->Execute("DELETE FROM t");
    std::function<void(bool)> finish = open();
    {
      Transaction inner(*db);
      EXPECT_FALSE(inner.OwnsTransaction());
      db->Execute("INSERT INTO t VALUES (1)");
      inner.Commit();
      EXPECT_TRUE(db->InTransaction());  // committing the joined part ends nothing
    }
    try {
      Transaction inner(*db);
      db->Execute("INSERT INTO t VALUES (2)");
      throw std::runtime_error("inner work failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(db->InTransaction());  // nor does leaving it on an exception
    EXPECT_EQ(Seen(), 2);
    EXPECT_EQ(Committed(), 0);
    finish(false);
    finish = nullptr;  // the outer Transaction ends here and rolls back
    EXPECT_FALSE(db->InTransaction());
    EXPECT_EQ(Seen(), 0);
  }
}

TEST_F(TransactionTest, ABusyWriterOrABadBoundFailsTheConstructor) {
  Transaction first(*db);
  auto other = Connection::Open(dir.File("test.db"));
  const CError busy = ErrorOf([&] { Transaction tx(*other, 0); });
  EXPECT_EQ(busy.Number(), err::kUnspecified);
  EXPECT_EQ(busy.Description(), "database is locked");
  EXPECT_FALSE(other->InTransaction());
  EXPECT_EQ(ErrorOf([&] { Transaction tx(*other, -1); }).Number(), err::kInvalidProcedureCall);
  EXPECT_TRUE(db->InTransaction());  // the first writer is untouched
}

TEST_F(TransactionTest, TheTransactionKeepsItsConnectionAlive) {
  {
    auto own = Connection::Open(dir.File("test.db"));
    Transaction tx(*own);
    own->Execute("INSERT INTO t VALUES (1)");
    own.reset();
  }  // rolls back on the connection it kept
  EXPECT_EQ(Committed(), 0);
}

}  // namespace
}  // namespace prvdrinfo
