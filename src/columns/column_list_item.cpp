#include "foundation/internal/class_registration.h"
#include "prvdrinfo/columns/column_list_item.h"

#include "services/internal/rtf.h"
#include "prvdrinfo/services/text_service.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kAbbreviationSet{"HMWZIAESZ6LXRCPT35XM5DL4A", "CColumnListItem.Abbreviation"};
constexpr ErrorSite kTitleSet{"XE3A1X6X5CWON75ADGGEES3P1", "CColumnListItem.Title"};
constexpr ErrorSite kDescriptionSet{"T3JJ1NC2EGYSOX2S4WT2SIQL5", "CColumnListItem.Description"};
constexpr ErrorSite kWrite{"WU2GCAPSFLDJ3RKIP5HVCKLZP", "CColumnListItem.Class_WriteProperties"};
constexpr ErrorSite kRead{"76Z0NWXG7BYOR6U6UIX99SZSG", "CColumnListItem.Class_ReadProperties"};
}  // namespace

CColumnListItem::CColumnListItem() {
  SetAbbreviation("NEW");
  SetTitle("New Column List Item");
}

std::string CColumnListItem::RecordGuid() const { return recordGuid_; }
void CColumnListItem::SetRecordGuid(const std::string& value) { recordGuid_ = value; }

std::string CColumnListItem::Abbreviation() const { return abbreviation_; }
void CColumnListItem::SetAbbreviation(const std::string& value) {
  kAbbreviationSet.Guard(
      [&] { abbreviation_ = TextService::CleanText(value, TextService::kCleanCaption); });
}

std::string CColumnListItem::Title() const { return title_; }
void CColumnListItem::SetTitle(const std::string& value) {
  kTitleSet.Guard([&] { title_ = TextService::CleanText(value, TextService::kCleanCaption); });
}

std::string CColumnListItem::Description() const { return description_; }
void CColumnListItem::SetDescription(const std::string& value) {
  kDescriptionSet.Guard([&] {
    CRtf rtf;
    rtf.Load(value);
    std::string description = value;
    std::string descriptionRtf = rtf.RtfText();
    std::string descriptionPlain = rtf.PlainText();
    description_.swap(description);
    descriptionRtf_.swap(descriptionRtf);
    descriptionPlain_.swap(descriptionPlain);
  });
}

std::string CColumnListItem::DescriptionRtf() const { return descriptionRtf_; }
std::string CColumnListItem::DescriptionPlain() const { return descriptionPlain_; }

void CColumnListItem::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] {
    bag.WriteProperty("Abbreviation", abbreviation_);
    bag.WriteProperty("Backcolor", backcolor_, kDefaultBackcolor);
    bag.WriteProperty("Description", description_);
    bag.WriteProperty("Forecolor", forecolor_, kDefaultForecolor);
    bag.WriteProperty("RecordGuid", recordGuid_);
    bag.WriteProperty("Title", title_);
  });
}

void CColumnListItem::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    SetAbbreviation(bag.ReadText("Abbreviation"));
    SetBackcolor(bag.ReadLong("Backcolor", kDefaultBackcolor));
    SetDescription(bag.ReadText("Description"));
    SetForecolor(bag.ReadLong("Forecolor", kDefaultForecolor));
    SetRecordGuid(bag.ReadText("RecordGuid"));
    SetTitle(bag.ReadText("Title"));
  });
}

std::shared_ptr<CColumnListItem> CColumnListItemFactory::CreateColumnListItem() const {
  return std::make_shared<CColumnListItem>();
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CColumnListItem)
}  // namespace prvdrinfo
