#include "services/internal/libs_factory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {
namespace {

TEST(CLibsFactory, HasherGivesUpperCaseSha256OfThePiecesFed) {
  struct Case {
    std::vector<std::string> pieces;
    const char* digest;
  } cases[] = {
      {{}, "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855"},
      {{"abc"}, "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD"},
      {{"a", "", "b", "c"}, "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD"},
      {{"abcdbcdecdefdefgefghfghighijhijk", "ijkljklmklmnlmnomnopnopq"},
       "248D6A61D20638B8E5C026930C3E6039A33CE45964FF2167F6ECEDD419DB06C1"},
      {{std::string(1000000, 'a')},
       "CDC76E5C9914FB9281A1C7E284D73E67F1809A48A497200E046D39CCC7112CD0"},
  };
  const CLibsFactory factory;
  for (const auto& c : cases) {
    const auto hasher = factory.CreateHasher("sha-256", "hex");
    for (const auto& piece : c.pieces) hasher->Update(piece);
    EXPECT_EQ(hasher->Digest(), c.digest);
  }
}

TEST(CLibsFactory, DigestCanBeReadMidwayAndHashingGoesOn) {
  const auto hasher = CLibsFactory().CreateHasher();
  hasher->Update("ab");
  const std::string midway = hasher->Digest();
  EXPECT_EQ(hasher->Digest(), midway);
  hasher->Update(Bytes{'c'});
  EXPECT_EQ(hasher->Digest(), "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD");
  hasher->Reset();
  EXPECT_EQ(hasher->Digest(), "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855");

  // Any bytes are fine: NUL, ill-formed UTF-8 and quotes are hashed as they are.
  const auto a = CLibsFactory().CreateHasher("SHA256", "HEX");
  const auto b = CLibsFactory().CreateHasher();
  a->Update(std::string("x\0\xff'\"", 5));
  b->Update(Bytes{'x', 0, 0xff, '\'', '"'});
  EXPECT_EQ(a->Digest(), b->Digest());
  EXPECT_NE(a->Digest(), CLibsFactory().CreateHasher()->Digest());
}

TEST(CLibsFactory, UnknownAlgorithmOrEncodingIsAnError) {
  for (auto [algorithm, encoding] : std::vector<std::pair<std::string, std::string>>{
           {"md5", "hex"}, {"sha-1", "hex"}, {"", "hex"}, {"sha-256", "base64"}, {"sha-256", ""}}) {
    try {
      CLibsFactory().CreateHasher(algorithm, encoding);
      ADD_FAILURE() << algorithm << "/" << encoding;
    } catch (const CError& e) {
      EXPECT_EQ(e.Number(), err::kInvalidProcedureCall);
      EXPECT_NE(e.Description().find("Unknown hash"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace prvdrinfo
