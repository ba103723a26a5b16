#include "prvdrinfo/providers/form_info.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "support/column_test_support.h"

namespace prvdrinfo {
namespace {

using Setter = void (CFormInfo::*)(const std::string&);
using Getter = const std::string& (CFormInfo::*)() const;
using testing::ErrorNumberOf;
using testing::ExpectError;
using testing::KeysOf;

std::shared_ptr<CFormInfo> Filled() {
  auto form = CFormInfoFactory().CreateFormInfo();
  form->SetTitle("Site Instruction");
  form->SetAbbreviation("SI");
  form->SetFileGuid4db("11111111-2222-4333-8444-555555555555");
  form->SetFileGuidCoverLetter("cover");
  form->SetRecordGuid("AAAAAAAA-BBBB-4CCC-8DDD-EEEEEEEEEEEE");
  form->SetFileGuidXfm("xfm");
  form->SetProviderGuid("99999999-8888-4777-8666-555555555555");
  form->SetFileGuidThumbnail("thumb");
  form->SetSourceProjectGuid("12345678-1234-4123-8123-123456789012");
  form->SetSourceProjectStatementNumber(3);
  form->SetDefaultDescriptionTextRtf("{\\rtf1 a}");
  form->SetDefaultDescriptionTextRtfCoverLetter("{\\rtf1 b}");
  return form;
}

TEST(FormInfo, SettersCleanTheValueAndRefuseBlanksKeepingThePreviousValue) {
  struct Case {
    const char* property;
    Setter set;
    Getter get;
    const char* given;
    const char* stored;
    const char* refusal;
  };
  const Case cases[] = {
      {"Title", &CFormInfo::SetTitle, &CFormInfo::Title, "  Site \t Instruction ",
       "Site Instruction", "Title Required."},
      {"Abbreviation", &CFormInfo::SetAbbreviation, &CFormInfo::Abbreviation, " SI ", "SI",
       "Abbreviation Required."},
      {"FileGuid4db", &CFormInfo::SetFileGuid4db, &CFormInfo::FileGuid4db,
       "{0a1b2c3d-4e5f-4a6b-8c7d-8e9f0a1b2c3d}", "0A1B2C3D-4E5F-4A6B-8C7D-8E9F0A1B2C3D",
       "GUID Required."},
      {"RecordGuid", &CFormInfo::SetRecordGuid, &CFormInfo::RecordGuid,
       " 0a1b2c3d4e5f4a6b8c7d8e9f0a1b2c3d ", "0A1B2C3D-4E5F-4A6B-8C7D-8E9F0A1B2C3D",
       "RecordGuid Required."},
      {"ProviderGuid", &CFormInfo::SetProviderGuid, &CFormInfo::ProviderGuid,
       "0A1B2C3D-4E5F-4A6B-8C7D-8E9F0A1B2C3D", "0A1B2C3D-4E5F-4A6B-8C7D-8E9F0A1B2C3D",
       "GUID Required."},
      {"SourceProjectGuid", &CFormInfo::SetSourceProjectGuid, &CFormInfo::SourceProjectGuid,
       " project  one ", "project one", "SourceProjectGuid Required."},
  };
  for (const auto& c : cases) {
    CFormInfo form;
    (form.*c.set)(c.given);
    EXPECT_EQ((form.*c.get)(), c.stored) << c.property;
    for (const char* blank : {"", "   ", "\t\n"}) {
      SCOPED_TRACE(c.property);
      ExpectError([&] { (form.*c.set)(blank); }, 5, c.refusal);
      EXPECT_EQ((form.*c.get)(), c.stored) << c.property;
    }
  }
}

TEST(FormInfo, AGuidPropertyRefusesTextThatIsNoGuid) {
  CFormInfo form;
  form.SetProviderGuid("0A1B2C3D-4E5F-4A6B-8C7D-8E9F0A1B2C3D");
  EXPECT_EQ(ErrorNumberOf([&] { form.SetProviderGuid("not a guid"); }), 5);
  EXPECT_EQ(form.ProviderGuid(), "0A1B2C3D-4E5F-4A6B-8C7D-8E9F0A1B2C3D");
}

TEST(FormInfo, WritesItsKeysInOrderAndLeavesOutDefaultsAndTheThumbnail) {
  PropertyBag fresh;
  CFormInfo().Class_WriteProperties(fresh);
  EXPECT_EQ(KeysOf(fresh), (std::vector<std::string>{"Abbreviation", "Title", "FileGuidCoverLetter",
                                                     "RecordGuid"}));

  PropertyBag bag;
  Filled()->Class_WriteProperties(bag);
  EXPECT_EQ(KeysOf(bag), (std::vector<std::string>{
                             "Abbreviation", "Title", "FileGuidCoverLetter", "RecordGuid",
                             "FileGuid4db", "FileGuidXfm", "ProviderGuid",
                             "DefaultDescriptionTextRtf", "DefaultDescriptionTextRtfCoverLetter",
                             "SourceProjectGuid", "SourceProjectStatementNumber"}));
  EXPECT_EQ(bag.ReadProperty("SourceProjectStatementNumber"), Variant(int32_t{3}));
}

TEST(FormInfo, CloneIsAnIndependentCopyWithoutTheThumbnail) {
  const auto form = Filled();
  const auto copy = form->Clone();
  ASSERT_NE(copy, form);
  EXPECT_EQ(copy->Title(), "Site Instruction");
  EXPECT_EQ(copy->Abbreviation(), "SI");
  EXPECT_EQ(copy->FileGuid4db(), form->FileGuid4db());
  EXPECT_EQ(copy->FileGuidCoverLetter(), "cover");
  EXPECT_EQ(copy->RecordGuid(), form->RecordGuid());
  EXPECT_EQ(copy->FileGuidXfm(), "xfm");
  EXPECT_EQ(copy->ProviderGuid(), form->ProviderGuid());
  EXPECT_EQ(copy->FileGuidThumbnail(), "");
  EXPECT_EQ(copy->SourceProjectGuid(), form->SourceProjectGuid());
  EXPECT_EQ(copy->SourceProjectStatementNumber(), 3);
  EXPECT_EQ(copy->DefaultDescriptionTextRtf(), "{\\rtf1 a}");
  EXPECT_EQ(copy->DefaultDescriptionTextRtfCoverLetter(), "{\\rtf1 b}");
  EXPECT_EQ(copy->Serialize(), form->Serialize());
  copy->SetTitle("Changed");
  EXPECT_EQ(form->Title(), "Site Instruction");
}

TEST(FormInfo, DeserializeTakesTheBytesInAVariantAndStoresThemWithoutTheRules) {
  PropertyBag bag;
  bag.WriteProperty("Title", std::string("  "));
  bag.WriteProperty("RecordGuid", std::string("kept as stored"));
  CFormInfo form;
  form.SetFileGuidThumbnail("thumb");
  form.Deserialize(Variant(bag.Contents()));
  EXPECT_EQ(form.Title(), "  ");
  EXPECT_EQ(form.RecordGuid(), "kept as stored");
  EXPECT_EQ(form.FileGuidThumbnail(), "thumb");  // not persisted, so not touched

  EXPECT_EQ(ErrorNumberOf([&] { form.Deserialize(Variant(std::string("text"))); }), 13);
  const auto before = form.Serialize();
  EXPECT_NE(ErrorNumberOf([&] { form.Deserialize(Variant(Bytes{1, 2, 3})); }), 0);
  EXPECT_EQ(form.Serialize(), before);
}

}  // namespace
}  // namespace prvdrinfo
