#pragma once

#include <cstdint>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/currency.h"
#include "prvdrinfo/foundation/variant.h"

namespace prvdrinfo {

// A whole change summary of a project: for changes, expenditures, draws and unassigned
// items the approved and unapproved amounts and counts in both directions, and the
// progress made per family. Not persisted.
//
// Every derived member (totals, averages, percentages, remaining amounts) is computed from
// the stored values on each read; nothing is cached. Sums are exact: a member fails with
// 6 "Overflow" only when its own value leaves the range of its type, whatever the order
// of its terms. An average is 0 when its amount or its count is 0, otherwise the amount
// over the count rounded half to even at 0.0001. A percentage is 0 when its progress or
// its total is 0, otherwise the percentage service's answer to two decimals.
class PRVDRINFO_API CChangeSummaryInfo2 : public IObject {
 public:
  // Changes: Additions and Deletions.
  Currency ApprovedAdditionsAmount() const { return changes_.approvedA; }
  void SetApprovedAdditionsAmount(Currency value) { changes_.approvedA = value; }
  Currency ApprovedDeletionsAmount() const { return changes_.approvedB; }
  void SetApprovedDeletionsAmount(Currency value) { changes_.approvedB = value; }
  Currency UnapprovedAdditionsAmount() const { return changes_.unapprovedA; }
  void SetUnapprovedAdditionsAmount(Currency value) { changes_.unapprovedA = value; }
  Currency UnapprovedDeletionsAmount() const { return changes_.unapprovedB; }
  void SetUnapprovedDeletionsAmount(Currency value) { changes_.unapprovedB = value; }
  Currency TotalAdditionsAmount() const;
  Currency TotalDeletionsAmount() const;
  Currency TotalApprovedChangesAmount() const;
  Currency TotalUnapprovedChangesAmount() const;
  Currency TotalChangesAmount() const;
  int32_t ApprovedAdditionsCount() const { return changes_.approvedACount; }
  void SetApprovedAdditionsCount(int32_t value) { changes_.approvedACount = value; }
  int32_t ApprovedDeletionsCount() const { return changes_.approvedBCount; }
  void SetApprovedDeletionsCount(int32_t value) { changes_.approvedBCount = value; }
  int32_t UnapprovedAdditionsCount() const { return changes_.unapprovedACount; }
  void SetUnapprovedAdditionsCount(int32_t value) { changes_.unapprovedACount = value; }
  int32_t UnapprovedDeletionsCount() const { return changes_.unapprovedBCount; }
  void SetUnapprovedDeletionsCount(int32_t value) { changes_.unapprovedBCount = value; }
  int32_t TotalAdditionsCount() const;
  int32_t TotalDeletionsCount() const;
  int32_t TotalApprovedChangesCount() const;
  int32_t TotalUnapprovedChangesCount() const;
  int32_t TotalChangesCount() const;
  Currency ChangesProgressAmount() const { return changes_.progress; }
  double ChangesProgressPercent() const;
  Currency AverageApprovedChangesAmount() const;
  Currency AverageTotalChangesAmount() const;
  void SetChangesProgressAmount(Currency value) { changes_.progress = value; }
  Currency RemainingChangesProgressAmount() const;

