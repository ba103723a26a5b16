#pragma once

#include <cstdint>

// The enumerations of scheduled view deliveries.
namespace prvdrinfo {

// When a notifier falls due. Weekly ids 2..8 run Monday to Sunday.
enum e_ViewNotifierScheduleId : int32_t {
  viewschedid_Error = -1,
  viewschedid_DailyAll = 0,
  viewschedid_DailyNoWeekends = 1,
  viewschedid_WeeklyMonday = 2,
  viewschedid_WeeklyTuesday = 3,
  viewschedid_WeeklyWednesday = 4,
  viewschedid_WeeklyThursday = 5,
  viewschedid_WeeklyFriday = 6,
  viewschedid_WeeklySaturday = 7,
  viewschedid_WeeklySunday = 8,
  viewschedid_MonthlyFirst = 9,
  viewschedid_MonthlyFirstMonday = 10,
  viewschedid_MonthlyLast = 11,
  viewschedid_MonthlyLastFriday = 12,
};

// Bit flags: the project roles that receive a delivery.
enum e_ViewNotificationDistribution : int32_t {
  viewdist_Owner = 1,
  viewdist_Builder = 2,
  viewdist_Designer = 4,
  viewdist_ContractAdmin = 8,
  viewdist_AllOthers = 0x40000000,  // the other contacts of the project
};

enum e_ViewNotificationDistributionOption : int32_t {
  viewdistopt_AlwaysDeliver = 0,
  viewdistopt_OnlyDeliverIfContactReferenced = 1,
};

}  // namespace prvdrinfo
