#pragma once

#include <cstdint>

namespace prvdrinfo {

// Errors of the view collection (CProviderViews).
enum e_ProviderViewsError : int32_t {
  _viewerr_Base = static_cast<int32_t>(0x80040000u),
  viewerr_UnknownViewGuid = static_cast<int32_t>(0x80040001u),
  viewerr_UnknownViewIndex = static_cast<int32_t>(0x80040002u),
  viewerr_UnknownViewCaption = static_cast<int32_t>(0x80040003u),
  viewerr_ViewGuidInUse = static_cast<int32_t>(0x80040004u),
};

// Errors of the views database operations (CProviderViewsDb).
enum e_SaveViewErr : int32_t {
  _saveviewerr_Base = -2147221504,
  saveviewerr_Unknown = -2147221503,
  saveviewerr_NoDatabase = -2147221502,
  saveviewerr_DuplicateGuid = -2147221501,
  saveviewerr_DuplicateCaption = -2147221500,
};

// How CProviderViewsDb::SaveView4 stores a view.
enum e_ViewType : int32_t {
  viewtype_UserDefined = 0,
  viewtype_CorvaneStandard = 1,
  viewtype_Notification = 2,
};

}  // namespace prvdrinfo