  // Expenditures: positive and negative.
  Currency ApprovedPositiveExpendituresAmount() const { return expenditures_.approvedA; }
  void SetApprovedPositiveExpendituresAmount(Currency value) { expenditures_.approvedA = value; }
  Currency ApprovedNegativeExpendituresAmount() const { return expenditures_.approvedB; }
  void SetApprovedNegativeExpendituresAmount(Currency value) { expenditures_.approvedB = value; }
  Currency UnapprovedPositiveExpendituresAmount() const { return expenditures_.unapprovedA; }
  void SetUnapprovedPositiveExpendituresAmount(Currency value) {
    expenditures_.unapprovedA = value;
  }
  Currency UnapprovedNegativeExpendituresAmount() const { return expenditures_.unapprovedB; }
  void SetUnapprovedNegativeExpendituresAmount(Currency value) {
    expenditures_.unapprovedB = value;
  }
  Currency TotalPositiveExpendituresAmount() const;
  Currency TotalNegativeExpendituresAmount() const;
  Currency TotalApprovedExpendituresAmount() const;
  Currency TotalUnapprovedExpendituresAmount() const;
  Currency TotalExpendituresAmount() const;
  int32_t ApprovedPositiveExpendituresCount() const { return expenditures_.approvedACount; }
  void SetApprovedPositiveExpendituresCount(int32_t value) { expenditures_.approvedACount = value; }
  int32_t ApprovedNegativeExpendituresCount() const { return expenditures_.approvedBCount; }
  void SetApprovedNegativeExpendituresCount(int32_t value) { expenditures_.approvedBCount = value; }
  int32_t UnapprovedPositiveExpendituresCount() const { return expenditures_.unapprovedACount; }
  void SetUnapprovedPositiveExpendituresCount(int32_t value) {
    expenditures_.unapprovedACount = value;
  }
  int32_t UnapprovedNegativeExpendituresCount() const { return expenditures_.unapprovedBCount; }
  void SetUnapprovedNegativeExpendituresCount(int32_t value) {
    expenditures_.unapprovedBCount = value;
  }
  int32_t TotalPositiveExpendituresCount() const;
  int32_t TotalNegativeExpendituresCount() const;
  int32_t TotalApprovedExpendituresCount() const;
  int32_t TotalUnapprovedExpendituresCount() const;
  int32_t TotalExpendituresCount() const;
  Currency ExpendituresProgressAmount() const { return expenditures_.progress; }
  double ExpendituresProgressPercent() const;
  Currency AverageApprovedExpendituresAmount() const;
  Currency AverageTotalExpendituresAmount() const;
  void SetExpendituresProgressAmount(Currency value) { expenditures_.progress = value; }
  Currency RemainingExpendituresProgressAmount() const;

  // Draws: positive and negative.
  Currency ApprovedPositiveDrawsAmount() const { return draws_.approvedA; }
  void SetApprovedPositiveDrawsAmount(Currency value) { draws_.approvedA = value; }
  Currency ApprovedNegativeDrawsAmount() const { return draws_.approvedB; }
  void SetApprovedNegativeDrawsAmount(Currency value) { draws_.approvedB = value; }
  Currency UnapprovedPositiveDrawsAmount() const { return draws_.unapprovedA; }
  void SetUnapprovedPositiveDrawsAmount(Currency value) { draws_.unapprovedA = value; }
  Currency UnapprovedNegativeDrawsAmount() const { return draws_.unapprovedB; }
  void SetUnapprovedNegativeDrawsAmount(Currency value) { draws_.unapprovedB = value; }
  Currency TotalPositiveDrawsAmount() const;
  Currency TotalNegativeDrawsAmount() const;
  Currency TotalApprovedDrawsAmount() const;
  Currency TotalUnapprovedDrawsAmount() const;
  Currency TotalDrawsAmount() const;
  int32_t ApprovedPositiveDrawsCount() const { return draws_.approvedACount; }
  void SetApprovedPositiveDrawsCount(int32_t value) { draws_.approvedACount = value; }
  int32_t ApprovedNegativeDrawsCount() const { return draws_.approvedBCount; }
  void SetApprovedNegativeDrawsCount(int32_t value) { draws_.approvedBCount = value; }
  int32_t UnapprovedPositiveDrawsCount() const { return draws_.unapprovedACount; }
  void SetUnapprovedPositiveDrawsCount(int32_t value) { draws_.unapprovedACount = value; }
  int32_t UnapprovedNegativeDrawsCount() const { return draws_.unapprovedBCount; }
  void SetUnapprovedNegativeDrawsCount(int32_t value) { draws_.unapprovedBCount = value; }
  int32_t TotalPositiveDrawsCount() const;
  int32_t TotalNegativeDrawsCount() const;
  int32_t TotalApprovedDrawsCount() const;
  int32_t TotalUnapprovedDrawsCount() const;
  int32_t TotalDrawsCount() const;
  Currency DrawsProgressAmount() const { return draws_.progress; }
  double DrawsProgressPercent() const;
  Currency AverageApprovedDrawsAmount() const;
  Currency AverageTotalDrawsAmount() const;
  void SetDrawsProgressAmount(Currency value) { draws_.progress = value; }
  Currency RemainingDrawsProgressAmount() const;

