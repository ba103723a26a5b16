#include "prvdrinfo/db/transaction.h"

#include <climits>

#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kBegin{"NZY1H80GJR6GATEXSL0OKSZVW", "Transaction"};
constexpr ErrorSite kCommit{"CJK84JXK3LEQ4XTHZAXBQNEGY", "Transaction.Commit"};
}  // namespace

Transaction::Transaction(Connection& connection, int32_t waitSeconds) {
  kBegin.Guard([&] {
    if (waitSeconds < 0)
      kBegin.Raise(err::kInvalidProcedureCall, "The wait bound cannot be negative.");
    connection_ = connection.shared_from_this();
    const int32_t milliseconds = waitSeconds > INT_MAX / 1000 ? INT_MAX : waitSeconds * 1000;
    owns_ = connection_->BeginImmediate(milliseconds);
  });
}

Transaction::~Transaction() {
  if (!owns_ || committed_) return;
  try {
    connection_->Rollback();
  } catch (...) {
    // Nothing may leave a destructor; SQLite rolls back what is left when it closes.
  }
}

void Transaction::Commit() {
  kCommit.Guard([&] {
    if (committed_)
      kCommit.Raise(err::kInvalidProcedureCall, "The transaction has already been committed.");
    if (owns_) connection_->Commit();
    committed_ = true;
  });
}

}  // namespace prvdrinfo
