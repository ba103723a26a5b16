// The factory bodies a module's entry points are made of: the arguments they refuse, the
// one class they create, and how each lets a failing construction out.
#include "prvdrinfo/contract/provider_module.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/error.h"
#include "support/error_capture.h"
#include "support/quiet_provider.h"

namespace prvdrinfo {
namespace {

using testing::ErrorOf;

struct Made : testing::QuietProvider {};
struct Refused : testing::QuietProvider {
  Refused() { throw CError(err::kPermissionDenied, "CRefused", "The register is locked."); }
};

TEST(ProviderModuleFactories, RefuseNullArgumentsAndOtherClasses) {
  using Body = int32_t (*)(const char*, std::string_view, std::shared_ptr<IProviderInfo>*);
  for (const Body body : {Body{&CreateProviderOf<Made>}, Body{&CreateProvider2Of<Made>}}) {
    std::shared_ptr<IProviderInfo> provider;
    EXPECT_EQ(body(nullptr, "CMade", &provider), err::kInvalidProcedureCall);
    EXPECT_EQ(body("CMade", "CMade", nullptr), err::kInvalidProcedureCall);
    EXPECT_EQ(body("CMadeToo", "CMade", &provider), err::kCannotCreateObject);
    EXPECT_EQ(body("cmade", "CMade", &provider), err::kCannotCreateObject);
    EXPECT_EQ(provider, nullptr);
    ASSERT_EQ(body("CMade", "CMade", &provider), 0);
    EXPECT_NE(std::dynamic_pointer_cast<Made>(provider), nullptr);
  }
}

// The first factory returns the number and keeps *po_Provider as it was; the second lets
// the error itself out, text and all.
TEST(ProviderModuleFactories, AFailingConstructionIsANumberOrTheErrorItself) {
  std::shared_ptr<IProviderInfo> provider = std::make_shared<Made>();
  const auto before = provider;
  EXPECT_EQ(CreateProviderOf<Refused>("CRefused", "CRefused", &provider), err::kPermissionDenied);
  EXPECT_EQ(provider, before);
  const CError e = ErrorOf([&] { CreateProvider2Of<Refused>("CRefused", "CRefused", &provider); });
  EXPECT_EQ(e.Number(), err::kPermissionDenied);
  EXPECT_EQ(e.Description(), "The register is locked.");
  EXPECT_EQ(provider, before);
}

}  // namespace
}  // namespace prvdrinfo
