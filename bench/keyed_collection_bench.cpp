// Key lookups and insertions of KeyedCollection against std::unordered_map holding the
// same folded keys, the cost floor of a hashed case-insensitive lookup; edits at the
// first, middle and last position, whose cost should not grow with the collection.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "prvdrinfo/foundation/unicode.h"
#include "prvdrinfo/foundation/keyed_collection.h"

namespace {

using prvdrinfo::KeyedCollection;
using prvdrinfo::Variant;

std::vector<std::string> MakeKeys(int64_t n) {
  std::vector<std::string> keys;
  keys.reserve(static_cast<size_t>(n));
  for (int64_t i = 0; i < n; ++i) {
    keys.push_back("{6F9619FF-8B86-D011-B42D-" + std::to_string(1000000000000 + i * 7919) + "}");
  }
  return keys;
}

// Looked up in another letter case than they were added in.
std::vector<std::string> Lowered(const std::vector<std::string>& keys) {
  std::vector<std::string> out;
  for (const auto& key : keys) out.push_back(prvdrinfo::unicode::FoldCase(key));
  return out;
}

KeyedCollection Filled(const std::vector<std::string>& keys) {
  KeyedCollection c;
  for (size_t i = 0; i < keys.size(); ++i) c.Add(static_cast<int32_t>(i), keys[i]);
  return c;
}

// One lookup of a key per iteration, through every key in turn.
template <class Lookup>
void LookUpKeys(benchmark::State& state, Lookup lookup) {
  const auto keys = MakeKeys(state.range(0));
  const auto probes = Lowered(keys);
  const KeyedCollection c = Filled(keys);
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(lookup(c, probes[i]));
    if (++i == probes.size()) i = 0;
  }
}

void BM_KeyedCollection_Exists(benchmark::State& state) {
  LookUpKeys(state, [](const KeyedCollection& c, const std::string& key) { return c.Exists(key); });
}
BENCHMARK(BM_KeyedCollection_Exists)->Arg(100)->Arg(10000);

void BM_UnorderedMap_Exists(benchmark::State& state) {
  const auto keys = MakeKeys(state.range(0));
  const auto probes = Lowered(keys);
  std::unordered_map<std::string, Variant> map;
  for (size_t i = 0; i < keys.size(); ++i) {
    map.emplace(prvdrinfo::unicode::FoldCase(keys[i]), static_cast<int32_t>(i));
  }
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(map.contains(prvdrinfo::unicode::FoldCase(probes[i])));
    if (++i == probes.size()) i = 0;
  }
}
BENCHMARK(BM_UnorderedMap_Exists)->Arg(100)->Arg(10000);

void BM_KeyedCollection_Item(benchmark::State& state) {
  LookUpKeys(state, [](const KeyedCollection& c, const std::string& key) { return c.Item(key); });
}
BENCHMARK(BM_KeyedCollection_Item)->Arg(100)->Arg(10000);

void BM_UnorderedMap_Item(benchmark::State& state) {
  const auto keys = MakeKeys(state.range(0));
  const auto probes = Lowered(keys);
  std::unordered_map<std::string, Variant> map;
  for (size_t i = 0; i < keys.size(); ++i) {
    map.emplace(prvdrinfo::unicode::FoldCase(keys[i]), static_cast<int32_t>(i));
  }
  size_t i = 0;
  for (auto _ : state) {
    Variant copy = map.at(prvdrinfo::unicode::FoldCase(probes[i]));
    benchmark::DoNotOptimize(copy);
    if (++i == probes.size()) i = 0;
  }
}
BENCHMARK(BM_UnorderedMap_Item)->Arg(100)->Arg(10000);

