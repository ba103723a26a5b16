#pragma once

#include <cstdint>

namespace prvdrinfo {

enum e_ViewColumnFormatType : int32_t {
  viewcolformat_Default = 0,
  viewcolformat_Checkbox = 1,
};

enum e_ColumnSortDirection : int32_t {
  colsort_Ascending = 0,
  colsort_Descending = 1,
};

enum e_InsertSortOrderPosition : int32_t {
  insertpos_Before = 0,
  insertpos_After = 1,
};

enum e_PageTemplateType : int32_t {
  pagetemplate_Standard = 0,
  pagetemplate_Custom = 1,
};

}  // namespace prvdrinfo
