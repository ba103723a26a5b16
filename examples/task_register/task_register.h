#pragma once

#include <cstddef>

// The identity of the task register provider, as this module publishes it for hosts that
// want to name it without asking the module first.
namespace task_register {

inline constexpr const char* kClassName = "CTaskRegister";
inline constexpr const char* kProviderGuid = "7D2C4A1E-5B3F-4E60-9A7B-1C2D3E4F5061";

// Its own columns.
inline constexpr const char* kNumberColumnGuid = "7D2C4A1E-5B3F-4E60-9A7B-000000000001";
inline constexpr const char* kTitleColumnGuid = "7D2C4A1E-5B3F-4E60-9A7B-000000000002";
inline constexpr const char* kStatusColumnGuid = "7D2C4A1E-5B3F-4E60-9A7B-000000000003";

// Its views.
inline constexpr const char* kAllTasksViewGuid = "7D2C4A1E-5B3F-4E60-9A7B-0000000000A1";
inline constexpr const char* kOpenTasksViewGuid = "7D2C4A1E-5B3F-4E60-9A7B-0000000000A2";

// A title longer than this is a warning (stddberr_ValueTooHigh) that a caller can accept.
inline constexpr size_t kLongTitle = 60;

}  // namespace task_register