// Filling: appends, then the same number of keys each inserted at the middle position.
void BM_KeyedCollection_Fill(benchmark::State& state) {
  const auto keys = MakeKeys(state.range(0));
  for (auto _ : state) {
    KeyedCollection c;
    for (size_t i = 0; i < keys.size(); ++i) c.Add(static_cast<int32_t>(i), keys[i]);
    benchmark::DoNotOptimize(c.Count());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_KeyedCollection_Fill)->Arg(10000);

void BM_KeyedCollection_FillInMiddle(benchmark::State& state) {
  const auto keys = MakeKeys(state.range(0));
  for (auto _ : state) {
    KeyedCollection c;
    c.Add(0, "first");
    for (size_t i = 0; i < keys.size(); ++i) {
      c.AddBefore(static_cast<int32_t>(i), keys[i], c.Count() / 2);
    }
    benchmark::DoNotOptimize(c.Count());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_KeyedCollection_FillInMiddle)->Arg(10000);

void BM_UnorderedMap_Fill(benchmark::State& state) {
  const auto keys = MakeKeys(state.range(0));
  for (auto _ : state) {
    std::unordered_map<std::string, Variant> map;
    for (size_t i = 0; i < keys.size(); ++i) {
      map.emplace(prvdrinfo::unicode::FoldCase(keys[i]), static_cast<int32_t>(i));
    }
    benchmark::DoNotOptimize(map.size());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_UnorderedMap_Fill)->Arg(10000);

// Position lookups the way a loop over 0..Count-1 makes them, one per iteration.
void BM_KeyedItemByIndex(benchmark::State& state) {
  const KeyedCollection c = Filled(MakeKeys(state.range(0)));
  int32_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(c.ItemByIndex(i));
    if (++i == c.Count()) i = 0;
  }
}
BENCHMARK(BM_KeyedItemByIndex)->Arg(100)->Arg(10000)->Arg(100000);

void BM_KeyedIndexOfKey(benchmark::State& state) {
  LookUpKeys(state,
             [](const KeyedCollection& c, const std::string& key) { return c.IndexOfKey(key); });
}
BENCHMARK(BM_KeyedIndexOfKey)->Arg(100)->Arg(10000);

enum class Where { kFirst, kMiddle, kLast };

int32_t PositionOf(Where where, int32_t count) {
  switch (where) {
    case Where::kFirst: return 0;
    case Where::kMiddle: return count / 2;
    case Where::kLast: return count - 1;
  }
  return 0;
}

// Edits run in batches; between batches, untimed, the collection gets back to its size
// through appends or removals at the end, which are cheap however positions are kept.
// The batch is the same at every size, so the pauses weigh alike on each.
constexpr int kEditBatch = 100;

struct EditBench {
  explicit EditBench(int64_t n) : c(Filled(MakeKeys(n))) { Refill(); }
  void Refill() {
    fresh.clear();
    for (int i = 0; i < kEditBatch; ++i) fresh.push_back("{fresh-" + std::to_string(next++) + "}");
  }
  KeyedCollection c;
  std::vector<std::string> fresh;  // keys not in the collection
  int64_t next = 0;
};

void RemoveAt(benchmark::State& state, Where where) {
  EditBench bench(state.range(0));
  int done = 0;
  for (auto _ : state) {
    bench.c.RemoveByIndex(PositionOf(where, bench.c.Count()));
    if (++done == kEditBatch) {
      state.PauseTiming();
      for (const auto& key : bench.fresh) bench.c.Add(1, key);
      bench.Refill();
      done = 0;
      state.ResumeTiming();
    }
  }
}

void InsertAt(benchmark::State& state, Where where) {
  EditBench bench(state.range(0));
  int done = 0;
  for (auto _ : state) {
    const std::string& key = bench.fresh[static_cast<size_t>(done)];
    if (where == Where::kLast) {
      bench.c.AddAfter(1, key, bench.c.Count() - 1);
    } else {
      bench.c.AddBefore(1, key, PositionOf(where, bench.c.Count()));
    }
    if (++done == kEditBatch) {
      state.PauseTiming();
      for (int i = 0; i < kEditBatch; ++i) bench.c.RemoveByIndex(bench.c.Count() - 1);
      bench.Refill();
      done = 0;
      state.ResumeTiming();
    }
  }
}

void BM_KeyedRemoveFirst(benchmark::State& state) { RemoveAt(state, Where::kFirst); }
void BM_KeyedRemoveMiddle(benchmark::State& state) { RemoveAt(state, Where::kMiddle); }
void BM_KeyedRemoveLast(benchmark::State& state) { RemoveAt(state, Where::kLast); }
void BM_KeyedInsertFirst(benchmark::State& state) { InsertAt(state, Where::kFirst); }
void BM_KeyedInsertMiddle(benchmark::State& state) { InsertAt(state, Where::kMiddle); }
void BM_KeyedInsertLast(benchmark::State& state) { InsertAt(state, Where::kLast); }
BENCHMARK(BM_KeyedRemoveFirst)->Arg(1000)->Arg(100000);
BENCHMARK(BM_KeyedRemoveMiddle)->Arg(1000)->Arg(100000);
BENCHMARK(BM_KeyedRemoveLast)->Arg(1000)->Arg(100000);
BENCHMARK(BM_KeyedInsertFirst)->Arg(1000)->Arg(100000);
BENCHMARK(BM_KeyedInsertMiddle)->Arg(1000)->Arg(100000);
BENCHMARK(BM_KeyedInsertLast)->Arg(1000)->Arg(100000);

}  // namespace

BENCHMARK_MAIN();
