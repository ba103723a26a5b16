#pragma once

// Notes interfaces of the provider contract. A provider module derives from the ones it
// implements and overrides every member; the compiler names any it forgets (docs/provider-
// modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"

namespace prvdrinfo {

// Notes in RTF.
class PRVDRINFO_API IProviderNotable : public virtual IObject {
 public:
  ~IProviderNotable() override = default;

  virtual void SaveNote(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                        const std::string& p_RecordGuid, const std::string& p_NoteRtf) = 0;
  virtual std::string GetNote(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                              const std::string& p_RecordGuid) const = 0;
};

// The notes and has-notes columns.
class PRVDRINFO_API IProviderNotable2 : public virtual IObject {
 public:
  ~IProviderNotable2() override = default;

  virtual std::string NotesColumnGuid() const = 0;
  virtual std::string HasNotesColumnGuid() const = 0;
};

}  // namespace prvdrinfo
