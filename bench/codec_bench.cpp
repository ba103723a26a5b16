// Content identifiers and the byte codec over column definitions, each beside its floor:
//  - ContentId of one stored column and of a set of 50, beside SHA-256 of the same
//    content string (its UTF-16LE bytes, prepared outside the loop) hashed once;
//  - Serialize and Deserialize of 1,000 stored columns, beside libcbor writing the same
//    bytes with its streaming encoder and reading them with its streaming decoder
//    (nested documents inside byte strings are written and read the same way);
//  - Deserialize of a typical view beside libcbor reading the same bytes, and the heap a
//    loaded view keeps beside its stored bytes.
// scripts/bench.sh pairs each with its floor (bench/goals.tsv).
#include <benchmark/benchmark.h>
#include <cbor.h>
#include <malloc.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "foundation/internal/sha256.h"
#include "prvdrinfo/columns/column_def_stored.h"
#include "prvdrinfo/columns/column_defs.h"
#include "prvdrinfo/foundation/content_source.h"
#include "prvdrinfo/views/provider_view.h"
#include "support/cbor_floor.h"
#include "support/typical_view.h"

namespace {

using namespace prvdrinfo;

std::shared_ptr<CColumnDefStored> MakeColumn(int i) {
  auto column = std::make_shared<CColumnDefStored>();
  char guid[40];
  std::snprintf(guid, sizeof guid, "{6F9619FF-8B86-D011-B42D-%012d}", i);
  column->SetGuid(guid);
  column->SetDefaultCaption(1033, "Column caption " + std::to_string(i));
  column->SetDescription("What column " + std::to_string(i) + " holds, in a sentence or so.");
  column->SetIdentifier("column_" + std::to_string(i));
  column->SetProviderGuid("{0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9}");
  column->SetGroupKey(i % 3 == 0 ? "Dates" : "");
  column->SetIsPopular(i % 2 == 0);
  return column;
}

std::shared_ptr<CColumnDefs> MakeColumns(int count) {
  auto columns = std::make_shared<CColumnDefs>();
  for (int i = 0; i < count; ++i) columns->AddExisting(MakeColumn(i));
  return columns;
}

void ContentIdOf(benchmark::State& state, const IContentSource& source) {
  for (auto _ : state) benchmark::DoNotOptimize(content::ContentId(source));
}

void ContentIdFloorOf(benchmark::State& state, const IContentSource& source) {
  const std::u16string text = content::ContentString(source);
  for (auto _ : state) benchmark::DoNotOptimize(Sha256Hasher::HexOfUtf16Le(text));
  state.counters["bytes"] = static_cast<double>(text.size() * 2);
}

void BM_ContentId_Column(benchmark::State& state) { ContentIdOf(state, *MakeColumn(1)); }
void BM_ContentIdFloor_Column(benchmark::State& state) { ContentIdFloorOf(state, *MakeColumn(1)); }
void BM_ContentId_Columns50(benchmark::State& state) { ContentIdOf(state, *MakeColumns(50)); }
void BM_ContentIdFloor_Columns50(benchmark::State& state) {
  ContentIdFloorOf(state, *MakeColumns(50));
}
BENCHMARK(BM_ContentId_Column);
BENCHMARK(BM_ContentIdFloor_Column);
BENCHMARK(BM_ContentId_Columns50);
BENCHMARK(BM_ContentIdFloor_Columns50);

// ---------------------------------------------------------------------------------------
// The libcbor floor. The bytes are first read into a list of items; a byte string that
// holds a document of its own keeps that document's items, so the floor writes and
// reads every level the library does.

struct Item {
  enum Kind { UInt, NegInt, Bytes, Text, Array, Map, Tag, Float, Bool, Null, Undef } kind = Null;
  uint64_t value = 0;
  double real = 0;
  std::string data;
  std::vector<Item> nested;  // the document inside a byte string
};

struct Collector {
  std::vector<Item>* items;
  void Add(Item item) { items->push_back(std::move(item)); }
};

std::vector<Item> ParseItems(const uint8_t* data, size_t size);

cbor_callbacks ParseCallbacks() {
  cbor_callbacks cb = cbor_empty_callbacks;
  auto add = [](void* c, Item::Kind kind, uint64_t v) {
    Item item;
    item.kind = kind;
    item.value = v;
    static_cast<Collector*>(c)->Add(std::move(item));
  };
  static auto addFn = add;
  cb.uint8 = [](void* c, uint8_t v) { addFn(c, Item::UInt, v); };
  cb.uint16 = [](void* c, uint16_t v) { addFn(c, Item::UInt, v); };
  cb.uint32 = [](void* c, uint32_t v) { addFn(c, Item::UInt, v); };
  cb.uint64 = [](void* c, uint64_t v) { addFn(c, Item::UInt, v); };
  cb.negint8 = [](void* c, uint8_t v) { addFn(c, Item::NegInt, v); };
  cb.negint16 = [](void* c, uint16_t v) { addFn(c, Item::NegInt, v); };
  cb.negint32 = [](void* c, uint32_t v) { addFn(c, Item::NegInt, v); };
  cb.negint64 = [](void* c, uint64_t v) { addFn(c, Item::NegInt, v); };
  cb.array_start = [](void* c, size_t n) { addFn(c, Item::Array, n); };
  cb.map_start = [](void* c, size_t n) { addFn(c, Item::Map, n); };
  cb.tag = [](void* c, uint64_t t) { addFn(c, Item::Tag, t); };
  cb.null = [](void* c) { addFn(c, Item::Null, 0); };
  cb.undefined = [](void* c) { addFn(c, Item::Undef, 0); };
  cb.boolean = [](void* c, bool v) { addFn(c, Item::Bool, v ? 1 : 0); };
  cb.float8 = [](void* c, double v) {
    Item item;
    item.kind = Item::Float;
    item.real = v;
    static_cast<Collector*>(c)->Add(std::move(item));
  };
  cb.string = [](void* c, cbor_data d, size_t n) {
    Item item;
    item.kind = Item::Text;
    item.data.assign(reinterpret_cast<const char*>(d), n);
    static_cast<Collector*>(c)->Add(std::move(item));
  };
  cb.byte_string = [](void* c, cbor_data d, size_t n) {
    Item item;
    item.kind = Item::Bytes;
    if (n >= 3 && d[0] == 0xD9 && d[1] == 0xD9 && d[2] == 0xF7) {
      item.nested = ParseItems(d, n);
    } else {
      item.data.assign(reinterpret_cast<const char*>(d), n);
    }
    static_cast<Collector*>(c)->Add(std::move(item));
  };
  return cb;
}

std::vector<Item> ParseItems(const uint8_t* data, size_t size) {
  static const cbor_callbacks callbacks = ParseCallbacks();
  std::vector<Item> items;
  Collector collector{&items};
  size_t pos = 0;
  while (pos < size) {
    const cbor_decoder_result r =
        cbor_stream_decode(data + pos, size - pos, &callbacks, &collector);
    if (r.status != CBOR_DECODER_FINISHED) std::abort();
    pos += r.read;
  }
  return items;
}

void Put(std::vector<uint8_t>& out, size_t written, const unsigned char* buf) {
  out.insert(out.end(), buf, buf + written);
}

void WriteItems(const std::vector<Item>& items, std::vector<uint8_t>& out) {
  unsigned char buf[16];
  for (const Item& item : items) {
    switch (item.kind) {
      case Item::UInt: Put(out, cbor_encode_uint(item.value, buf, sizeof buf), buf); break;
      case Item::NegInt: Put(out, cbor_encode_negint(item.value, buf, sizeof buf), buf); break;
      case Item::Array: Put(out, cbor_encode_array_start(item.value, buf, sizeof buf), buf); break;
      case Item::Map: Put(out, cbor_encode_map_start(item.value, buf, sizeof buf), buf); break;
      case Item::Tag: Put(out, cbor_encode_tag(item.value, buf, sizeof buf), buf); break;
      case Item::Float: Put(out, cbor_encode_double(item.real, buf, sizeof buf), buf); break;
      case Item::Bool: Put(out, cbor_encode_bool(item.value != 0, buf, sizeof buf), buf); break;
      case Item::Null: Put(out, cbor_encode_null(buf, sizeof buf), buf); break;
      case Item::Undef: Put(out, cbor_encode_undef(buf, sizeof buf), buf); break;
      case Item::Text:
        Put(out, cbor_encode_string_start(item.data.size(), buf, sizeof buf), buf);
        out.insert(out.end(), item.data.begin(), item.data.end());
        break;
      case Item::Bytes:
        if (!item.nested.empty()) {
          std::vector<uint8_t> inner;
          WriteItems(item.nested, inner);
          Put(out, cbor_encode_bytestring_start(inner.size(), buf, sizeof buf), buf);
          out.insert(out.end(), inner.begin(), inner.end());
        } else {
          Put(out, cbor_encode_bytestring_start(item.data.size(), buf, sizeof buf), buf);
          out.insert(out.end(), item.data.begin(), item.data.end());
        }
        break;
    }
  }
}

constexpr int kLargeSet = 1000;

void BM_Serialize_Columns1000(benchmark::State& state) {
  const auto columns = MakeColumns(kLargeSet);
  size_t size = 0;
  for (auto _ : state) {
    const Bytes bytes = columns->Serialize();
    size = bytes.size();
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(size));
}

void BM_SerializeFloor_Columns1000(benchmark::State& state) {
  const Bytes bytes = MakeColumns(kLargeSet)->Serialize();
  const std::vector<Item> items = ParseItems(bytes.data(), bytes.size());
  for (auto _ : state) {
    std::vector<uint8_t> out;
    WriteItems(items, out);
    if (out != bytes) state.SkipWithError("the floor wrote other bytes");
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}

void BM_Deserialize_Columns1000(benchmark::State& state) {
  const Bytes bytes = MakeColumns(kLargeSet)->Serialize();
  for (auto _ : state) {
    CColumnDefs loaded;
    loaded.Deserialize(bytes);
    benchmark::DoNotOptimize(loaded.Count());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}

void BM_DeserializeFloor_Columns1000(benchmark::State& state) {
  const Bytes bytes = MakeColumns(kLargeSet)->Serialize();
  for (auto _ : state) {
    bench::CborReadState read;
    bench::CborStreamRead(bytes.data(), bytes.size(), read);
    benchmark::DoNotOptimize(read.items);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}

BENCHMARK(BM_Serialize_Columns1000);
BENCHMARK(BM_SerializeFloor_Columns1000);
BENCHMARK(BM_Deserialize_Columns1000);
BENCHMARK(BM_DeserializeFloor_Columns1000);

// A typical view (bench/support/typical_view.h), as a host loads it from a views file.
Bytes TypicalViewBytes() {
  return bench::TypicalView("{0E6B5C3A-1F2D-4E8B-9A7C-5D4E3F2A1B0C}", "Typical view",
                            "6F9619FF-8B86-D011-B42D-00C04FC96401")
      ->Serialize();
}

void BM_Deserialize_View(benchmark::State& state) {
  const Bytes bytes = TypicalViewBytes();
  for (auto _ : state) {
    CProviderView loaded;
    loaded.Deserialize(bytes);
    benchmark::DoNotOptimize(loaded.Columns()->Count());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}

void BM_DeserializeFloor_View(benchmark::State& state) {
  const Bytes bytes = TypicalViewBytes();
  for (auto _ : state) {
    bench::CborReadState read;
    bench::CborStreamRead(bytes.data(), bytes.size(), read);
    benchmark::DoNotOptimize(read.items);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}

// What a loaded view keeps on the heap, beside its stored bytes: 1,000 views loaded and
// held, the heap in use (malloc's own count, block overheads included) before and after.
void BM_LoadedViewHeap(benchmark::State& state) {
  constexpr int kViews = 1000;
  const Bytes bytes = TypicalViewBytes();
  double heap = 0;
  for (auto _ : state) {
    std::vector<std::shared_ptr<CProviderView>> views;
    views.reserve(kViews);
    const size_t before = mallinfo2().uordblks;
    for (int i = 0; i < kViews; ++i) {
      auto view = std::make_shared<CProviderView>();
      view->Deserialize(bytes);
      views.push_back(std::move(view));
    }
    heap = static_cast<double>(mallinfo2().uordblks - before) / kViews;
    benchmark::DoNotOptimize(views.data());
  }
  state.counters["heap"] = heap;
  state.counters["stored"] = static_cast<double>(bytes.size());
}

BENCHMARK(BM_Deserialize_View);
BENCHMARK(BM_DeserializeFloor_View);
BENCHMARK(BM_LoadedViewHeap)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
