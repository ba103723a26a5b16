// Serialize and ContentId encode each write as it comes and hash content as it is
// rendered. Over many generated column sets, the bytes must be those a bag that holds its
// entries encodes, and the digests those of the whole content string.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include "prvdrinfo/columns/column_def_computed.h"
#include "prvdrinfo/columns/column_def_stored.h"
#include "prvdrinfo/columns/column_defs.h"
#include "prvdrinfo/columns/provider_col_defs.h"

namespace prvdrinfo {
namespace {

// Texts a column may hold: empty, ASCII, accented, beyond the BMP, ill-formed UTF-8
// (a lone continuation byte, a surrogate's encoding, a cut sequence), long.
std::string UnusualText(std::mt19937& random) {
  static const std::string kPieces[] = {
      "",
      "Caption",
      "Détail à côté",
      "\xF0\x9F\x8F\x97 crane",
      "\x80 stray",
      "\xED\xA0\x80 surrogate",
      "cut \xE2\x82",
      "quote ' and \" and \t tab",
      std::string(700, 'x'),
      "ǅ title-case",
      "ſ and K",
  };
  std::string text;
  const int pieces = static_cast<int>(random() % 3);
  for (int i = 0; i < pieces; ++i) text += kPieces[random() % std::size(kPieces)];
  return text;
}

std::shared_ptr<IBaseColumnDef> RandomColumn(std::mt19937& random, int index) {
  const std::string guid = "{COL-" + std::to_string(index) + "-" + UnusualText(random) + "}";
  auto fill = [&](auto& column) {
    column->SetGuid(guid);
    column->SetDefaultCaption(1033, UnusualText(random));
    column->SetDescription(UnusualText(random));
    column->SetGroupKey(UnusualText(random));
    column->SetProviderGuid(random() % 2 ? "" : "{PROVIDER}");
    column->SetSpecialFormatString(UnusualText(random));
    column->SetIsPopular(random() % 2 == 0);
    column->SetDefaultAggregateType(
        static_cast<e_ColumnAggregateType>(static_cast<int>(random() % 3)));
    if (random() % 3 == 0) column->SetNormalColumnGuid(UnusualText(random));
    if (random() % 3 == 0)
      column->FormGuids()->Add(Variant(UnusualText(random)), "form" + std::to_string(index));
  };
  if (random() % 2) {
    auto stored = std::make_shared<CColumnDefStored>();
    fill(stored);
    stored->SetIdentifier(UnusualText(random));
    stored->SetLegalCharactersRegex(UnusualText(random));
    if (random() % 4 == 0) stored->SetUiType(coluitype_Contact);
    return stored;
  }
  auto computed = std::make_shared<CColumnDefComputed>();
  fill(computed);
  computed->SetFormula(UnusualText(random));
  computed->SetForceEditable(random() % 2 == 0);
  return computed;
}

void ExpectStreamedAsHeld(const CPersistable& object, const IContentSource& content,
                          const std::string& what) {
  PropertyBag held;
  object.Class_WriteProperties(held);
  held.Entries();  // the bag takes back what it streamed
  EXPECT_EQ(object.Serialize(), held.Contents()) << what;
  EXPECT_EQ(content::ContentId(content), content::ContentIdOf(content::ContentString(content)))
      << what;
}

TEST(DirectEncoding, ColumnsStreamWhatHeldEntriesEncode) {
  std::mt19937 random(20261211);
  for (int round = 0; round < 60; ++round) {
    const auto column = RandomColumn(random, round);
    ExpectStreamedAsHeld(dynamic_cast<const CPersistable&>(*column),
                         dynamic_cast<const IContentSource&>(*column),
                         "column " + std::to_string(round));

    CColumnDefs set;
    const int count = static_cast<int>(random() % 30);
    for (int i = 0; i < count; ++i) set.AddExisting(RandomColumn(random, i));
    ExpectStreamedAsHeld(set, set, "set " + std::to_string(round));
  }
}

TEST(DirectEncoding, ProviderColumnSetsStreamWhatHeldEntriesEncode) {
  const CProviderColDefs defs;  // the standard columns and their groups
  ExpectStreamedAsHeld(defs, defs, "provider column set");
}

TEST(DirectEncoding, LargeContentIsHashedAsItComes) {
  // Far past what the builder holds before it feeds the hash.
  std::mt19937 random(7);
  CColumnDefs set;
  for (int i = 0; i < 400; ++i) set.AddExisting(RandomColumn(random, i));
  ExpectStreamedAsHeld(set, set, "large set");
}

}  // namespace
}  // namespace prvdrinfo
