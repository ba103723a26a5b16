#include "prvdrinfo/foundation/content_source.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/internal/content_parts.h"
#include "services/internal/digest_service.h"
#include "foundation/internal/wrapper_string_builder.h"
#include "prvdrinfo/columns/base_column_def.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/keyed_collection.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "prvdrinfo/services/string_buffer.h"
#include "prvdrinfo/services/string_builder.h"

namespace prvdrinfo {
namespace {

constexpr const char* kDigestOfNothing =
    "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855";

// The bytes as code units, written out independently of the builder.
std::u16string AsUnits(const Bytes& bytes) {
  std::u16string units;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    units += static_cast<char16_t>(bytes[i] + 256 * bytes[i + 1]);
  }
  if (bytes.size() % 2 == 1) units += static_cast<char16_t>(bytes.back());
  return units;
}

// A fixed text as content.
class Fixed : public CContentSource, public IObject {
 public:
  explicit Fixed(std::u16string text) : text_(std::move(text)) {}
  void AppendContentString3(StringBuilder& b) const override { b.Append(text_); }

 private:
  std::u16string text_;
};

// Shaped like a column: scalar fields through a bag, then its form GUIDs.
class ColumnLike : public ContentSource<IBaseColumnDef2>, public IObject {
 public:
  ColumnLike() : formGuids_(std::make_shared<KeyedCollection>()) {}
  std::string caption = "Title";
  int32_t width = 120;
  std::shared_ptr<KeyedCollection> formGuids_;

