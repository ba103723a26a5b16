#pragma once

#include <cstdint>

#include "prvdrinfo/foundation/error.h"

// Enumerations of the provider contract. The values are part of the contract: provider
// modules raise and return them, hosts compare against them.
namespace prvdrinfo {

enum e_ProviderCategory : int32_t {
  providercategory_PreConstruction = 0,
  providercategory_Construction = 1,
  providercategory_Certifier = 2,
  providercategory_Documentation = 3,
  providercategory_PostConstruction = 4,
  providercategory_Special = 2147483647,
};

// How serious an error code raised by a write is.
enum e_DatabaseErrorLevel : int32_t {
  dberr_None = 0,
  dberr_Warning = 1,
  dberr_Critical = 2,
};

// Codes that IProviderInsert.InsertRecord raises.
enum e_InsertRecordError : int32_t {
  _inserterr_Base = -2147221504,  // 80040000 hexadecimal
  inserterr_RequiredColumnMissing = -2147221503,
  inserterr_LostInsertedRecord = -2147221502,
  _inserterr_Base2 = -2147195648,  // 80046500 hexadecimal
  inserterr_InsertCollision = -2147195647,
  inserterr_DraftCollision = -2147195646,
};

// Standard codes that write operations raise: the object error base plus 10000, then one
// per member.
enum e_StandardDbWriteError : int32_t {
  _stddberr_Base = -2147211504,  // 80042710 hexadecimal
  stddberr_Unknown = -2147211503,
  stddberr_FailedToExecute = -2147211502,
  stddberr_NoColumns = -2147211501,
  stddberr_ColumnReadOnly = -2147211500,
  stddberr_ColumnUnknown = -2147211499,
  stddberr_ValueRequired = -2147211498,
  stddberr_CurrencyValueRequired = -2147211497,
  stddberr_DateValueRequired = -2147211496,
  stddberr_IntegerValueRequired = -2147211495,
  stddberr_PositiveValueOrZeroRequired = -2147211494,
  stddberr_NegativeValueOrZeroRequired = -2147211493,
  stddberr_PositiveValueRequired = -2147211492,
  stddberr_NegativeValueRequired = -2147211491,
  stddberr_ValueTooHigh = -2147211490,
  stddberr_ValueTooLow = -2147211489,
  stddberr_SignsMismatched = -2147211488,
  stddberr_NumberRequired = -2147211487,
  stddberr_ProgressRollback = -2147211486,
  stddberr_UndefinedFundForWithdrawal = -2147211485,
  stddberr_ApprovalRollback = -2147211484,
  stddberr_ChangeProgressedHoldback = -2147211483,
  stddberr_ProgressUnsupportedForEffect = -2147211482,
  stddberr_SelfReference = -2147211481,
  stddberr_CircularReference = -2147211480,
  stddberr_TooManyReferences = -2147211479,
  stddberr_ChangeCertifiedTaxType = -2147211478,
  stddberr_CertifiedEffectChange = -2147211477,
};

// Form lookups of IProviderForm that fail on an unknown abbreviation or title. Each
// abbreviation-error enumeration shares its base with its title-error twin: the base
// member exists once, under the title-error name (unscoped enumerators share one scope).
enum e_CommonFormTitleError : int32_t {
  _commonformtitleerr_Base = -2147221504,
  commonformtitleerr_UnknownAbbreviation = -2147221503,
};
enum e_CommonFormAbbrevError : int32_t {
  commonformabbreverr_UnknownTitle = -2147221503,
};
enum e_InUseFormTitleError : int32_t {
  _inuseformtitleerr_Base = -2147221504,
  inuseformtitleerr_UnknownAbbreviation = -2147221503,
};
enum e_InUseFormAbbrevError : int32_t {
  inuseformabbreverr_UnknownTitle = -2147221503,
};

enum e_FormDescriptionTextRtfType : int32_t {
  formdesctexttype_Normal = 0,
  formdesctexttype_AutoSave = 1,
};

enum e_IProviderAttachmentType : int32_t {
  iproviderattachtype_Standard = 0,
  iproviderattachtype_ShopDrawings = 1,
};

enum e_ProviderSubListType : int32_t {
  providersublisttype_ShopDrawings = 0,
  providersublisttype_StandardAttachments = 2147483647,
};

// Bit flags; combine them with |.
enum e_SearchExtrasFlags : int32_t {
  searchextras_None = 0,
  searchextras_Notes = 1,
  searchextras_Descriptions = 2,
  searchextras_Emails = 4,
  searchextras_Attachments = 8,
  searchextras_Comments = 16,
};

constexpr e_SearchExtrasFlags operator|(e_SearchExtrasFlags a, e_SearchExtrasFlags b) {
  return static_cast<e_SearchExtrasFlags>(static_cast<int32_t>(a) | static_cast<int32_t>(b));
}
constexpr e_SearchExtrasFlags operator&(e_SearchExtrasFlags a, e_SearchExtrasFlags b) {
  return static_cast<e_SearchExtrasFlags>(static_cast<int32_t>(a) & static_cast<int32_t>(b));
}
constexpr e_SearchExtrasFlags& operator|=(e_SearchExtrasFlags& a, e_SearchExtrasFlags b) {
  return a = a | b;
}

static_assert(_inserterr_Base == err::kObjectErrorBase);
static_assert(_stddberr_Base == err::kObjectErrorBase + 10000);
static_assert(_commonformtitleerr_Base == err::kObjectErrorBase);
static_assert(_inuseformtitleerr_Base == err::kObjectErrorBase);

}  // namespace prvdrinfo
