#include "prvdrinfo/providers/descend_menu_items.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "prvdrinfo/foundation/content_source.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/keyed_collection_field.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "support/column_test_support.h"

namespace prvdrinfo {
namespace {

using testing::ErrorNumberOf;
using testing::ExpectError;

std::vector<std::string> Captions(const CDescendMenuItems& menu) {
  std::vector<std::string> captions;
  for (const auto& item : menu) captions.push_back(item->Caption());
  return captions;
}

TEST(DescendMenuItem, AFreshItemHasANewGuidAndTheDefaultCaption) {
  CDescendMenuItem a;
  CDescendMenuItem b;
  EXPECT_EQ(a.Guid().size(), 36U);
  EXPECT_NE(a.Guid(), b.Guid());
  EXPECT_EQ(a.Caption(), "New Menu Item");
  EXPECT_EQ(a.DescendToProviderGuid(), "");

  PropertyBag bag;
  a.Class_WriteProperties(bag);
  EXPECT_FALSE(bag.Exists("Caption"));  // equal to its default
  EXPECT_TRUE(bag.Exists("DescendToFormTypeGuid"));
}

TEST(DescendMenuItems, AddKeepsOrderAndRefusesAGuidThatIsThereInAnyCase) {
  auto menu = CDescendMenuItemsFactory().CreateNewDescendMenuItems();
  const auto first = menu->Add("aaaa", "Drawings");
  EXPECT_EQ(first->Guid(), "aaaa");
  EXPECT_EQ(first->Caption(), "Drawings");
  menu->Add("bbbb", "Change orders");
  EXPECT_EQ(ErrorNumberOf([&] { menu->Add("AAAA", "Again"); }), 457);
  EXPECT_EQ(ErrorNumberOf([&] { menu->Add(" ", "Nowhere"); }), 5);
  EXPECT_EQ(Captions(*menu), (std::vector<std::string>{"Drawings", "Change orders"}));
  EXPECT_EQ(menu->MenuItemByGuid("BBBB")->Caption(), "Change orders");
  EXPECT_EQ(menu->MenuItemByIndex(0), first);
  EXPECT_EQ(ErrorNumberOf([&] { menu->MenuItemByIndex(2); }), 9);
  EXPECT_EQ(ErrorNumberOf([&] { menu->MenuItemByGuid("cccc"); }), 5);
  menu->RemoveByGuid("AAAA");
  EXPECT_EQ(menu->Count(), 1);
  menu->RemoveByIndex(0);
  EXPECT_EQ(menu->Count(), 0);
}

TEST(DescendMenuItems, FindsByCaptionThroughTheComparisonForm) {
  CDescendMenuItems menu;
  menu.Add("1", "Item 10");
  menu.Add("2", "Site  instruction 2");
  menu.Add("3", "SITE INSTRUCTION 02");
  EXPECT_EQ(menu.MenuItemByCaption(" site instruction 2 ")->Guid(), "2");  // the first match
  EXPECT_EQ(menu.MenuItemByCaption("item 10")->Guid(), "1");
  ExpectError([&] { menu.MenuItemByCaption("Item 1"); }, 5, "Item not found in this collection.");
}

TEST(DescendMenuItems, RemoveByCaptionTakesTheFirstMatchOnly) {
  CDescendMenuItems menu;
  menu.Add("1", "Drawings");
  menu.Add("2", "RFIs");
  menu.Add("3", "drawings");
  menu.RemoveByCaption("Nothing like it");  // no match: no error
  EXPECT_EQ(menu.Count(), 3);
  // An item whose GUID changed after it was added is still removed, and only it.
  menu.MenuItemByIndex(0)->SetGuid("2");
  menu.RemoveByCaption("DRAWINGS");
  EXPECT_EQ(Captions(menu), (std::vector<std::string>{"RFIs", "drawings"}));
}

TEST(DescendMenuItems, RoundTripsItsItemsAsTheirOwnClass) {
  CDescendMenuItems menu;
  auto item = menu.Add("E3A1", "Submittals");
  item->SetDescendToProviderGuid("PROVIDER");
  item->SetDescendToFormTypeGuid("FORMTYPE");
  menu.Add("F00D", "New Menu Item");

  CDescendMenuItems back;
  back.Add("OLD", "Replaced");
  back.Deserialize(menu.Serialize());
  ASSERT_EQ(back.Count(), 2);
  const auto restored = back.MenuItemByGuid("e3a1");
  EXPECT_NE(restored, item);
  EXPECT_EQ(restored->Caption(), "Submittals");
  EXPECT_EQ(restored->DescendToProviderGuid(), "PROVIDER");
  EXPECT_EQ(restored->DescendToFormTypeGuid(), "FORMTYPE");
  EXPECT_EQ(back.MenuItemByIndex(1)->Guid(), "F00D");
  EXPECT_EQ(back.MenuItemByIndex(1)->Caption(), "New Menu Item");
  EXPECT_EQ(back.Serialize(), menu.Serialize());
}

// Stored projects hold these bytes, so a change to the collection's mechanics must leave
// them exactly as they are.
TEST(DescendMenuItems, SerializedBytesAreFixed) {
  CDescendMenuItems menu;
  auto first = menu.Add("E3A1", "Submittals");
  first->SetDescendToProviderGuid("P");
  first->SetDescendToFormTypeGuid("F");
  menu.Add("F00D", "RFIs")->SetDescendToFormTypeGuid("G");
  const Bytes bytes = menu.Serialize();
  EXPECT_EQ(bytes.size(), 257u);
  EXPECT_EQ(content::ContentIdOf(testing::UnitsOf(bytes)),
            "E2D6CFEABE4C0A8C98E1BC5BC1D29C9D9D8891176B49D3AB6490B62E2E6799D3");
}

// The menu loads what its bytes hold; an item that is no menu item fails only when it is
// reached, and Nothing reads as no item.
TEST(DescendMenuItems, ForeignItemsLoadAndFailWhenReached) {
  KeyedCollection stored;
  stored.Add(Variant(std::make_shared<CDescendMenuItem>()), "ok");
  stored.Add(Variant("text"), "text");
  stored.Add(Variant(std::shared_ptr<IObject>()), "nothing");
  PropertyBag bag;
  WriteKeyedCollection(bag, "MenuItems", stored);
  CDescendMenuItems menu;
  menu.Deserialize(bag.Contents());
  ASSERT_EQ(menu.Count(), 3);
  EXPECT_TRUE(menu.MenuItemByGuid("OK"));
  EXPECT_EQ(ErrorNumberOf([&] { menu.MenuItemByGuid("text"); }), 13);
  EXPECT_EQ(ErrorNumberOf([&] { menu.MenuItemByCaption("nowhere"); }), 13);
  EXPECT_EQ(menu.MenuItemByIndex(2), nullptr);
  EXPECT_EQ(menu.Serialize(), bag.Contents());
}

}  // namespace
}  // namespace prvdrinfo
