#include "foundation/internal/class_registration.h"
#include "prvdrinfo/columns/column_def_computed.h"

#include "prvdrinfo/services/text_service.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/keyed_collection_field.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kSetLinked{"DE0F7T2IXR3NVB47PMK6BUQOQ",
                               "CColumnDefComputed.SetExternallyLinkedInfo"};
constexpr ErrorSite kWriteCore{"2P7NGTOXF8VSOH7RVLJAONNM1",
                               "CColumnDefComputed.WriteCoreProperties"};
constexpr ErrorSite kWrite{"DSX2XFIQ54HDSAF21UW573I9A", "CColumnDefComputed.Class_WriteProperties"};
constexpr ErrorSite kRead{"WCINT6SYPIM4SOSGCNS9PPF8N", "CColumnDefComputed.Class_ReadProperties"};

Variant Long(int32_t value) { return Variant(value); }

// Runs one step of a load whose failures are ignored.
template <class Step>
void Tolerant(Step&& step) {
  try {
    step();
  } catch (...) {
  }
}
}  // namespace

std::string CColumnDefComputed::NullLinkedColumnGuidOnEdit() const {
  return nullLinkedColumnGuidOnEdit_;
}
void CColumnDefComputed::SetNullLinkedColumnGuidOnEdit(const std::string& value) {
  nullLinkedColumnGuidOnEdit_ = value;
}

std::string CColumnDefComputed::EditabilityLinkedColumnGuid() const {
  return editabilityLinkedColumnGuid_;
}
void CColumnDefComputed::SetEditabilityLinkedColumnGuid(const std::string& value) {
  editabilityLinkedColumnGuid_ = value;
}

std::string CColumnDefComputed::Formula() const { return formula_; }
void CColumnDefComputed::SetFormula(const std::string& value) { formula_ = value; }

std::shared_ptr<KeyedCollection> CColumnDefComputed::PossibleValues() const {
  if (!possibleValues_) possibleValues_ = std::make_shared<KeyedCollection>(true, 1, true);
  return possibleValues_;
}

bool CColumnDefComputed::IsExternallyLinkedColumn() const {
  return !TextService::IsEmpty(externallyLinkedColumnGuid_);
}
std::string CColumnDefComputed::ExternallyLinkedProviderGuid() const {
  return externallyLinkedProviderGuid_;
}
std::string CColumnDefComputed::ExternallyLinkedColumnGuid() const {
  return externallyLinkedColumnGuid_;
}

void CColumnDefComputed::SetExternallyLinkedInfo(const std::string& p_ProviderGuid,
                                                 const std::string& p_ColumnGuid) {
  kSetLinked.Guard([&] {
    if (TextService::IsEmpty(p_ProviderGuid) != TextService::IsEmpty(p_ColumnGuid)) {
      kSetLinked.Raise(err::kInvalidProcedureCall,
                       "Both provider GUID and column GUID must be set or cleared.");
    }
    std::string provider = p_ProviderGuid;
    std::string column = p_ColumnGuid;
    externallyLinkedProviderGuid_.swap(provider);
    externallyLinkedColumnGuid_.swap(column);
  });
}

void CColumnDefComputed::WriteCoreProperties(PropertyBag& bag) const {
  kWriteCore.Guard([&] {
    bag.WriteProperty("Guid", guid_);
    bag.WriteProperty("FormGuid", formGuid_);
    bag.WriteProperty("EditabilityLinkedColumNGuid", editabilityLinkedColumnGuid_, std::string());
    bag.WriteProperty("DefaultCaption", defaultCaption_);
    bag.WriteProperty("DefaultVisibility", Long(defaultVisibility_));
    bag.WriteProperty("DefaultAggregateType", Long(defaultAggregateType_));
    bag.WriteProperty("Source", Long(source_));
    bag.WriteProperty("VeskDataType", Long(veskDatatype_));
    bag.WriteProperty("Description", description_);
    bag.WriteProperty("Alignment", Long(defaultAlignment_));
    bag.WriteProperty("FormatType", Long(formatType_));
    bag.WriteProperty("FormatString", specialFormatString_);
    bag.WriteProperty("AutoColoring", Long(autoColoring_));
    bag.WriteProperty("Formula", formula_);
    bag.WriteProperty("Availability", Long(availability_), Long(0));
    bag.WriteProperty("GroupKey", groupKey_, std::string());
    bag.WriteProperty("ForceEditable", forceEditable_, false);
    bag.WriteProperty("ProviderGuid", providerGuid_, std::string());
    bag.WriteProperty("IsPopular", isPopular_, false);
    bag.WriteProperty("NullLinkedColumnGuidOnEdit", nullLinkedColumnGuidOnEdit_, std::string());
    bag.WriteProperty("SpecialColumnType", Long(specialColumnType_), Long(0));
    WriteNormalColumnEntry(bag);
    bag.WriteProperty("IsMiscellaneous", isMiscellaneous_, false);
    bag.WriteProperty("ExternallyLinkedProviderGuid", externallyLinkedProviderGuid_, std::string());
    bag.WriteProperty("ExternallyLinkedColumnGuid", externallyLinkedColumnGuid_, std::string());
  });
}

