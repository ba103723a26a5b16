#include "prvdrinfo/contract/provider_enums.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace prvdrinfo {
namespace {

TEST(ProviderEnums, StandardWriteErrorsFollowTheirBaseOneByOne) {
  const std::vector<e_StandardDbWriteError> inOrder = {
      stddberr_Unknown,
      stddberr_FailedToExecute,
      stddberr_NoColumns,
      stddberr_ColumnReadOnly,
      stddberr_ColumnUnknown,
      stddberr_ValueRequired,
      stddberr_CurrencyValueRequired,
      stddberr_DateValueRequired,
      stddberr_IntegerValueRequired,
      stddberr_PositiveValueOrZeroRequired,
      stddberr_NegativeValueOrZeroRequired,
      stddberr_PositiveValueRequired,
      stddberr_NegativeValueRequired,
      stddberr_ValueTooHigh,
      stddberr_ValueTooLow,
      stddberr_SignsMismatched,
      stddberr_NumberRequired,
      stddberr_ProgressRollback,
      stddberr_UndefinedFundForWithdrawal,
      stddberr_ApprovalRollback,
      stddberr_ChangeProgressedHoldback,
      stddberr_ProgressUnsupportedForEffect,
      stddberr_SelfReference,
      stddberr_CircularReference,
      stddberr_TooManyReferences,
      stddberr_ChangeCertifiedTaxType,
      stddberr_CertifiedEffectChange,
  };
  EXPECT_EQ(static_cast<uint32_t>(_stddberr_Base), 0x80042710u);
  for (size_t i = 0; i < inOrder.size(); ++i) {
    EXPECT_EQ(inOrder[i], _stddberr_Base + static_cast<int32_t>(i) + 1) << "member " << i;
  }
  EXPECT_EQ(stddberr_CertifiedEffectChange, -2147211477);
}

TEST(ProviderEnums, InsertAndFormLookupCodesSitOnTheObjectErrorBase) {
  EXPECT_EQ(static_cast<uint32_t>(inserterr_RequiredColumnMissing), 0x80040001u);
  EXPECT_EQ(static_cast<uint32_t>(inserterr_LostInsertedRecord), 0x80040002u);
  EXPECT_EQ(static_cast<uint32_t>(_inserterr_Base2), 0x80046500u);
  EXPECT_EQ(static_cast<uint32_t>(inserterr_InsertCollision), 0x80046501u);
  EXPECT_EQ(static_cast<uint32_t>(inserterr_DraftCollision), 0x80046502u);
  for (int32_t code : {static_cast<int32_t>(commonformtitleerr_UnknownAbbreviation),
                       static_cast<int32_t>(commonformabbreverr_UnknownTitle),
                       static_cast<int32_t>(inuseformtitleerr_UnknownAbbreviation),
                       static_cast<int32_t>(inuseformabbreverr_UnknownTitle)}) {
    EXPECT_EQ(code, err::kObjectErrorBase + 1);
  }
}

TEST(ProviderEnums, SearchExtrasCombineAsBits) {
  EXPECT_EQ(searchextras_Notes | searchextras_Attachments, 9);
  e_SearchExtrasFlags flags = searchextras_None;
  flags |= searchextras_Emails;
  flags |= searchextras_Comments;
  EXPECT_EQ(flags, 20);
  EXPECT_EQ(flags & searchextras_Emails, searchextras_Emails);
  EXPECT_EQ(flags & searchextras_Notes, searchextras_None);
}

TEST(ProviderEnums, ProviderDecidedValuesAreTheLargestLong) {
  EXPECT_EQ(providercategory_Special, INT32_MAX);
  EXPECT_EQ(providersublisttype_StandardAttachments, INT32_MAX);
}

}  // namespace
}  // namespace prvdrinfo
