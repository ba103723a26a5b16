#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace prvdrinfo::bench {

// libcbor's streaming decoder reading bytes as a decoder that keeps what it reads would:
// every item visited, texts copied out, a byte string that holds a document of its own
// read in turn. The floor of every decode.
struct CborReadState {
  size_t items = 0;
  std::string last;
};
void CborStreamRead(const uint8_t* data, size_t size, CborReadState& state);

}  // namespace prvdrinfo::bench
