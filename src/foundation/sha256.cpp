#include "foundation/internal/sha256.h"

#include <openssl/err.h>
#include <openssl/evp.h>

#include <bit>

#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {

[[noreturn]] void RaiseOpenSsl(const ErrorSite& site, const char* step) {
  std::string reason = std::string("SHA-256: ") + step + " failed";
  if (const unsigned long code = ERR_get_error(); code != 0) {
    char text[256];
    ERR_error_string_n(code, text, sizeof text);
    reason += ": ";
    reason += text;
  }
  ERR_clear_error();
  site.Raise(err::kUnspecified, reason);
}

// Fetched once: OpenSSL 3 otherwise looks the algorithm up again on every init.
const EVP_MD* Algorithm() {
  static const EVP_MD* const fetched = EVP_MD_fetch(nullptr, "SHA256", nullptr);
  return fetched ? fetched : EVP_sha256();
}

void Init(const ErrorSite& site, EVP_MD_CTX* context) {
  if (EVP_DigestInit_ex(context, Algorithm(), nullptr) != 1)
    RaiseOpenSsl(site, "EVP_DigestInit_ex");
}

}  // namespace

void Sha256Hasher::ContextDeleter::operator()(evp_md_ctx_st* context) const noexcept {
  EVP_MD_CTX_free(context);
}

Sha256Hasher::Sha256Hasher() {
  static constexpr ErrorSite kSite{"EERQL5AZNEQB9FX11HXAW6UKX", "Sha256Hasher"};
  kSite.Guard([&] {
    context_.reset(EVP_MD_CTX_new());
    if (!context_) RaiseOpenSsl(kSite, "EVP_MD_CTX_new");
    Init(kSite, context_.get());
  });
}

Sha256Hasher::~Sha256Hasher() = default;
Sha256Hasher::Sha256Hasher(Sha256Hasher&&) noexcept = default;
Sha256Hasher& Sha256Hasher::operator=(Sha256Hasher&&) noexcept = default;

void Sha256Hasher::Update(std::span<const uint8_t> bytes) {
  static constexpr ErrorSite kSite{"PO2PX15TTOYT81QGHRQQ5BP9W", "Sha256Hasher.Update"};
  kSite.Guard([&] {
    if (!context_) kSite.Raise(err::kObjectRequired, "The hasher was moved from.");
    if (bytes.empty()) return;
    if (EVP_DigestUpdate(context_.get(), bytes.data(), bytes.size()) != 1) {
      RaiseOpenSsl(kSite, "EVP_DigestUpdate");
    }
  });
}

void Sha256Hasher::Update(std::string_view utf8) {
  Update(std::span(reinterpret_cast<const uint8_t*>(utf8.data()), utf8.size()));
}

void Sha256Hasher::UpdateUtf16Le(std::u16string_view text) {
  static constexpr ErrorSite kSite{"W0UNH3XE23QI845711JFNBKZW", "Sha256Hasher.Update"};
  kSite.Guard([&] {
    if constexpr (std::endian::native == std::endian::little) {
      Update(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size() * 2));
    } else {
      uint8_t chunk[4096];
      size_t filled = 0;
      for (const char16_t unit : text) {
        chunk[filled++] = static_cast<uint8_t>(unit & 0xFF);
        chunk[filled++] = static_cast<uint8_t>(unit >> 8);
        if (filled == sizeof chunk) {
          Update(std::span(chunk, filled));
          filled = 0;
        }
      }
      Update(std::span(chunk, filled));
    }
  });
}

Sha256Hasher::Digest Sha256Hasher::Finish() const {
  static constexpr ErrorSite kSite{"C6YPRFN8RFU2CF19G9LZG6KKY", "Sha256Hasher.Finish"};
  return kSite.Guard([&] {
    if (!context_) kSite.Raise(err::kObjectRequired, "The hasher was moved from.");
    // Finish a copy, so the running hash can take further pieces.
    std::unique_ptr<evp_md_ctx_st, ContextDeleter> copy(EVP_MD_CTX_new());
    if (!copy) RaiseOpenSsl(kSite, "EVP_MD_CTX_new");
    if (EVP_MD_CTX_copy_ex(copy.get(), context_.get()) != 1)
      RaiseOpenSsl(kSite, "EVP_MD_CTX_copy_ex");
    Digest digest{};
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(copy.get(), digest.data(), &length) != 1 || length != kDigestSize) {
      RaiseOpenSsl(kSite, "EVP_DigestFinal_ex");
    }
    return digest;
  });
}

Sha256Hasher::Digest Sha256Hasher::Take() {
  static constexpr ErrorSite kSite{"XKB62M9TQWA4RZ0JD5HNCV8LE", "Sha256Hasher.Finish"};
  return kSite.Guard([&] {
    if (!context_) kSite.Raise(err::kObjectRequired, "The hasher was moved from.");
    Digest digest{};
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(context_.get(), digest.data(), &length) != 1 || length != kDigestSize) {
      RaiseOpenSsl(kSite, "EVP_DigestFinal_ex");
    }
    return digest;
  });
}

std::string Sha256Hasher::HexDigest() const { return ToHex(Finish()); }

void Sha256Hasher::Reset() {
  static constexpr ErrorSite kSite{"VDTGRI955NEGYOEK0JHP626E1", "Sha256Hasher.Reset"};
  kSite.Guard([&] {
    if (!context_) {
      context_.reset(EVP_MD_CTX_new());
      if (!context_) RaiseOpenSsl(kSite, "EVP_MD_CTX_new");
    }
    Init(kSite, context_.get());
  });
}

std::string Sha256Hasher::HexOf(std::span<const uint8_t> bytes) {
  Sha256Hasher hasher;
  hasher.Update(bytes);
  return hasher.HexDigest();
}

std::string Sha256Hasher::HexOfUtf16Le(std::u16string_view text) {
  Sha256Hasher hasher;
  hasher.UpdateUtf16Le(text);
  return hasher.HexDigest();
}

std::string Sha256Hasher::ToHex(std::span<const uint8_t> bytes, bool upperCase) {
  static constexpr ErrorSite kSite{"9P6OE4C8I1RXGMHPUVACE0FLT", "Sha256Hasher.ToHex"};
  return kSite.Guard([&] {
    const char* digits = upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string hex(bytes.size() * 2, '0');
    for (size_t i = 0; i < bytes.size(); ++i) {
      hex[2 * i] = digits[bytes[i] >> 4];
      hex[2 * i + 1] = digits[bytes[i] & 0x0F];
    }
    return hex;
  });
}

}  // namespace prvdrinfo
