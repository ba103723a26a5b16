#include "support/cbor_floor.h"

#include <cbor.h>

#include <cstdlib>

namespace prvdrinfo::bench {

namespace {

cbor_callbacks ReadCallbacks() {
  cbor_callbacks cb = cbor_empty_callbacks;
  cb.uint8 = [](void* c, uint8_t) { ++static_cast<CborReadState*>(c)->items; };
  cb.uint16 = [](void* c, uint16_t) { ++static_cast<CborReadState*>(c)->items; };
  cb.uint32 = [](void* c, uint32_t) { ++static_cast<CborReadState*>(c)->items; };
  cb.uint64 = [](void* c, uint64_t) { ++static_cast<CborReadState*>(c)->items; };
  cb.negint8 = [](void* c, uint8_t) { ++static_cast<CborReadState*>(c)->items; };
  cb.negint16 = [](void* c, uint16_t) { ++static_cast<CborReadState*>(c)->items; };
  cb.negint32 = [](void* c, uint32_t) { ++static_cast<CborReadState*>(c)->items; };
  cb.negint64 = [](void* c, uint64_t) { ++static_cast<CborReadState*>(c)->items; };
  cb.array_start = [](void* c, size_t) { ++static_cast<CborReadState*>(c)->items; };
  cb.map_start = [](void* c, size_t) { ++static_cast<CborReadState*>(c)->items; };
  cb.tag = [](void* c, uint64_t) { ++static_cast<CborReadState*>(c)->items; };
  cb.null = [](void* c) { ++static_cast<CborReadState*>(c)->items; };
  cb.undefined = [](void* c) { ++static_cast<CborReadState*>(c)->items; };
  cb.boolean = [](void* c, bool) { ++static_cast<CborReadState*>(c)->items; };
  cb.float8 = [](void* c, double) { ++static_cast<CborReadState*>(c)->items; };
  cb.string = [](void* c, cbor_data d, size_t n) {
    auto* s = static_cast<CborReadState*>(c);
    ++s->items;
    s->last.assign(reinterpret_cast<const char*>(d), n);
  };
  cb.byte_string = [](void* c, cbor_data d, size_t n) {
    auto* s = static_cast<CborReadState*>(c);
    ++s->items;
    if (n >= 3 && d[0] == 0xD9 && d[1] == 0xD9 && d[2] == 0xF7) {
      CborStreamRead(d, n, *s);
    } else {
      s->last.assign(reinterpret_cast<const char*>(d), n);
    }
  };
  return cb;
}

}  // namespace

void CborStreamRead(const uint8_t* data, size_t size, CborReadState& state) {
  static const cbor_callbacks callbacks = ReadCallbacks();
  size_t pos = 0;
  while (pos < size) {
    const cbor_decoder_result r = cbor_stream_decode(data + pos, size - pos, &callbacks, &state);
    if (r.status != CBOR_DECODER_FINISHED) std::abort();
    pos += r.read;
  }
}

}  // namespace prvdrinfo::bench
