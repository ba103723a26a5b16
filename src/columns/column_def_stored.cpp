#include "foundation/internal/class_registration.h"
#include "prvdrinfo/columns/column_def_stored.h"

#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/vesk.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kContact{"ZLJXEMZI2KIQA1BGW93JO6YER", "CColumnDefStored.ContactColumnsInfo"};
constexpr ErrorSite kEscaped{"IPHVZ8TXGR21NB2XJ0ZXL6UCV", "CColumnDefStored.EscapedIdentifier"};
constexpr ErrorSite kWriteCore{"20PTRKGTEWXZZEQ0NR8AEUKMU", "CColumnDefStored.WriteCoreProperties"};
constexpr ErrorSite kWrite{"NS5X6JSSX8Z9RNNKP6A1JYIRG", "CColumnDefStored.Class_WriteProperties"};
constexpr ErrorSite kRead{"XJFKJQNLCOXTXUG5GRHJ39SYK", "CColumnDefStored.Class_ReadProperties"};

Variant Long(int32_t value) { return Variant(value); }
}  // namespace

CColumnDefStored::CColumnDefStored() { defaultCaption_ = CVesk::DefaultCaption(); }

std::shared_ptr<CContactColumnsInfo> CColumnDefStored::ContactColumnsInfo() const {
  return kContact.Guard([&] {
    if (uiType_ != coluitype_Contact) {
      kContact.Raise(err::kInvalidProcedureCall,
                     "ContactColumnsInfo only available for Contact UI Type columns.");
    }
    if (!contactColumnsInfo_) contactColumnsInfo_ = std::make_shared<CContactColumnsInfo>();
    return contactColumnsInfo_;
  });
}

std::string CColumnDefStored::LinkedProviderGuidColumnGuid() const {
  return linkedProviderGuidColumnGuid_;
}
void CColumnDefStored::SetLinkedProviderGuidColumnGuid(const std::string& value) {
  linkedProviderGuidColumnGuid_ = value;
}

std::string CColumnDefStored::AutocompleteGuid() const { return autocompleteGuid_; }
void CColumnDefStored::SetAutocompleteGuid(const std::string& value) { autocompleteGuid_ = value; }

std::string CColumnDefStored::Identifier() const { return identifier_; }
void CColumnDefStored::SetIdentifier(const std::string& value) { identifier_ = value; }

std::string CColumnDefStored::EscapedIdentifier() const {
  return kEscaped.Guard([&] { return SqlService::QuoteIdentifier(identifier_); });
}

std::string CColumnDefStored::LegalCharactersRegex() const { return legalCharactersRegex_; }
void CColumnDefStored::SetLegalCharactersRegex(const std::string& value) {
  legalCharactersRegex_ = value;
}

void CColumnDefStored::WriteCoreProperties(PropertyBag& bag) const {
  kWriteCore.Guard([&] {
    bag.WriteProperty("Guid", guid_);
    bag.WriteProperty("FormGuid", formGuid_);
    bag.WriteProperty("DefaultCaption", defaultCaption_);
    bag.WriteProperty("DefaultVisibility", Long(defaultVisibility_));
    bag.WriteProperty("DefaultAggregateType", Long(defaultAggregateType_));
    bag.WriteProperty("Source", Long(source_));
    bag.WriteProperty("VeskDataType", Long(veskDatatype_));
    bag.WriteProperty("Description", description_);
    bag.WriteProperty("Alignment", Long(defaultAlignment_));
    bag.WriteProperty("Identifier", identifier_);
    bag.WriteProperty("FormatType", Long(formatType_));
    bag.WriteProperty("FormatString", specialFormatString_);
    bag.WriteProperty("LegalCharacters", Long(legalCharacters_));
    bag.WriteProperty("LegalCharactersRegex", legalCharactersRegex_);
    bag.WriteProperty("CaseHandling", Long(caseHandling_));
    bag.WriteProperty("WhitespaceHandling", Long(whitespaceHandling_));
    bag.WriteProperty("AutocompleteGuid", autocompleteGuid_);
    bag.WriteProperty("UiType", Long(uiType_));
    bag.WriteProperty("Editability", Long(editability_));
    bag.WriteProperty("AutoColoring", Long(autoColoring_), Long(0));
    bag.WriteProperty("LinkedProviderGuidColumnGuid", linkedProviderGuidColumnGuid_, std::string());
    bag.WriteProperty("Availability", Long(availability_), Long(0));
    bag.WriteProperty("GroupKey", groupKey_, std::string());
    bag.WriteProperty("ProviderGuid", providerGuid_, std::string());
    bag.WriteProperty("IsHybrid", isHybrid_, false);
    bag.WriteProperty("IsTemplateColumn", isTemplateColumn_, false);
    bag.WriteProperty("UpdateWHenValueUnchanged", updateWhenValueUnchanged_, false);
    bag.WriteProperty("IsPopular", isPopular_, false);
    bag.WriteProperty("SpecialColumnType", Long(specialColumnType_), Long(0));
    WriteNormalColumnEntry(bag);
    bag.WriteProperty("IsMiscellaneous", isMiscellaneous_, false);
  });
}

