#pragma once

// The identity of the change order log provider and the GUIDs of the columns that play a
// role in it, as this module publishes them for hosts (and tests) that name them without
// asking the module first.
namespace change_order_log {

inline constexpr const char* kClassName = "CChangeOrderLog";
inline constexpr const char* kProviderGuid = "C4A1D7E2-3B5F-4C60-8D9E-0A1B2C3D4E50";
inline constexpr const char* kDllName = "libchange_order_log.so";

// Its own columns, each playing one role.
inline constexpr const char* kTitleColumnGuid = "C4A1D7E2-3B5F-4C60-8D9E-000000000001";
inline constexpr const char* kTypeColumnGuid = "C4A1D7E2-3B5F-4C60-8D9E-000000000002";
inline constexpr const char* kPhaseColumnGuid = "C4A1D7E2-3B5F-4C60-8D9E-000000000003";
inline constexpr const char* kExternalNumberColumnGuid = "C4A1D7E2-3B5F-4C60-8D9E-000000000004";
inline constexpr const char* kDateColumnGuid = "C4A1D7E2-3B5F-4C60-8D9E-000000000005";
inline constexpr const char* kReasonColumnGuid = "C4A1D7E2-3B5F-4C60-8D9E-000000000006";
inline constexpr const char* kReasonTitleColumnGuid = "C4A1D7E2-3B5F-4C60-8D9E-000000000007";
inline constexpr const char* kDisciplineAbbreviationsColumnGuid =
    "C4A1D7E2-3B5F-4C60-8D9E-000000000008";
inline constexpr const char* kDisciplineTitlesColumnGuid = "C4A1D7E2-3B5F-4C60-8D9E-000000000009";
inline constexpr const char* kAttachmentCountColumnGuid = "C4A1D7E2-3B5F-4C60-8D9E-00000000000A";
inline constexpr const char* kAttachmentListColumnGuid = "C4A1D7E2-3B5F-4C60-8D9E-00000000000B";
inline constexpr const char* kAttachmentListCrLfColumnGuid = "C4A1D7E2-3B5F-4C60-8D9E-00000000000C";
inline constexpr const char* kNotesColumnGuid = "C4A1D7E2-3B5F-4C60-8D9E-00000000000D";
inline constexpr const char* kHasNotesColumnGuid = "C4A1D7E2-3B5F-4C60-8D9E-00000000000E";
inline constexpr const char* kEmailCountColumnGuid = "C4A1D7E2-3B5F-4C60-8D9E-00000000000F";
inline constexpr const char* kOwnerSignedColumnGuid = "C4A1D7E2-3B5F-4C60-8D9E-000000000010";
inline constexpr const char* kBuilderSignedColumnGuid = "C4A1D7E2-3B5F-4C60-8D9E-000000000011";
inline constexpr const char* kDesignerSignedColumnGuid = "C4A1D7E2-3B5F-4C60-8D9E-000000000012";
inline constexpr const char* kContractAdminSignedColumnGuid =
    "C4A1D7E2-3B5F-4C60-8D9E-000000000013";
inline constexpr const char* kApplyHoldbackColumnGuid = "C4A1D7E2-3B5F-4C60-8D9E-000000000014";
inline constexpr const char* kFormTypeColumnGuid = "C4A1D7E2-3B5F-4C60-8D9E-000000000015";
inline constexpr const char* kFormTypeTitleColumnGuid = "C4A1D7E2-3B5F-4C60-8D9E-000000000016";
inline constexpr const char* kParentRecordColumnGuid = "C4A1D7E2-3B5F-4C60-8D9E-000000000017";
inline constexpr const char* kParentProviderColumnGuid = "C4A1D7E2-3B5F-4C60-8D9E-000000000018";
inline constexpr const char* kAmountColumnGuid = "C4A1D7E2-3B5F-4C60-8D9E-000000000019";

// How a change order's reference reads: "CO-<number> <title>".
inline constexpr const char* kReferenceMask = "CO-[ExternalNumber] [Title]";
inline constexpr const char* kReferenceShortMask = "CO-[ExternalNumber]";
inline constexpr const char* kReferenceAttributesMask = "[Type]";

// The two views the module ships with.
inline constexpr const char* kAllChangesViewGuid = "C4A1D7E2-3B5F-4C60-8D9E-0000000000A1";
inline constexpr const char* kOpenChangesViewGuid = "C4A1D7E2-3B5F-4C60-8D9E-0000000000A2";

}  // namespace change_order_log
