#pragma once

#include <string>

#include "prvdrinfo/providers/provider_info_shell.h"

namespace prvdrinfo::tool {

// What a provider info shell records of the columns that play a role, and of the
// reference masks, by the name of the shell member that gives it: the one list that
// provider show prints and provider show --check checks. A shell holds "" for a role the
// provider does not fill.
struct ShellRole {
  const char* name;
  std::string (CProviderInfoShell::*get)() const;
  bool namesColumn;  // false for the masks, which are text
};

inline constexpr ShellRole kShellRoles[] = {
    {"TitleColumnGuid", &CProviderInfoShell::TitleColumnGuid, true},
    {"NumberColumnGuid", &CProviderInfoShell::NumberColumnGuid, true},
    {"ExternalNumberColumnGuid", &CProviderInfoShell::ExternalNumberColumnGuid, true},
    {"TypeColumnGuid", &CProviderInfoShell::TypeColumnGuid, true},
    {"PhaseColumnGuid", &CProviderInfoShell::PhaseColumnGuid, true},
    {"PrimaryDateColumnGuid", &CProviderInfoShell::PrimaryDateColumnGuid, true},
    {"ReasonColumnGuid", &CProviderInfoShell::ReasonColumnGuid, true},
    {"ReasonTitleColumnGuid", &CProviderInfoShell::ReasonTitleColumnGuid, true},
    {"DisciplineAbbreviationsColumnGuid", &CProviderInfoShell::DisciplineAbbreviationsColumnGuid,
     true},
    {"DisciplineTitlesColumnGuid", &CProviderInfoShell::DisciplineTitlesColumnGuid, true},
    {"AttachmentCountColumnGuid", &CProviderInfoShell::AttachmentCountColumnGuid, true},
    {"AttachmentListColumnGuid", &CProviderInfoShell::AttachmentListColumnGuid, true},
    {"AttachmentListCrLfColumnGuid", &CProviderInfoShell::AttachmentListCrLfColumnGuid, true},
    {"NotableNotesColumnGuid", &CProviderInfoShell::NotableNotesColumnGuid, true},
    {"NotableHasNotesColumnGuid", &CProviderInfoShell::NotableHasNotesColumnGuid, true},
    {"EmailCountColumnGuid", &CProviderInfoShell::EmailCountColumnGuid, true},
    {"ContacterOwnerSignedColumnGuid", &CProviderInfoShell::ContacterOwnerSignedColumnGuid, true},
    {"ContacterBuilderSignedColumnGuid", &CProviderInfoShell::ContacterBuilderSignedColumnGuid,
     true},
    {"ContacterDesignerSignedColumnGuid", &CProviderInfoShell::ContacterDesignerSignedColumnGuid,
     true},
    {"ContacterContractAdminSignedColumnGuid",
     &CProviderInfoShell::ContacterContractAdminSignedColumnGuid, true},
    {"CertifiableApplyHoldbackColumnGuid", &CProviderInfoShell::CertifiableApplyHoldbackColumnGuid,
     true},
    {"FormTypeColumnGuid", &CProviderInfoShell::FormTypeColumnGuid, true},
    {"FormTypeTitleColumnGuid", &CProviderInfoShell::FormTypeTitleColumnGuid, true},
    {"ChildParentRecordGuidColumnGuid", &CProviderInfoShell::ChildParentRecordGuidColumnGuid, true},
    {"ReferenceMask", &CProviderInfoShell::ReferenceMask, false},
    {"ReferenceShortMask", &CProviderInfoShell::ReferenceShortMask, false},
    {"ReferenceAttributesMask", &CProviderInfoShell::ReferenceAttributesMask, false},
};

}  // namespace prvdrinfo::tool
