// Key lookups and insertions of KeyedCollection against std::unordered_map holding the
// same folded keys, the cost floor of a hashed case-insensitive lookup.
#include <benchmark/benchmark.h>

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

void BM_KeyedCollection_Exists(benchmark::State& state) {
  const auto keys = MakeKeys(state.range(0));
  const auto probes = Lowered(keys);
  KeyedCollection c;
  for (size_t i = 0; i < keys.size(); ++i) c.Add(static_cast<int32_t>(i), keys[i]);
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(c.Exists(probes[i]));
    if (++i == probes.size()) i = 0;
  }
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
  const auto keys = MakeKeys(state.range(0));
  const auto probes = Lowered(keys);
  KeyedCollection c;
  for (size_t i = 0; i < keys.size(); ++i) c.Add(static_cast<int32_t>(i), keys[i]);
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(c.Item(probes[i]));
    if (++i == probes.size()) i = 0;
  }
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

}  // namespace

BENCHMARK_MAIN();