void CColumnDefComputed::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] {
    WriteCoreProperties(bag);
    WriteFormGuids(bag);
    WriteKeyedCollection(bag, "PossibleValues", *PossibleValues());
  });
}

void CColumnDefComputed::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    guid_ = bag.ReadText("Guid");
    formGuid_ = bag.ReadText("FormGuid");
    ReadFormGuids(bag);
    groupKey_ = bag.ReadText("GroupKey", "");
    editabilityLinkedColumnGuid_ = bag.ReadText("EditabilityLinkedColumnGuid", "");
    defaultCaption_ = bag.ReadText("DefaultCaption");
    defaultVisibility_ = static_cast<e_VeskColumnVisibility>(bag.ReadLong("DefaultVisibility"));
    defaultAggregateType_ =
        static_cast<e_ColumnAggregateType>(bag.ReadLong("DefaultAggregateType"));
    source_ = static_cast<e_VeskColumnSource>(bag.ReadLong("Source"));
    veskDatatype_ = static_cast<e_VeskDataType>(bag.ReadLong("VeskDataType"));
    description_ = bag.ReadText("Description", "");
    defaultAlignment_ = static_cast<e_ColumnAlignment>(bag.ReadLong("Alignment", 0));
    formatType_ = static_cast<e_ColumnFormatType>(bag.ReadLong("FormatType"));
    specialFormatString_ = bag.ReadText("FormatString");
    autoColoring_ = static_cast<e_ColumnAutoColoring>(bag.ReadLong("AutoColoring"));
    formula_ = bag.ReadText("Formula");
    availability_ = static_cast<e_ColumnAvailability>(bag.ReadLong("Availability", 0));
    forceEditable_ = bag.ReadBoolean("ForceEditable", false);
    providerGuid_ = bag.ReadText("ProviderGuid", "");
    isPopular_ = bag.ReadBoolean("IsPopular", false);
    specialColumnType_ = static_cast<e_SpecialColumnType>(bag.ReadLong("SpecialColumnType", 0));
    ReadNormalColumnEntry(bag);
    isMiscellaneous_ = bag.ReadBoolean("IsMiscellaneous", false);

    // Fields of later versions. A field that cannot be read takes its fresh value, so
    // nothing of the object loaded over survives.
    nullLinkedColumnGuidOnEdit_.clear();
    Tolerant([&] { nullLinkedColumnGuidOnEdit_ = bag.ReadText("NullLinkedColumnGuidOnEdit", ""); });
    possibleValues_.reset();
    Tolerant([&] { possibleValues_ = ReadKeyedCollection(bag, "PossibleValues"); });
    std::string provider;
    std::string column;
    Tolerant([&] { provider = bag.ReadText("ExternallyLinkedProviderGuid", ""); });
    Tolerant([&] { column = bag.ReadText("ExternallyLinkedColumnGuid", ""); });
    // A pair with one side blank loads as no link.
    if (TextService::IsEmpty(provider) != TextService::IsEmpty(column)) {
      provider.clear();
      column.clear();
    }
    SetExternallyLinkedInfo(provider, column);
  });
}

std::shared_ptr<CColumnDefComputed> CColumnDefComputedFactory::CreateColumnDefComputed() const {
  return std::make_shared<CColumnDefComputed>();
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CColumnDefComputed)
}  // namespace prvdrinfo
