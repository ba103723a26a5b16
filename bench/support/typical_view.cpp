#include "support/typical_view.h"

#include <cstdio>

namespace prvdrinfo::bench {

std::string ColumnGuid(int i) {
  char text[40];
  std::snprintf(text, sizeof text, "{C0000000-0000-4000-8000-%012d}", i);
  return text;
}

std::shared_ptr<CProviderView> TypicalView(const std::string& guid, const std::string& caption,
                                           const std::string& provider) {
  auto view = CProviderViewFactory().CreateProviderView();
  view->SetGuid(guid);
  view->SetCaption(caption);
  view->SetProviderGuid(provider);
  for (int i = 0; i < 20; ++i) view->Columns()->Add(ColumnGuid(i))->SetWidthTwips(900 + 15 * i);
  for (int i = 0; i < 3; ++i) view->SortOrder()->Add(ColumnGuid(i * 5));
  for (int g = 0; g < 2; ++g) {
    auto group = view->FilterGroups()->Add();
    group->Add(ColumnGuid(g), "criteria " + std::to_string(g), logicop_And);
    group->Add(ColumnGuid(g + 10), "other " + std::to_string(g), logicop_Or);
  }
  return view;
}

}  // namespace prvdrinfo::bench
