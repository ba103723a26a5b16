#include "prvdrinfo/providers/provider_form_view_links.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/foundation/content_source.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/keyed_collection.h"
#include "support/column_test_support.h"

namespace prvdrinfo {
namespace {

constexpr const char* kAlreadyLinked =
    "A view has already been linked to this provider. Please call with the ReplaceExisting "
    "parameter = True to change the linked view.";

using testing::UnitsOf;

std::vector<std::string> Items(const KeyedCollection& c) {
  std::vector<std::string> items;
  for (int32_t i = 0; i < c.Count(); ++i) {
    EXPECT_EQ(c.KeyByIndex(i), c.ItemByIndex(i).AsText());
    items.push_back(c.ItemByIndex(i).AsText());
  }
  return items;
}

TEST(ProviderFormViewLinks, LinkingTheSameViewAgainChangesNothingAndAnotherNeedsReplace) {
  auto links = CProviderFormViewLinksFcy().CreateProviderFormViewLinks();
  links->LinkViewToProvider("PROV-A", "VIEW-1", "OWNER-X", false);
  const auto link = links->LinkedViewInfoByProviderGuid("PROV-A");
  const auto before = links->Serialize();
  links->LinkViewToProvider("PROV-A", "VIEW-1", "OWNER-X", false);
  EXPECT_EQ(links->Serialize(), before);
  EXPECT_EQ(links->Count(), 1);

  // Comparison is exact: a view GUID in other letter case is another view.
  for (const auto& [view, owner] : {std::pair{"VIEW-2", "OWNER-X"}, std::pair{"VIEW-1", "OWNER-Y"},
                                    std::pair{"view-1", "OWNER-X"}}) {
    try {
      links->LinkViewToProvider("prov-a", view, owner, false);
      ADD_FAILURE() << view << " " << owner << " replaced the link";
    } catch (const CError& e) {
      EXPECT_EQ(e.Number(), 70);
      EXPECT_EQ(e.Description(), kAlreadyLinked);
    }
  }
  EXPECT_EQ(links->Serialize(), before);

  links->LinkViewToProvider("Prov-A", "VIEW-2", "OWNER-Y", true);
  EXPECT_EQ(links->Count(), 1);
  EXPECT_EQ(links->LinkedViewInfoByProviderGuid("PROV-A"), link);  // the same link object
  EXPECT_EQ(link->ViewGuid(), "VIEW-2");
  EXPECT_EQ(link->ViewProviderGuid(), "OWNER-Y");
}

TEST(ProviderFormViewLinks, FindsTheProvidersOfAViewInCollectionOrder) {
  CProviderFormViewLinks links;
  links.LinkViewToProvider("P3", "V", "O", false);
  links.LinkViewToProvider("P1", "W", "O", false);
  links.LinkViewToProvider("P2", "V", "O2", false);
  links.LinkViewToProvider("P0", "V", "O", false);
  links.LinkViewToProvider("P4", "v", "O", false);
  EXPECT_EQ(Items(*links.LinkedProviderGuidsFromViewGuid("V")),
            (std::vector<std::string>{"P3", "P2", "P0"}));
  EXPECT_EQ(Items(*links.LinkedProviderGuidsFromViewGuid("W")), (std::vector<std::string>{"P1"}));
  EXPECT_EQ(links.LinkedProviderGuidsFromViewGuid("none")->Count(), 0);
}

TEST(ProviderFormViewLinks, LooksUpAndRemovesByProviderWithoutRegardToCase) {
  CProviderFormViewLinks links;
  links.LinkViewToProvider("AbC", "V", "O", false);
  EXPECT_TRUE(links.ProviderHasLinkedView("abc"));
  EXPECT_FALSE(links.ProviderHasLinkedView("abd"));
  try {
    links.LinkedViewInfoByProviderGuid("abd");
    ADD_FAILURE() << "an unknown provider has a link";
  } catch (const CError& e) {
    EXPECT_EQ(e.Number(), 5);
  }
  links.RemoveLinkedView("abd");  // unknown: nothing happens
  EXPECT_EQ(links.Count(), 1);
  links.RemoveLinkedView("ABC");
  EXPECT_EQ(links.Count(), 0);
}

TEST(ProviderFormViewLinks, RefusesABlankProviderGuid) {
  CProviderFormViewLinks links;
  for (const char* blank : {"", "  "}) {
    try {
      links.LinkViewToProvider(blank, "V", "O", false);
      ADD_FAILURE() << "a link without provider was stored";
    } catch (const CError& e) {
      EXPECT_EQ(e.Number(), 5);
      EXPECT_EQ(e.Description(), "GUID Required.");
    }
  }
  EXPECT_EQ(links.Count(), 0);
}

TEST(ProviderFormViewLinks, ContentIsTheLinksSerializedBytesWithoutTheProviderKeys) {
  CProviderFormViewLink one;
  one.SetViewGuid("V1");
  one.SetViewProviderGuid("O1");
  EXPECT_EQ(one.ContentString(), UnitsOf(one.Serialize()));
  CProviderFormViewLink two;
  two.SetViewGuid("V2");

  CProviderFormViewLinks links;
  EXPECT_EQ(links.ContentString(), u"");
  links.LinkViewToProvider("P1", "V1", "O1", false);
  links.LinkViewToProvider("P2", "V2", "", false);
  EXPECT_EQ(links.ContentString(), one.ContentString() + two.ContentString());

  CProviderFormViewLinks elsewhere;
  elsewhere.LinkViewToProvider("Q1", "V1", "O1", false);
  elsewhere.LinkViewToProvider("Q2", "V2", "", false);
  EXPECT_EQ(elsewhere.ContentId(), links.ContentId());
  elsewhere.LinkViewToProvider("Q2", "V3", "", true);
  EXPECT_NE(elsewhere.ContentId(), links.ContentId());
}

TEST(ProviderFormViewLinks, RoundTripsThroughItsBytes) {
  CProviderFormViewLinks links;
  links.LinkViewToProvider("P1", "V1", "O1", false);
  links.LinkViewToProvider("P2", "V2", "O2", false);
  CProviderFormViewLinks back;
  back.LinkViewToProvider("OLD", "X", "Y", false);
  back.DeserializeV(links.SerializeV());
  EXPECT_EQ(back.Count(), 2);
  EXPECT_FALSE(back.ProviderHasLinkedView("OLD"));
  EXPECT_EQ(back.LinkedViewInfoByProviderGuid("p2")->ViewProviderGuid(), "O2");
  EXPECT_EQ(back.Serialize(), links.Serialize());
  EXPECT_EQ(back.ContentId(), links.ContentId());

  CProviderFormViewLink link;
  link.SetViewGuid("V");
  CProviderFormViewLink linkBack;
  linkBack.Deserialize(link.Serialize());
  EXPECT_EQ(linkBack.ViewGuid(), "V");
  EXPECT_EQ(linkBack.ViewProviderGuid(), "");
}

// Stored projects hold these bytes, and the content id is taken from the links in order:
// a change to the collection's mechanics must leave both exactly as they are.
TEST(ProviderFormViewLinks, SerializedBytesAndContentIdAreFixed) {
  CProviderFormViewLinks links;
  links.LinkViewToProvider("P1", "V1", "O1", false);
  links.LinkViewToProvider("P2", "V2", "", false);
  const Bytes bytes = links.Serialize();
  EXPECT_EQ(bytes.size(), 162u);
  EXPECT_EQ(content::ContentIdOf(testing::UnitsOf(bytes)),
            "8CF5B96E160D1C3802D49C39A122FB4F634073489C1416BC96DF72B6A277D3D2");
  EXPECT_EQ(links.ContentId(), "2884D1046C23231AF02AA3045DB7915D2EF7B8B77DA6618646965EF22EBF44E2");
}

}  // namespace
}  // namespace prvdrinfo
