#include "foundation/internal/class_registration.h"
#include "prvdrinfo/views/provider_view_col.h"

#include "foundation/internal/content_parts.h"
#include "foundation/internal/wrapper_string_builder.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/text_service.h"
#include "prvdrinfo/services/vesk.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kCaptionSet{"NLCCV58KDTHPU3LZMMP3BQU2R", "CProviderViewCol.Caption"};
constexpr ErrorSite kContent{"0URO1SO3U6NT60HWYIMGX6TMP", "CProviderViewCol.AppendContentString3"};
constexpr ErrorSite kAutoSave{"537W8EVY74OQRYGEIL4723JW0", "CProviderViewCol.ContentIdForAutoSave"};
constexpr ErrorSite kWrite{"IHSU6GIUR9QLSWJTK8HUW8VU4", "CProviderViewCol.Class_WriteProperties"};
constexpr ErrorSite kRead{"47EJQUGM3002GIACM9M2LNP6T", "CProviderViewCol.Class_ReadProperties"};
}  // namespace

CProviderViewCol::CProviderViewCol() : caption_(CVesk::DefaultCaption()) { initialised_ = true; }

void CProviderViewCol::SetCaption(const std::string& value) {
  kCaptionSet.Guard([&] {
    std::string caption = TextService::CleanCaption(value);
    if (caption != caption_) {
      caption_.swap(caption);
      MarkDirty();
    }
  });
}

void CProviderViewCol::SetWidthTwips(int32_t value) {
  if (value == widthTwips_) return;
  widthTwips_ = value;
  MarkDirty();
}

void CProviderViewCol::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  MarkDirty();
}

void CProviderViewCol::SetAggregateType(e_ColumnAggregateType value) {
  if (value == aggregateType_) return;
  aggregateType_ = value;
  MarkDirty();
}

std::string CProviderViewCol::ContentIdForAutoSave() const {
  return kAutoSave.Guard([&] {
    return content::ContentIdOfRendered([&](StringBuilder& builder) {
      content::AppendProperties(builder,
                                [&](PropertyBag& bag) { WriteKeys(bag, /*withSizes=*/false); });
    });
  });
}

void CProviderViewCol::AppendContentString3(StringBuilder& po_StringBuilder) const {
  kContent.Guard([&] {
    content::AppendProperties(po_StringBuilder,
                              [&](PropertyBag& bag) { WriteKeys(bag, /*withSizes=*/true); });
  });
}

void CProviderViewCol::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] { WriteKeys(bag, /*withSizes=*/true); });
}

void CProviderViewCol::WriteKeys(PropertyBag& bag, bool withSizes) const {
  bag.WriteProperty("Guid", guid_, std::string());
  bag.WriteProperty("Caption", caption_, std::string());
  if (withSizes) {
    bag.WriteProperty("WidthTwips", widthTwips_, kReadWidthTwips);
    bag.WriteProperty("MinWidthTwips", minWidthTwips_, kDefaultMinWidthTwips);
    bag.WriteProperty("MaxWidthTwips", maxWidthTwips_, kDefaultMaxWidthTwips);
  }
  bag.WriteProperty("Visible", visible_, true);
  bag.WriteProperty("AggregateType", static_cast<int32_t>(aggregateType_),
                    int32_t{colaggregate_UseDefault});
  bag.WriteProperty("Alignment", static_cast<int32_t>(alignment_), int32_t{colalign_Standard});
  bag.WriteProperty("FormatType", static_cast<int32_t>(formatType_),
                    int32_t{viewcolformat_Default});
  bag.WriteProperty("Alias", alias_, std::string());
  if (withSizes) bag.WriteProperty("ManuallySized", manuallySized_, false);
  bag.WriteProperty("Ghosted", ghosted_, false);
}

void CProviderViewCol::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    guid_ = bag.ReadText("Guid");
    caption_ = bag.ReadText("Caption");
    widthTwips_ = bag.ReadLong("WidthTwips", kReadWidthTwips);
    minWidthTwips_ = bag.ReadLong("MinWidthTwips", kDefaultMinWidthTwips);
    maxWidthTwips_ = bag.ReadLong("MaxWidthTwips", kDefaultMaxWidthTwips);
    visible_ = bag.ReadBoolean("Visible", true);
    aggregateType_ =
        static_cast<e_ColumnAggregateType>(bag.ReadLong("AggregateType", colaggregate_UseDefault));
    alignment_ = static_cast<e_ColumnAlignment>(bag.ReadLong("Alignment", colalign_Standard));
    formatType_ =
        static_cast<e_ViewColumnFormatType>(bag.ReadLong("FormatType", viewcolformat_Default));
    alias_ = bag.ReadText("Alias");
    manuallySized_ = bag.ReadBoolean("ManuallySized", false);
    ghosted_ = false;
    try {
      ghosted_ = bag.ReadBoolean("Ghosted", false);
    } catch (const CError&) {
      // Older bytes: the column is simply not ghosted.
    }
    initialised_ = true;
  });
}

std::shared_ptr<CProviderViewCol> CProviderViewColFactory::CreateViewColDef() const {
  return std::make_shared<CProviderViewCol>();
}

PRVDRINFO_REGISTER_CLASS(CProviderViewCol)

}  // namespace prvdrinfo