  // Unassigned: positive and negative.
  Currency ApprovedPositiveUnassignedAmount() const { return unassigned_.approvedA; }
  void SetApprovedPositiveUnassignedAmount(Currency value) { unassigned_.approvedA = value; }
  Currency ApprovedNegativeUnassignedAmount() const { return unassigned_.approvedB; }
  void SetApprovedNegativeUnassignedAmount(Currency value) { unassigned_.approvedB = value; }
  Currency UnapprovedPositiveUnassignedAmount() const { return unassigned_.unapprovedA; }
  void SetUnapprovedPositiveUnassignedAmount(Currency value) { unassigned_.unapprovedA = value; }
  Currency UnapprovedNegativeUnassignedAmount() const { return unassigned_.unapprovedB; }
  void SetUnapprovedNegativeUnassignedAmount(Currency value) { unassigned_.unapprovedB = value; }
  Currency TotalPositiveUnassignedAmount() const;
  Currency TotalNegativeUnassignedAmount() const;
  Currency TotalApprovedUnassignedAmount() const;
  Currency TotalUnapprovedUnassignedAmount() const;
  Currency TotalUnassignedAmount() const;
  int32_t ApprovedPositiveUnassignedCount() const { return unassigned_.approvedACount; }
  void SetApprovedPositiveUnassignedCount(int32_t value) { unassigned_.approvedACount = value; }
  int32_t ApprovedNegativeUnassignedCount() const { return unassigned_.approvedBCount; }
  void SetApprovedNegativeUnassignedCount(int32_t value) { unassigned_.approvedBCount = value; }
  int32_t UnapprovedPositiveUnassignedCount() const { return unassigned_.unapprovedACount; }
  void SetUnapprovedPositiveUnassignedCount(int32_t value) { unassigned_.unapprovedACount = value; }
  int32_t UnapprovedNegativeUnassignedCount() const { return unassigned_.unapprovedBCount; }
  void SetUnapprovedNegativeUnassignedCount(int32_t value) { unassigned_.unapprovedBCount = value; }
  int32_t TotalPositiveUnassignedCount() const;
  int32_t TotalNegativeUnassignedCount() const;
  int32_t TotalApprovedUnassignedCount() const;
  int32_t TotalUnapprovedUnassignedCount() const;
  int32_t TotalUnassignedCount() const;
  // No progress is made on unassigned items: always 0.
  Currency UnassignedProgressAmount() const { return Currency{}; }
  double UnassignedProgressPercent() const { return 0; }
  Currency AverageApprovedUnassignedAmount() const;
  Currency AverageTotalUnassignedAmount() const;

  // All families together: assigned = changes, expenditures and draws; ordered = assigned
  // and unassigned.
  Currency AverageApprovedAssignedAmount() const;
  Currency AverageApprovedOrderedAmount() const;
  Currency AverageTotalAssignedAmount() const;
  Currency AverageTotalOrderedAmount() const;
  Currency ProgressAmount() const;
  double ProgressPercent() const;
  Currency RemainingProgressAmount() const;
  Currency TotalAssignedAmount() const;
  Currency TotalOrderedAmount() const;
  int32_t TotalAssignedCount() const;
  int32_t TotalOrderedCount() const;
  Currency TotalApprovedAssignedAmount() const;
  Currency TotalApprovedOrderedAmount() const;
  int32_t TotalApprovedAssignedCount() const;
  int32_t TotalApprovedOrderedCount() const;
  const std::string& ReasonAbbreviation() const { return reasonAbbreviation_; }
  void SetReasonAbbreviation(const std::string& value) { reasonAbbreviation_ = value; }
  const std::string& ReasonTitle() const { return reasonTitle_; }
  void SetReasonTitle(const std::string& value) { reasonTitle_ = value; }

 private:
  // One family: direction A (additions, positive) and B (deletions, negative).
  struct Family {
    Currency approvedA;
    Currency approvedB;
    Currency unapprovedA;
    Currency unapprovedB;
    int32_t approvedACount = 0;
    int32_t approvedBCount = 0;
    int32_t unapprovedACount = 0;
    int32_t unapprovedBCount = 0;
    Currency progress;
  };

  Family changes_;
  Family expenditures_;
  Family draws_;
  Family unassigned_;
  std::string reasonAbbreviation_;
  std::string reasonTitle_;
};

}  // namespace prvdrinfo