  PropertyBag CoreBag() const {
    PropertyBag bag;
    bag.WriteProperty("Caption", caption);
    bag.WriteProperty("Width", width, int32_t{100});
    return bag;
  }
  void AppendContentString3(StringBuilder& b) const override {
    content::AppendBag(b, CoreBag());
    content::AppendValuesAndKeys(b, *formGuids_);
  }
};

// Members in a keyed collection, reached by late binding.
class Members : public CContentSource {
 public:
  KeyedCollection items;
  void AppendContentString3(StringBuilder& b) const override { content::AppendMembers(b, items); }
};

TEST(ContentSourceTest, ColumnShapedContent) {
  ColumnLike column;
  column.formGuids_->Add(std::string("{F1}"), "K1");
  column.formGuids_->Add(std::string("{F2}"));
  column.formGuids_->Add(std::string("{F3}"), "k3");

  const Bytes bag = column.CoreBag().Contents();
  const std::u16string expected = AsUnits(bag) + u"{F1}K1{F2}{F3}k3";
  EXPECT_EQ(column.ContentString(), expected);
  EXPECT_EQ(column.ContentId(), DigestService::Digest(expected, 3, 0));

  // Reordering the form GUIDs changes the content; a field at its default changes the bag.
  ColumnLike reordered;
  reordered.formGuids_->Add(std::string("{F2}"));
  reordered.formGuids_->Add(std::string("{F1}"), "K1");
  reordered.formGuids_->Add(std::string("{F3}"), "k3");
  EXPECT_NE(reordered.ContentId(), column.ContentId());
}

TEST(ContentSourceTest, InterfaceMembersNeedNoForwarding) {
  auto column = std::make_shared<ColumnLike>();
  std::shared_ptr<IBaseColumnDef2> asInterface = column;
  CStringBuilder builder;
  asInterface->AppendContentString(builder);
  EXPECT_EQ(builder.Text16(), column->ContentString());
}

TEST(ContentSourceTest, EveryRouteGivesTheSameText) {
  Fixed source(std::u16string(u"a\xd800\x0000z", 4));
  const std::u16string text = source.ContentString();
  EXPECT_EQ(text, std::u16string(u"a\xd800\x0000z", 4));

  CStringBuilder builder;
  builder.Append("<");
  source.AppendContentString(builder);
  EXPECT_EQ(builder.Text16(), u"<" + text);
  EXPECT_EQ(builder.PieceCount(), 2);

  CStringBuffer buffer;
  buffer.Append(u"<");
  source.AppendContentString2(buffer);
  EXPECT_EQ(buffer.ToString(), u"<" + text);

  EXPECT_EQ(Fixed(u"abc").ContentId(),
            "13E228567E8249FCE53337F25D7970DE3BD68AB2653424C7B8F9FD05E33CAEDF");
  EXPECT_EQ(content::ContentIdOf(u"abc"), Fixed(u"abc").ContentId());
}

TEST(ContentSourceTest, EmptyCollectionHasEmptyContent) {
  Members none;
  EXPECT_EQ(none.ContentString(), u"");
  EXPECT_EQ(none.ContentId(), kDigestOfNothing);
}

TEST(ContentSourceTest, MembersConcatenateInOrder) {
  Members outer;
  outer.items.Add(std::make_shared<Fixed>(u"one"), "b");
  outer.items.Add(std::make_shared<Fixed>(u"two"), "a");
  outer.items.AddBefore(std::make_shared<Fixed>(u"zero"), "", 0);
  EXPECT_EQ(outer.ContentString(), u"zeroonetwo");

  std::vector<std::shared_ptr<Fixed>> typed{std::make_shared<Fixed>(u"x"),
                                            std::make_shared<Fixed>(u"y")};
  StringBuilder b;
  content::AppendEach(b, typed);
  EXPECT_EQ(b.Text16(), u"xy");
}

TEST(ContentSourceTest, MembersWithoutContentRaise) {
  struct Case {
    const char* name;
    Variant member;
    int32_t number;
  } cases[] = {
      {"text", Variant("text"), err::kObjectRequired},
      {"number", Variant(int32_t{5}), err::kObjectRequired},
      {"Nothing", Variant(std::shared_ptr<IObject>()), 91},
      {"object without content", Variant(std::make_shared<KeyedCollection>()), 438},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Members members;
    members.items.Add(std::make_shared<Fixed>(u"fine"));
    members.items.Add(c.member);

    CStringBuilder builder;
    builder.Append("kept");
    CStringBuffer buffer;
    buffer.Append(u"kept");
    const std::vector<std::function<void()>> routes = {
        [&] { (void)members.ContentString(); },
        [&] { (void)members.ContentId(); },
        [&] { members.AppendContentString(builder); },
        [&] { members.AppendContentString2(buffer); },
    };
    for (const auto& route : routes) {
      try {
        route();
        ADD_FAILURE() << "no error raised";
      } catch (const CError& e) {
        EXPECT_EQ(e.Number(), c.number) << e.Report();
      }
    }
    // A failed rendering leaves the caller's builder and buffer as they were.
    EXPECT_EQ(builder.Text(), "kept");
    EXPECT_EQ(builder.PieceCount(), 1);
    EXPECT_EQ(buffer.ToUtf8(), "kept");
  }

  std::vector<std::shared_ptr<Fixed>> withNull{std::make_shared<Fixed>(u"x"), nullptr};
  StringBuilder b;
  try {
    content::AppendEach(b, withNull);
    ADD_FAILURE() << "no error raised";
  } catch (const CError& e) {
    EXPECT_EQ(e.Number(), 91);
  }
}

TEST(ContentSourceTest, ValuesAsText) {
  struct Case {
    const char* name;
    Variant value;
    std::u16string expected;
  } cases[] = {
      {"Empty", Variant(), u""},
      {"Null", Variant::Null(), u""},
      {"Nothing", Variant(std::shared_ptr<IObject>()), u""},
      {"Integer", Variant(int16_t{-7}), u"-7"},
      {"Long", Variant(int32_t{123456}), u"123456"},
      {"Boolean", Variant(true), u"True"},
      {"Double", Variant(1.5), u"1.5"},
      {"Currency", Variant(Currency::FromScaled(125000)), u"12.5"},
      {"text", Variant("\xc3\xa9t\xc3\xa9"), u"\u00e9t\u00e9"},
      {"bytes, odd count", Variant(Bytes{0x41, 0x00, 0x42}), u"AB"},
      {"content source", Variant(std::make_shared<Fixed>(u"inner")), u"inner"},
  };
  for (const auto& c : cases) {
    StringBuilder b;
    content::AppendValue(b, c.value);
    EXPECT_EQ(b.Text16(), c.expected) << c.name;
  }

  StringBuilder b;
  try {
    content::AppendValue(b, Variant(std::make_shared<KeyedCollection>()));
    ADD_FAILURE() << "no error raised";
  } catch (const CError& e) {
    EXPECT_EQ(e.Number(), err::kTypeMismatch);
  }
}

TEST(ContentSourceTest, BagBytesBecomeCodeUnits) {
  PropertyBag bag;
  bag.WriteProperty("A", std::string("x"));
  const Bytes bytes = bag.Contents();
  StringBuilder b;
  content::AppendBag(b, bag);
  EXPECT_EQ(b.Text16(), AsUnits(bytes));
  EXPECT_EQ(b.Length(), static_cast<int32_t>((bytes.size() + 1) / 2));

  StringBuilder odd;
  content::AppendBytes(odd, Bytes{0x01, 0x02, 0x03});
  EXPECT_EQ(odd.Text16(), u"\x0201\x0003");
}

}  // namespace
}  // namespace prvdrinfo
