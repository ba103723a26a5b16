#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

struct evp_md_ctx_st;

namespace prvdrinfo {

// SHA-256 fed piece by piece (OpenSSL EVP), read as upper-case hexadecimal. Reading the
// digest does not end the hash: more pieces may follow and the digest read again.
// OpenSSL failures raise CError 80004005 with OpenSSL's reason.
class Sha256Hasher {
 public:
  static constexpr size_t kDigestSize = 32;
  using Digest = std::array<uint8_t, kDigestSize>;

  Sha256Hasher();
  ~Sha256Hasher();
  Sha256Hasher(Sha256Hasher&&) noexcept;
  Sha256Hasher& operator=(Sha256Hasher&&) noexcept;
  Sha256Hasher(const Sha256Hasher&) = delete;
  Sha256Hasher& operator=(const Sha256Hasher&) = delete;

  void Update(std::span<const uint8_t> bytes);
  // The text's UTF-8 bytes as they are.
  void Update(std::string_view utf8);
  // The text's UTF-16 code units, each as two bytes, low byte first.
  void UpdateUtf16Le(std::u16string_view text);

  Digest Finish() const;
  // The digest, ending the hash in place (no copy of the state): Reset before more.
  Digest Take();
  std::string HexDigest() const;  // 64 upper-case hex digits
  // Starts over with nothing fed.
  void Reset();

  // One-shot conveniences.
  static std::string HexOf(std::span<const uint8_t> bytes);
  static std::string HexOfUtf16Le(std::u16string_view text);
  // Bytes as hexadecimal text, two digits per byte.
  static std::string ToHex(std::span<const uint8_t> bytes, bool upperCase = true);

 private:
  struct ContextDeleter {
    void operator()(evp_md_ctx_st* context) const noexcept;
  };
  std::unique_ptr<evp_md_ctx_st, ContextDeleter> context_;
};

}  // namespace prvdrinfo