void CColumnDefStored::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] {
    WriteCoreProperties(bag);
    WriteFormGuids(bag);
    if (uiType_ == coluitype_Contact && !contactColumnsInfo_) {
      try {
        contactColumnsInfo_ = std::make_shared<CContactColumnsInfo>();
      } catch (...) {
        // Saving goes on without the object; it is then stored as no object.
      }
    }
    bag.WriteProperty("ContactColumnsInfo", Variant(std::shared_ptr<IObject>(contactColumnsInfo_)));
  });
}

void CColumnDefStored::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    guid_ = bag.ReadText("Guid");
    formGuid_ = bag.ReadText("FormGuid");
    ReadFormGuids(bag);
    groupKey_ = bag.ReadText("GroupKey", "");
    defaultCaption_ = bag.ReadText("DefaultCaption");
    defaultVisibility_ = static_cast<e_VeskColumnVisibility>(bag.ReadLong("DefaultVisibility"));
    defaultAggregateType_ =
        static_cast<e_ColumnAggregateType>(bag.ReadLong("DefaultAggregateType"));
    source_ = static_cast<e_VeskColumnSource>(bag.ReadLong("Source"));
    veskDatatype_ = static_cast<e_VeskDataType>(bag.ReadLong("VeskDataType"));
    description_ = bag.ReadText("Description", "");
    defaultAlignment_ = static_cast<e_ColumnAlignment>(bag.ReadLong("Alignment", 0));
    autoColoring_ = static_cast<e_ColumnAutoColoring>(bag.ReadLong("AutoColoring", 0));
    identifier_ = bag.ReadText("Identifier");
    formatType_ = static_cast<e_ColumnFormatType>(bag.ReadLong("FormatType"));
    specialFormatString_ = bag.ReadText("FormatString");
    legalCharacters_ = static_cast<e_LegalCharacters>(bag.ReadLong("LegalCharacters"));
    legalCharactersRegex_ = bag.ReadText("LegalCharactersRegex");
    caseHandling_ = static_cast<e_CaseHandling>(bag.ReadLong("CaseHandling"));
    whitespaceHandling_ = static_cast<e_WhitespaceHandling>(bag.ReadLong("WhitespaceHandling"));
    autocompleteGuid_ = bag.ReadText("AutocompleteGuid");
    uiType_ = static_cast<e_ColumnUiType>(bag.ReadLong("UiType"));
    editability_ = static_cast<e_ColumnEditability>(bag.ReadLong("Editability"));
    linkedProviderGuidColumnGuid_ = bag.ReadText("LinkedProviderGuidColumnGuid", "");
    availability_ = static_cast<e_ColumnAvailability>(bag.ReadLong("Availability", 0));
    providerGuid_ = bag.ReadText("ProviderGuid", "");
    isHybrid_ = bag.ReadBoolean("IsHybrid", false);
    isPopular_ = bag.ReadBoolean("IsPopular", false);
    specialColumnType_ = static_cast<e_SpecialColumnType>(bag.ReadLong("SpecialColumnType", 0));
    ReadNormalColumnEntry(bag);
    isMiscellaneous_ = bag.ReadBoolean("IsMiscellaneous", false);
    isTemplateColumn_ = bag.ReadBoolean("IsTemplateColumn", false);
    updateWhenValueUnchanged_ = bag.ReadBoolean("UpdateWHenValueUnchanged", false);
    // Absent (older bytes): a new object. Stored as no object: none, until the next
    // access on a contact column creates one. Another class: 13 "Type mismatch".
    contactColumnsInfo_ =
        bag.ReadProperty("ContactColumnsInfo", Variant(std::make_shared<CContactColumnsInfo>()))
            .ToObject<CContactColumnsInfo>();
  });
}

std::shared_ptr<CColumnDefStored> CColumnDefStoredFactory::CreateColumnDefStored() const {
  return std::make_shared<CColumnDefStored>();
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CColumnDefStored)
}  // namespace prvdrinfo
