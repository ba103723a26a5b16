// Persistence and content identity of a typical object, each beside its floor:
//  - Serialize + Deserialize of a bag with 40 mixed keys and one nested object;
//  - ContentId of that object beside plain SHA-256 over the same bytes (the ratio is
//    printed at the end: what rendering the content string adds to the hash itself);
//  - CStringBuffer appends beside std::u16string +=. Each iteration builds a fresh
//    buffer, so these two also measure the allocator: where page faults are dear (some
//    virtual machines) glibc's heap trimming can dominate; MALLOC_TRIM_THRESHOLD_ set
//    high shows the buffers' own cost.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "foundation/internal/content_parts.h"
#include "foundation/internal/sha256.h"
#include "prvdrinfo/foundation/content_source.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/services/string_buffer.h"

namespace {

using namespace prvdrinfo;

class BenchNested : public CPersistable {
 public:
  std::string ClassName() const override { return "BenchNested"; }
  void Class_WriteProperties(PropertyBag& bag) const override {
    bag.WriteProperty("Caption", caption);
    bag.WriteProperty("Order", order, int32_t{0});
  }
  void Class_ReadProperties(const PropertyBag& bag) override {
    caption = bag.ReadText("Caption");
    order = bag.ReadLong("Order");
  }
  std::string caption = "Nested caption";
  int32_t order = 7;
};

// 40 keys of every value type a class writes, and a nested object.
class BenchRecord : public CPersistable, public CContentSource {
 public:
  BenchRecord() : nested(std::make_shared<BenchNested>()) {
    for (int i = 0; i < 40; ++i) {
      const std::string key = "Key" + std::to_string(i);
      switch (i % 8) {
        case 0:
          values.emplace_back(
              key, Variant("{6F9619FF-8B86-D011-B42D-00C04FC964" + std::to_string(10 + i) + "}"));
          break;
        case 1: values.emplace_back(key, Variant(int32_t{100000 + i})); break;
        case 2: values.emplace_back(key, Variant(int16_t(i))); break;
        case 3: values.emplace_back(key, Variant(i % 3 == 0)); break;
        case 4: values.emplace_back(key, Variant(1.0 / (i + 1))); break;
        case 5: values.emplace_back(key, Variant(Currency::FromScaled(1234567 + i))); break;
        case 6: values.emplace_back(key, Variant::FromDate(45000.5 + i)); break;
        default: values.emplace_back(key, Variant(Bytes(24, static_cast<uint8_t>(i)))); break;
      }
    }
  }
  std::string ClassName() const override { return "BenchRecord"; }
  void Class_WriteProperties(PropertyBag& bag) const override {
    for (const auto& [key, value] : values) bag.WriteProperty(key, value);
    bag.WriteProperty("Nested", nested);
  }
  void Class_ReadProperties(const PropertyBag& bag) override {
    for (auto& [key, value] : values) value = bag.ReadProperty(key);
    nested = bag.ReadObject<BenchNested>("Nested");
  }
  void AppendContentString3(StringBuilder& builder) const override {
    PropertyBag bag;
    Class_WriteProperties(bag);
    content::AppendBag(builder, bag);
  }

  std::vector<std::pair<std::string, Variant>> values;
  std::shared_ptr<BenchNested> nested;
};

void Register() {
  static const bool done = [] {
    ClassRegistry::Register<BenchNested>("BenchNested");
    ClassRegistry::Register<BenchRecord>("BenchRecord");
    return true;
  }();
  (void)done;
}

void BM_SerializeDeserialize(benchmark::State& state) {
  Register();
  const BenchRecord record;
  BenchRecord loaded;
  size_t bytes = 0;
  for (auto _ : state) {
    const Bytes serialized = record.Serialize();
    loaded.Deserialize(serialized);
    bytes = serialized.size();
    benchmark::DoNotOptimize(loaded.nested);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_SerializeDeserialize);

void BM_ContentId(benchmark::State& state) {
  Register();
  const BenchRecord record;
  for (auto _ : state) benchmark::DoNotOptimize(record.ContentId());
}
BENCHMARK(BM_ContentId);

// Where ContentId's time goes: rendering the content string (the save routine and the
// bag's encoding) without the hash.
void BM_ContentString(benchmark::State& state) {
  Register();
  const BenchRecord record;
  for (auto _ : state) benchmark::DoNotOptimize(record.ContentString());
}
BENCHMARK(BM_ContentString);

// The floor: the hash alone over the bytes the content identifier digests.
void BM_Sha256SameBytes(benchmark::State& state) {
  Register();
  const BenchRecord record;
  const Bytes serialized = record.Serialize();
  for (auto _ : state) benchmark::DoNotOptimize(Sha256Hasher::HexOf(serialized));
}
BENCHMARK(BM_Sha256SameBytes);

constexpr int64_t kPieces = 4096;

void BM_StringBuffer_Append(benchmark::State& state) {
  const std::u16string piece(static_cast<size_t>(state.range(0)), u'x');
  for (auto _ : state) {
    CStringBuffer buffer;
    for (int64_t i = 0; i < kPieces; ++i) buffer.Append(piece);
    benchmark::DoNotOptimize(buffer.ToString());
  }
  state.SetBytesProcessed(state.iterations() * kPieces * state.range(0) * 2);
}
BENCHMARK(BM_StringBuffer_Append)->Arg(8)->Arg(64)->Arg(512);

void BM_U16String_Append(benchmark::State& state) {
  const std::u16string piece(static_cast<size_t>(state.range(0)), u'x');
  for (auto _ : state) {
    std::u16string text;
    for (int64_t i = 0; i < kPieces; ++i) text += piece;
    benchmark::DoNotOptimize(std::u16string(text));
  }
  state.SetBytesProcessed(state.iterations() * kPieces * state.range(0) * 2);
}
BENCHMARK(BM_U16String_Append)->Arg(8)->Arg(64)->Arg(512);

// Keeps the CPU time per iteration of every run for the closing ratio.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.iterations > 0) {
        seconds[run.benchmark_name()] =
            run.cpu_accumulated_time / static_cast<double>(run.iterations);
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> seconds;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  const auto contentId = reporter.seconds.find("BM_ContentId");
  const auto sha = reporter.seconds.find("BM_Sha256SameBytes");
  if (contentId != reporter.seconds.end() && sha != reporter.seconds.end() && sha->second > 0) {
    std::printf("ContentId / SHA-256 ratio: %.2f\n", contentId->second / sha->second);
  }
  return 0;
}
