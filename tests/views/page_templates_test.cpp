#include "prvdrinfo/views/page_templates.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/column_test_support.h"

namespace prvdrinfo {
namespace {

using testing::ErrorOf;
using testing::KeysOf;

class Control : public IObject {};

TEST(PageTemplate, EmptyCaptionIsComposed) {
  struct Case {
    int32_t size;
    int32_t orientation;
    e_PageTemplateType type;
    const char* caption;
  };
  const Case cases[] = {
      {papersize_Letter, paperorient_Portrait, pagetemplate_Standard, "Letter Portrait (Standard)"},
      {papersize_11x17, paperorient_Landscape, pagetemplate_Custom, "11 x 17 Landscape (Custom)"},
      {papersize_Legal, 7, pagetemplate_Standard, "Legal Landscape (Standard)"},
  };
  for (const Case& c : cases) {
    CPageTemplates templates;
    const auto added = templates.AddTemplate("g", c.type, "", c.size, c.orientation);
    EXPECT_EQ(added->Caption(), c.caption);
    added->SetCaption("Mine");
    EXPECT_EQ(added->Caption(), "Mine");
  }
}

TEST(PageTemplate, TypeIsSetOnce) {
  CPageTemplates templates;
  const auto added = templates.AddTemplate("g", pagetemplate_Custom, "", papersize_A4, 0);
  const CError error = ErrorOf([&] { added->SetTemplateType(pagetemplate_Standard); });
  EXPECT_EQ(error.Number(), 5);
  EXPECT_EQ(error.Description(), "Template Type is read-only");
  EXPECT_EQ(added->TemplateType(), pagetemplate_Custom);

  CPageTemplate loaded;
  loaded.Deserialize(added->Serialize());
  EXPECT_EQ(loaded.TemplateType(), pagetemplate_Custom);
  EXPECT_EQ(ErrorOf([&] { loaded.SetTemplateType(pagetemplate_Standard); }).Number(), 5);
}

TEST(PageTemplate, SettersMarkDirtyOnlyOnChange) {
  struct Case {
    const char* name;
    void (*change)(CPageTemplate&);
    bool dirty;
  };
  const Case cases[] = {
      {"Caption", [](CPageTemplate& t) { t.SetCaption("x"); }, true},
      {"Caption case", [](CPageTemplate& t) { t.SetCaption("C"); }, true},
      {"same Caption", [](CPageTemplate& t) { t.SetCaption("c"); }, false},
      {"Guid", [](CPageTemplate& t) { t.SetGuid("h"); }, true},
      {"same Guid", [](CPageTemplate& t) { t.SetGuid("g"); }, false},
      {"PaperSize", [](CPageTemplate& t) { t.SetPaperSize(papersize_A3); }, true},
      {"PaperOrientation", [](CPageTemplate& t) { t.SetPaperOrientation(paperorient_Landscape); },
       true},
      {"same PaperOrientation",
       [](CPageTemplate& t) { t.SetPaperOrientation(paperorient_Portrait); }, false},
  };
  for (const Case& c : cases) {
    CPageTemplate pageTemplate;
    pageTemplate.SetGuid("g");
    pageTemplate.SetCaption("c");
    pageTemplate.SetDirty(false);
    c.change(pageTemplate);
    EXPECT_EQ(pageTemplate.Dirty(), c.dirty) << c.name;
  }
}

TEST(PageTemplate, ControlsAreHeldWeaklyAndNeverPersisted) {
  CPageTemplate pageTemplate;
  auto first = std::make_shared<Control>();
  auto second = std::make_shared<Control>();
  pageTemplate.SetUiControlByViewId(7, first);
  pageTemplate.SetUiControlByViewId(7, second);
  pageTemplate.SetUiControl(first);
  EXPECT_EQ(pageTemplate.UiControlByViewId(7), second);
  EXPECT_EQ(pageTemplate.UiControlByViewId(8), nullptr);
  EXPECT_EQ(pageTemplate.UiControl(), first);
  EXPECT_EQ(KeysOf(pageTemplate.Serialize()),
            (std::vector<std::string>{"Guid", "Type", "PaperSize", "PaperOrientation", "Caption"}));
  second.reset();
  first.reset();
  EXPECT_EQ(pageTemplate.UiControlByViewId(7), nullptr);
  EXPECT_EQ(pageTemplate.UiControl(), nullptr);
}

TEST(PageTemplates, AddTemplateRules) {
  struct Case {
    const char* guid;
    e_PageTemplateType type;
    int32_t size;
    int32_t orientation;
    const char* description;  // "" when it is added
  };
  const Case cases[] = {
      {"", pagetemplate_Custom, papersize_A4, 0,
       "GUID is a required parameter for page templates."},
      {"  \t", pagetemplate_Custom, papersize_A4, 0,
       "GUID is a required parameter for page templates."},
      {"STD", pagetemplate_Custom, papersize_A4, 0, "A template by this GUID already exists."},
      {"new", pagetemplate_Standard, papersize_Letter, 0,
       "A standard template already exists for this paper size and orientation."},
      {"new", pagetemplate_Custom, papersize_Letter, 0, ""},
      {"new", pagetemplate_Standard, papersize_Letter, 1, ""},
      {"new", pagetemplate_Standard, papersize_Legal, 0, ""},
  };
  for (const Case& c : cases) {
    CPageTemplates templates;
    templates.AddTemplate("std", pagetemplate_Standard, "", papersize_Letter, 0);
    templates.ClearDirty();
    if (*c.description) {
      const CError error =
          ErrorOf([&] { templates.AddTemplate(c.guid, c.type, "", c.size, c.orientation); });
      EXPECT_EQ(error.Number(), 5) << c.guid;
      EXPECT_EQ(error.Description(), c.description) << c.guid;
      EXPECT_EQ(templates.Count(), 1);
      EXPECT_FALSE(templates.Dirty());
    } else {
      templates.AddTemplate(c.guid, c.type, "", c.size, c.orientation);
      EXPECT_EQ(templates.Count(), 2);
      EXPECT_TRUE(templates.Dirty());
    }
  }
}

TEST(PageTemplates, RemovalsMarkDirtyAndClearDirtyReachesTemplates) {
  CPageTemplates templates;
  const auto added = templates.AddTemplate("a", pagetemplate_Custom, "", papersize_A4, 0);
  templates.AddTemplate("b", pagetemplate_Custom, "", papersize_A4, 0);
  templates.ClearDirty();
  EXPECT_FALSE(added->Dirty());
  added->SetCaption("x");
  EXPECT_TRUE(templates.Dirty());
  templates.ClearDirty();
  templates.RemoveByGuid("a");
  EXPECT_TRUE(templates.Dirty());
  templates.ClearDirty();
  templates.RemoveByIndex(0);
  EXPECT_TRUE(templates.Dirty());
  EXPECT_EQ(templates.Count(), 0);
}

TEST(PageTemplates, FailingIndexNamesCountAndIndex) {
  CPageTemplates templates;
  templates.AddTemplate("a", pagetemplate_Custom, "", papersize_A4, 0);
  const CError error = ErrorOf([&] { templates.TemplateByIndex(3); });
  EXPECT_EQ(error.Number(), 9);
  EXPECT_NE(error.Context().find("Templates Count: 1"), std::string::npos);
  EXPECT_NE(error.Context().find("p_ZeroBasedIndex: 3"), std::string::npos);
}

TEST(PageTemplates, RoundTrip) {
  const auto templates = CPageTemplatesFactory().CreatePageTemplates();
  templates->AddTemplate("a", pagetemplate_Standard, "Mine", papersize_A4, 1);
  templates->AddTemplate("b", pagetemplate_Custom, "", papersize_Letter, 0);
  CPageTemplates copy;
  copy.Deserialize(templates->Serialize());
  EXPECT_EQ(copy.Serialize(), templates->Serialize());
  EXPECT_EQ(KeysOf(templates->Serialize()), (std::vector<std::string>{"Templates"}));
  EXPECT_EQ(copy.TemplateByGuid("A")->Caption(), "Mine");
  EXPECT_EQ(copy.TemplateByIndex(1)->TemplateType(), pagetemplate_Custom);
}

TEST(CellColors, DefaultsAreNotWritten) {
  const auto colors = CCellColorsFactory().CreateCellColors();
  EXPECT_EQ(colors->Forecolor(), static_cast<int32_t>(0x80000008u));
  EXPECT_EQ(colors->Backcolor(), static_cast<int32_t>(0x80000005u));
  EXPECT_TRUE(KeysOf(colors->Serialize()).empty());
  colors->SetBackcolor(0xFF);
  EXPECT_EQ(KeysOf(colors->Serialize()), (std::vector<std::string>{"Backcolor"}));
  CCellColors copy;
  copy.Deserialize(colors->Serialize());
  EXPECT_EQ(copy.Backcolor(), 0xFF);
  EXPECT_EQ(copy.Forecolor(), static_cast<int32_t>(0x80000008u));
}

}  // namespace
}  // namespace prvdrinfo
