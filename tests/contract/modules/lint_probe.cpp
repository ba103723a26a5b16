// A provider module with a class for each problem prvdrinfo provider show --check reports,
// and a clean one, so that the tool's tests check real providers across a real module
// boundary. Its CMake builds it twice: linked to the shared library, as a module must be,
// and to the static one.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "prvdrinfo/columns/column_def_stored.h"
#include "prvdrinfo/contract/provider_attach.h"
#include "prvdrinfo/contract/provider_module.h"
#include "prvdrinfo/contract/provider_titled.h"
#include "prvdrinfo/filters/column_set_provider.h"
#include "prvdrinfo/viewsdb/provider_views.h"

namespace lint_probe {
namespace {

using namespace prvdrinfo;

constexpr const char* kTitle = "5B7E1C2A-0D3F-4A61-9B8C-000000000001";
constexpr const char* kAmount = "5B7E1C2A-0D3F-4A61-9B8C-000000000002";
constexpr const char* kAttachments = "5B7E1C2A-0D3F-4A61-9B8C-000000000003";
constexpr const char* kOpenView = "5B7E1C2A-0D3F-4A61-9B8C-0000000000F1";
constexpr const char* kStaleView = "5B7E1C2A-0D3F-4A61-9B8C-0000000000F2";
constexpr const char* kNoSuchColumn = "5B7E1C2A-0D3F-4A61-9B8C-0000000000AA";
constexpr const char* kNoOtherColumn = "5B7E1C2A-0D3F-4A61-9B8C-0000000000BB";

// A register with a title, an amount and an attachment count column, and a view that
// shows, sorts by and filters on them. The title role names its column in lower case: a
// host finds columns by GUID without regard to case.
struct Register : CColumnSetProvider, IProviderTitled {
  Register() : CColumnSetProvider(std::make_shared<CProviderColDefs>()) {
    AddColumn(kTitle, "title");
    AddColumn(kAmount, "amount");
    AddColumn(kAttachments, "attachments");
    const auto view = views->Add(kOpenView, "Open items");
    view->Columns()->Add(kTitle);
    view->SortOrder()->Add(kAmount);
    view->FilterGroups()->Add()->Add(kAttachments, "0", logicop_And);
  }

  void AddColumn(const std::string& guid, const std::string& identifier) {
    auto column = std::make_shared<CColumnDefStored>();
    column->SetGuid(guid);
    column->SetIdentifier(identifier);
    column->SetVeskDatatype(datatype_String);
    Columns()->ProviderSpecific()->AddExisting(column);
  }
  // A view that names columns the register does not have.
  void AddStaleView() {
    const auto view = views->Add(kStaleView, "Stale");
    view->Columns()->Add(kNoSuchColumn);
    view->SortOrder()->Add(kNoSuchColumn);
    view->FilterGroups()->Add()->Add(kNoOtherColumn, "x", logicop_And);
  }

  std::shared_ptr<CProviderViews> Views() const override { return views; }
  std::string ItemTitle(const std::string&, int32_t, const std::string&) const override {
    return {};
  }
  std::string TitleColumnGuid() const override { return titleColumn; }

