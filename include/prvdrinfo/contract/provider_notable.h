#pragma once

// Notes interfaces of the provider contract. Each public member forwards to the
// protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

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
  ~IProviderNotable() override = 0;

  void SaveNote(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                const std::string& p_RecordGuid, const std::string& p_NoteRtf) {
    IProviderNotable_SaveNote(p_ProjectGuid, p_StatementNumber, p_RecordGuid, p_NoteRtf);
  }
  std::string GetNote(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                      const std::string& p_RecordGuid) {
    return IProviderNotable_GetNote(p_ProjectGuid, p_StatementNumber, p_RecordGuid);
  }

 protected:
  virtual void IProviderNotable_SaveNote(const std::string& /*p_ProjectGuid*/,
                                         int32_t /*p_StatementNumber*/,
                                         const std::string& /*p_RecordGuid*/,
                                         const std::string& /*p_NoteRtf*/) {}
  virtual std::string IProviderNotable_GetNote(const std::string& /*p_ProjectGuid*/,
                                               int32_t /*p_StatementNumber*/,
                                               const std::string& /*p_RecordGuid*/) {
    return {};
  }
};
inline IProviderNotable::~IProviderNotable() = default;

// The notes and has-notes columns.
class PRVDRINFO_API IProviderNotable2 : public virtual IObject {
 public:
  ~IProviderNotable2() override = 0;

  std::string NotesColumnGuid() { return IProviderNotable2_NotesColumnGuid(); }
  std::string HasNotesColumnGuid() { return IProviderNotable2_HasNotesColumnGuid(); }

 protected:
  virtual std::string IProviderNotable2_NotesColumnGuid() { return {}; }
  virtual std::string IProviderNotable2_HasNotesColumnGuid() { return {}; }
};
inline IProviderNotable2::~IProviderNotable2() = default;

}  // namespace prvdrinfo
