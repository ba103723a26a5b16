#include "services/internal/libs_factory.h"

#include <span>

#include "foundation/internal/ascii.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

CHasher::CHasher(std::string_view algorithm, std::string_view encoding) {
  static constexpr ErrorSite kSite{"UMGFFG74W3QXJSHOAJVT3UK04", "CHasher.Construct"};
  kSite.Guard([&] {
    if (!ascii::EqualsIgnoreCase(algorithm, "sha-256") &&
        !ascii::EqualsIgnoreCase(algorithm, "sha256")) {
      kSite.Raise(err::kInvalidProcedureCall, "Unknown hash algorithm: " + std::string(algorithm));
    }
    if (!ascii::EqualsIgnoreCase(encoding, "hex")) {
      kSite.Raise(err::kInvalidProcedureCall, "Unknown hash encoding: " + std::string(encoding));
    }
  });
}

void CHasher::Update(std::string_view piece) {
  static constexpr ErrorSite kSite{"18U6V2VOE3RL248U7SNFDM88M", "CHasher.Update"};
  kSite.Guard([&] { hasher_.Update(piece); });
}

void CHasher::Update(const Bytes& piece) {
  static constexpr ErrorSite kSite{"1VLTE26OWTT7Q7QEGVYTFYBR6", "CHasher.UpdateBytes"};
  kSite.Guard([&] { hasher_.Update(std::span<const uint8_t>(piece)); });
}

std::string CHasher::Digest() const {
  static constexpr ErrorSite kSite{"9W6WE6VY91XQZ0KKZSHEXH0DV", "CHasher.Digest"};
  return kSite.Guard([&] { return hasher_.HexDigest(); });
}

void CHasher::Reset() {
  static constexpr ErrorSite kSite{"UEI4UMVAHNQK7ZEUJ23RAKFUN", "CHasher.Reset"};
  kSite.Guard([&] { hasher_.Reset(); });
}

std::shared_ptr<CHasher> CLibsFactory::CreateHasher(std::string_view algorithm,
                                                    std::string_view encoding) const {
  static constexpr ErrorSite kSite{"8LI3Q3W5ZWLNLD330BDFLUS7C", "CLibsFactory.CreateHasher"};
  return kSite.Guard([&] { return std::make_shared<CHasher>(algorithm, encoding); });
}

}  // namespace prvdrinfo
