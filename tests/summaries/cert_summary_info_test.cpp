#include "prvdrinfo/summaries/cert_summary_info.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "prvdrinfo/foundation/property_bag.h"
#include "support/column_test_support.h"

namespace prvdrinfo {
namespace {

Currency C(const char* text) { return Currency::FromString(text); }

TEST(CertSummaryInfo, WritesAndReadsAllFiveValues) {
  auto cert = CCertSummaryInfoFcty().CreateCertificateSummaryInfo();
  cert->SetNumber("7");
  cert->SetContractsWorkToDate(C("125000.5"));
  cert->SetChangesWorkToDate(C("-3400.25"));
  cert->SetPayableToDate(C("110000"));
  cert->SetRevisedContract(C("900000.0001"));
  PropertyBag bag;
  cert->Class_WriteProperties(bag);
  EXPECT_EQ(testing::KeysOf(bag),
            (std::vector<std::string>{"ContractsWorkToDate", "ChangesWorkToDate", "PayableToDate",
                                      "RevisedContract", "Number"}));

  PropertyBag restored;
  restored.SetContents(bag.Contents());
  CCertSummaryInfo back;
  back.Class_ReadProperties(restored);
  EXPECT_EQ(back.Number(), "7");
  EXPECT_EQ(back.ContractsWorkToDate(), C("125000.5"));
  EXPECT_EQ(back.ChangesWorkToDate(), C("-3400.25"));
  EXPECT_EQ(back.PayableToDate(), C("110000"));
  EXPECT_EQ(back.RevisedContract(), C("900000.0001"));
}

TEST(CertSummaryInfo, ABagWithoutTheKeysGivesZerosAndEmptyNumber) {
  CCertSummaryInfo cert;
  cert.SetNumber("12");
  cert.SetPayableToDate(C("5"));
  PropertyBag empty;
  cert.Class_ReadProperties(empty);
  EXPECT_EQ(cert.Number(), "");
  EXPECT_EQ(cert.ContractsWorkToDate(), Currency{});
  EXPECT_EQ(cert.ChangesWorkToDate(), Currency{});
  EXPECT_EQ(cert.PayableToDate(), Currency{});
  EXPECT_EQ(cert.RevisedContract(), Currency{});
  // Values equal to their defaults are not written.
  PropertyBag bag;
  cert.Class_WriteProperties(bag);
  EXPECT_EQ(bag.Count(), 0U);
}

}  // namespace
}  // namespace prvdrinfo
