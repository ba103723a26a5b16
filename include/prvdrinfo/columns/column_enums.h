#pragma once

#include <cstdint>

// The enumerations that column properties use. Members whose value is 2147483647 mean
// that the provider decides; the library passes them through unchanged.
namespace prvdrinfo {

enum e_ColumnType : int32_t {
  coltype_Editable = 0,
  coltype_Hybrid = 1,
  coltype_Calculated = 2,
  coltype_Global = 3,
  coltype_Unknown = 2147483647,
};

// How the column is edited in the host's grids and forms.
enum e_ColumnUiType : int32_t {
  coluitype_Standard = 0,
  coluitype_FixedList = 1,
  coluitype_EditableList = 2,
  coluitype_FixedButton = 3,
  coluitype_AutoCompleteGlobal = 4,
  coluitype_AutoCompleteProject = 5,
  coluitype_AutoCompleteProvider = 6,
  coluitype_Rtf = 7,
  coluitype_Reference = 8,
  coluitype_MasterFormat = 9,
  coluitype_FormType = 10,
  coluitype_References = 11,
  coluitype_Contact = 12,
  coluitype_AbbreviationList = 13,
  coluitype_AbbreviationList2 = 14,
  coluitype_FormFileGuid = 15,
  coluitype_AskProvider = 2147483647,
};

enum e_CaseHandling : int32_t {
  case_LeaveAlone = 0,
  case_Upper = 1,
  case_Lower = 2,
  case_Proper = 3,
  case_ProviderHandled = 2147483647,
};

enum e_LegalCharacters : int32_t {
  legalchars_All = 0,
  legalchars_Integers = 1,
  legalchars_Currency = 2,
  legalchars_RealNumbers = 3,
  legalchars_IpAddresses = 4,
  legalchars_Dates = 5,
  legalchars_Regex = 2147483646,  // the column's LegalCharactersRegex applies
  legalchars_ProviderHandled = 2147483647,
};

enum e_WhitespaceHandling : int32_t {
  white_LeaveAlone = 0,
  white_Flatten = 1,
  white_FlattenExceptNewlines = 2,
  white_FlattenExceptNewlinesNoBlank = 3,
  white_Remove = 4,
  white_RemoveExceptNewlines = 5,
  white_RemoveExceptNewlinesNoBlank = 6,
  white_Trim = 268435456,  // bit 28: a flag added to the other values
  white_ProviderHandled = 2147483647,
};

enum e_ColumnEditability : int32_t {
  coleditable_Standard = 0,
  coleditable_ReadOnly = 1,
  coleditable_AskProvider = 2147483647,
};

enum e_ColumnDefaultValueType : int32_t {
  coldefaultvalue_None = 0,
  coldefaultvalue_Standard = 1,
  coldefaultvalue_OnExternalChange = 2,
  coldefaultvalue_AskProvider = 2147483647,
};

enum e_ComputedColumnEditability : int32_t {
  computedcoleditable_ReadOnly = 0,
  computedcoleditable_Editable = 1,
  computedcoleditable_AskProvider = 2147483647,
};

enum e_ColumnAvailability : int32_t {
  colavail_All = 0,
  colavail_FormsOnly = 1,
  colavail_ReportsOnly = 2,
};

enum e_ColumnFormatType : int32_t {
  colformat_Standard = 0,
  colformat_Special = 1,  // the column's SpecialFormatString applies
  colformat_ProviderHandledMultiCellDependent = 2147483646,
  colformat_ProviderHandled = 2147483647,
};

// Companion columns that a provider adds beside a normal column. 1 to 5 is the domain
// of SupportSpecialFormatType.
enum e_SpecialColumnType : int32_t {
  specialcol_None = 0,
  specialcol_Sort = 1,
  specialcol_Search = 2,
  specialcol_Backcolor = 3,
  specialcol_Forecolor = 4,
  specialcol_Formatted = 5,
  specialcol_FormattedForm = 6,
  _specialcol_First = 1,
  _specialcol_Last = 5,
};

enum e_VeskColumnVisibility : int32_t {
  cv_NeverShow = 0,
  cv_DefaultShow = 1,
  cv_DefaultHide = 2,
};

enum e_VeskDataType : int32_t {
  datatype_String = 0,
  datatype_StringSmartSort = 1,
  datatype_StringRtf = 2,
  datatype_Currency = 3,
  datatype_DateUtc = 4,
  datatype_Integer = 5,
  datatype_Real = 6,
  datatype_Boolean = 7,
  datatype_Blob = 8,
  datatype_Percentage = 9,
};

enum e_VeskColumnSource : int32_t {
  colsource_Database = 0,
  colsource_Computed = 1,
};

enum e_ColumnAggregateType : int32_t {
  colaggregate_UseDefault = -1,  // never held by a column
  colaggregate_None = 0,
  colaggregate_Sum = 1,
  colaggregate_Custom = 2147483647,
};

enum e_ColumnAlignment : int32_t {
  colalign_Standard = 0,
  colalign_Left = 1,
  colalign_Right = 2,
  colalign_Center = 3,
  colalign_AskProvider = 2147483647,
};

enum e_ColumnAutoColoring : int32_t {
  colcolor_Standard = 0,
  colcolor_Stored = 1,
  colcolor_AskProvider = 2147483647,
};

}  // namespace prvdrinfo
