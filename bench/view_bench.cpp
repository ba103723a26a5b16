// Content identifiers of a full view (50 columns, 5 sort keys, 3 filter groups of three
// criteria, 2 notifiers), each beside its floor: the view's content string (its UTF-16LE
// bytes, prepared outside the loop) hashed once with SHA-256, as the column floors in
// codec_bench.cpp are. ContentIdForAutoSave digests every visible column and each part
// on its own and then the digests, so its floor is the same one-pass hash.
// scripts/bench.sh pairs each with its floor (bench/goals.tsv).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "foundation/internal/sha256.h"
#include "prvdrinfo/foundation/content_source.h"
#include "prvdrinfo/views/provider_view.h"

namespace {

using namespace prvdrinfo;

std::string ColumnGuid(int i) {
  char guid[40];
  std::snprintf(guid, sizeof guid, "{6F9619FF-8B86-D011-B42D-%012d}", i);
  return guid;
}

std::shared_ptr<CProviderView> MakeView() {
  auto view = std::make_shared<CProviderView>();
  view->SetGuid("{0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9}");
  view->SetCaption("Open items by due date");
  view->SetProviderGuid("{11111111-2222-3333-4444-555555555555}");
  view->SetUpdateCounter(12);
  const auto columns = view->Columns();
  columns->RemoveAll();
  for (int i = 0; i < 50; ++i) {
    const auto column = columns->Add(ColumnGuid(i));
    column->SetCaption("Column caption " + std::to_string(i));
    column->SetWidthTwips(1200 + 15 * i);
    column->SetVisible(i % 5 != 0);
  }
  for (int i = 0; i < 5; ++i) view->SortOrder()->Add(ColumnGuid(i * 9 + 1));
  for (int g = 0; g < 3; ++g) {
    const auto group = view->FilterGroups()->Add();
    group->SetLogicalOperator(g == 2 ? logicop_Or : logicop_And);
    for (int i = 0; i < 3; ++i) {
      group->Add2(ColumnGuid(g * 3 + i), operator_GreaterThan, std::to_string(100 * g + i),
                  logicop_And);
    }
  }
  view->Notifiers()->Add(viewschedid_WeeklyMonday)->SetMessage("Due this week");
  view->Notifiers()->Add(viewschedid_MonthlyLast)->SetMessage("Month end");
  return view;
}

void BM_ContentId_View(benchmark::State& state) {
  const auto view = MakeView();
  for (auto _ : state) benchmark::DoNotOptimize(view->ContentId());
}

void BM_ContentIdForAutoSave_View(benchmark::State& state) {
  const auto view = MakeView();
  for (auto _ : state) benchmark::DoNotOptimize(view->ContentIdForAutoSave());
}

void BM_ContentIdFloor_View(benchmark::State& state) {
  const std::u16string text = MakeView()->ContentString();
  for (auto _ : state) benchmark::DoNotOptimize(Sha256Hasher::HexOfUtf16Le(text));
  state.counters["bytes"] = static_cast<double>(text.size() * 2);
}

BENCHMARK(BM_ContentId_View);
BENCHMARK(BM_ContentIdForAutoSave_View);
BENCHMARK(BM_ContentIdFloor_View);

}  // namespace

BENCHMARK_MAIN();
