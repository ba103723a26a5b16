#pragma once

#include <cstdint>
#include <memory>

#include "prvdrinfo/foundation/export.h"

namespace prvdrinfo {

class Connection;

// A write transaction that ends with its scope:
//
//   Transaction tx(*connection, /*waitSeconds=*/60);  // BEGIN IMMEDIATE
//   connection->Execute(insert);
//   tx.Commit();                                      // a throw before this rolls back
//
// The constructor takes the write lock at once (Connection::BeginImmediate), waiting up
// to waitSeconds for another writer; a writer still busy after that raises "database is
// locked" (80004005 hexadecimal, as Connection describes), a negative bound raises 5.
// The destructor rolls back unless Commit succeeded, and never throws: a rollback that
// fails is dropped (SQLite then has rolled back or will on close).
//
// A transaction already open on the connection (a caller's, or an outer Transaction's)
// is joined, not nested: the new object begins nothing, its Commit does nothing and its
// destructor leaves the transaction alone, so the work becomes part of the open
// transaction and its owner commits or rolls back everything. OwnsTransaction() tells
// the two apart.
//
// Commit raises as Connection::Commit does. A failed Commit leaves the transaction open
// when SQLite left it open (a deferred constraint): the destructor then rolls it back,
// and Commit may be called again. Commit after a successful Commit raises 5.
//
// Ownership: the object keeps the connection alive until it ends; it cannot be copied
// or moved. One thread uses it, as it uses the connection.
class PRVDRINFO_API Transaction {
 public:
  static constexpr int32_t kDefaultWaitSeconds = 60;

  explicit Transaction(Connection& connection, int32_t waitSeconds = kDefaultWaitSeconds);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  void Commit();

  // Whether this object began the transaction (false when it joined an open one).
  bool OwnsTransaction() const { return owns_; }

 private:
  std::shared_ptr<Connection> connection_;
  bool owns_ = false;
  bool committed_ = false;
};

}  // namespace prvdrinfo
