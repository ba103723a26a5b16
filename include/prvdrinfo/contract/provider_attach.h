#pragma once

// Attachments interfaces of the provider contract. A provider module derives from the ones
// it implements and overrides every member; the compiler names any it forgets
// (docs/provider-modules.md).

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
  ~IProviderAttach() override = default;

  virtual bool RegisterAttachment(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                  const std::string& p_RecordGuid, const std::string& p_FileGuid,
                                  const std::string& p_OriginalFilename) = 0;
  virtual e_IProviderAttachmentType IProviderAttachmentType() const = 0;
};

// The attachment count column.
class PRVDRINFO_API IProviderAttach2 : public virtual IObject {
 public:
  ~IProviderAttach2() override = default;

  virtual std::string AttachmentCountColumnGuid() const = 0;
};

// The attachment list columns; the second holds the list with line breaks.
class PRVDRINFO_API IProviderAttach3 : public virtual IObject {
 public:
  ~IProviderAttach3() override = default;

  virtual std::string AttachmentListColumnGuid() const = 0;
  virtual std::string AttachmentListCrLfColumnGuid() const = 0;
};

}  // namespace prvdrinfo