  std::string titleColumn = "5b7e1c2a-0d3f-4a61-9b8c-000000000001";
  std::shared_ptr<CProviderViews> views = std::make_shared<CProviderViews>();
};

// The first attachment interface, with nothing to attach to.
struct Attachable : IProviderAttach {
  bool RegisterAttachment(const std::string&, int32_t, const std::string&, const std::string&,
                          const std::string&) override {
    return false;
  }
  e_IProviderAttachmentType IProviderAttachmentType() const override {
    return iproviderattachtype_Standard;
  }
};

// The attachment columns: a count column and no list columns ("" is none).
struct AttachmentColumns : IProviderAttach2, IProviderAttach3 {
  std::string AttachmentCountColumnGuid() const override { return kAttachments; }
  std::string AttachmentListColumnGuid() const override { return {}; }
  std::string AttachmentListCrLfColumnGuid() const override { return {}; }
};

struct Attached : Register, Attachable, AttachmentColumns {};

// With a control character, which must not reach a terminal as it is.
struct StrayRole : Register {
  StrayRole() { titleColumn = std::string(kNoSuchColumn) + "\x1b[2J"; }
};

struct HalfAttached : Register, IProviderAttach2 {
  std::string AttachmentCountColumnGuid() const override { return kAttachments; }
};

// A shell can be cloned from it, but a host that looks for IProviderAttach finds none.
struct ColumnsWithoutAttach : Register, AttachmentColumns {};

struct NoColumns : Register {
  std::shared_ptr<CProviderColDefs> Columns() const override { return nullptr; }
};

struct NoViews : Register {
  std::shared_ptr<CProviderViews> Views() const override { return nullptr; }
};

// A column of its own under a standard column's GUID, in other letters.
struct RepeatedGuid : Register {
  RepeatedGuid() { AddColumn("REC_GUID", "record_guid_copy"); }
};

// Identifiers name table columns, which SQLite tells apart by more than ASCII case only.
struct RepeatedIdentifier : Register {
  RepeatedIdentifier() { AddColumn("5B7E1C2A-0D3F-4A61-9B8C-000000000004", "Title"); }
};

struct StaleView : Register {
  StaleView() { AddStaleView(); }
};

// Several problems at once, one of which keeps a shell from being cloned.
struct ManyFaults : Register, Attachable {
  ManyFaults() {
    AddColumn("5B7E1C2A-0D3F-4A61-9B8C-000000000004", "AMOUNT");
    AddStaleView();
  }
};

using Body = int32_t (*)(const char*, std::string_view, std::shared_ptr<IProviderInfo>*);
struct ProbeClass {
  const char* name;
  Body create2;
  Body create;
};
template <class T>
constexpr ProbeClass Probe(const char* name) {
  return {name, &CreateProvider2Of<T>, &CreateProviderOf<T>};
}
constexpr ProbeClass kClasses[] = {
    Probe<Attached>("CClean"),
    Probe<StrayRole>("CStrayRole"),
    Probe<HalfAttached>("CHalfAttached"),
    Probe<ColumnsWithoutAttach>("CColumnsWithoutAttach"),
    Probe<NoColumns>("CNoColumns"),
    Probe<NoViews>("CNoViews"),
    Probe<RepeatedGuid>("CRepeatedGuid"),
    Probe<RepeatedIdentifier>("CRepeatedIdentifier"),
    Probe<StaleView>("CStaleView"),
    Probe<ManyFaults>("CManyFaults"),
};

int32_t Create(const char* p_ClassName, std::shared_ptr<IProviderInfo>* po_Provider,
               bool p_Throws) {
  const std::string_view name = p_ClassName != nullptr ? p_ClassName : "";
  for (const ProbeClass& probe : kClasses) {
    if (name == probe.name)
      return (p_Throws ? probe.create2 : probe.create)(p_ClassName, probe.name, po_Provider);
  }
  return err::kCannotCreateObject;
}

}  // namespace
}  // namespace lint_probe

extern "C" int32_t prvdrinfo_ProviderContractVersion() noexcept {
  return prvdrinfo::kProviderContractVersion;
}

extern "C" int32_t prvdrinfo_CreateProvider(
    const char* p_ClassName, std::shared_ptr<prvdrinfo::IProviderInfo>* po_Provider) noexcept {
  try {
    return lint_probe::Create(p_ClassName, po_Provider, false);
  } catch (...) {
    return prvdrinfo::err::kUnspecified;
  }
}

extern "C" int32_t prvdrinfo_CreateProvider2(
    const char* p_ClassName, std::shared_ptr<prvdrinfo::IProviderInfo>* po_Provider) {
  return lint_probe::Create(p_ClassName, po_Provider, true);
}
