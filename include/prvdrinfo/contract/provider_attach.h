#pragma once

// Attachments interfaces of the provider contract. Each public member forwards to the
// protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"
#include "prvdrinfo/contract/provider_enums.h"

namespace prvdrinfo {

// Attachments: registering a stored file with a record, and the attachment kind (copied
// into a shell). A provider that implements it implements `IProviderAttach2` and
// `IProviderAttach3` as well, or a shell cannot clone it.
class PRVDRINFO_API IProviderAttach : public virtual IObject {
 public:
  ~IProviderAttach() override = 0;

  bool RegisterAttachment(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                          const std::string& p_RecordGuid, const std::string& p_FileGuid,
                          const std::string& p_OriginalFilename) {
    return IProviderAttach_RegisterAttachment(p_ProjectGuid, p_StatementNumber, p_RecordGuid,
                                              p_FileGuid, p_OriginalFilename);
  }
  e_IProviderAttachmentType IProviderAttachmentType() {
    return IProviderAttach_IProviderAttachmentType();
  }

 protected:
  virtual bool IProviderAttach_RegisterAttachment(const std::string& /*p_ProjectGuid*/,
                                                  int32_t /*p_StatementNumber*/,
                                                  const std::string& /*p_RecordGuid*/,
                                                  const std::string& /*p_FileGuid*/,
                                                  const std::string& /*p_OriginalFilename*/) {
    return {};
  }
  virtual e_IProviderAttachmentType IProviderAttach_IProviderAttachmentType() { return {}; }
};
inline IProviderAttach::~IProviderAttach() = default;

// The attachment count column.
class PRVDRINFO_API IProviderAttach2 : public virtual IObject {
 public:
  ~IProviderAttach2() override = 0;

  std::string AttachmentCountColumnGuid() { return IProviderAttach2_AttachmentCountColumnGuid(); }

 protected:
  virtual std::string IProviderAttach2_AttachmentCountColumnGuid() { return {}; }
};
inline IProviderAttach2::~IProviderAttach2() = default;

// The attachment list columns; the second holds the list with line breaks.
class PRVDRINFO_API IProviderAttach3 : public virtual IObject {
 public:
  ~IProviderAttach3() override = 0;

  std::string AttachmentListColumnGuid() { return IProviderAttach3_AttachmentListColumnGuid(); }
  std::string AttachmentListCrLfColumnGuid() {
    return IProviderAttach3_AttachmentListCrLfColumnGuid();
  }

 protected:
  virtual std::string IProviderAttach3_AttachmentListColumnGuid() { return {}; }
  virtual std::string IProviderAttach3_AttachmentListCrLfColumnGuid() { return {}; }
};
inline IProviderAttach3::~IProviderAttach3() = default;

}  // namespace prvdrinfo
