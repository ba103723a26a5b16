#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "foundation/internal/sha256.h"
#include "prvdrinfo/foundation/variant.h"

namespace prvdrinfo {

// A hashing object: pieces fed one after another hash as their concatenation; the digest
// can be read at any point and more pieces fed after it.
class CHasher {
 public:
  // algorithm "sha-256" (or "sha256"), encoding "hex", both in any case; anything else
  // raises 5.
  CHasher(std::string_view algorithm, std::string_view encoding);

  // A text piece is hashed as its UTF-8 bytes, exactly as given.
  void Update(std::string_view piece);
  void Update(const Bytes& piece);
  // The digest of everything fed so far: 64 upper-case hexadecimal digits.
  std::string Digest() const;
  // Starts over with nothing fed.
  void Reset();

 private:
  Sha256Hasher hasher_;
};

// Supplies the hashing objects of the notifiers' content fingerprints.
class CLibsFactory {
 public:
  std::shared_ptr<CHasher> CreateHasher(std::string_view algorithm = "sha-256",
                                        std::string_view encoding = "hex") const;
};

}  // namespace prvdrinfo
