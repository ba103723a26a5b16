#pragma once

// Disciplines interfaces of the provider contract. Each public member forwards to the
// protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"

namespace prvdrinfo {

// Disciplines: the abbreviation and title columns (copied into a shell), a record's
// disciplines joined with a separator, and notice that a discipline record changed.
class PRVDRINFO_API IProviderDisciplined : public virtual IObject {
 public:
  ~IProviderDisciplined() override = 0;

  std::string DisciplineAbbreviationsColumnGuid() {
    return IProviderDisciplined_DisciplineAbbreviationsColumnGuid();
  }
  std::string DisciplineTitlesColumnGuid() {
    return IProviderDisciplined_DisciplineTitlesColumnGuid();
  }
  std::string DisciplineTitles(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                               const std::string& p_RecordGuid, const std::string& p_Separator) {
    return IProviderDisciplined_DisciplineTitles(p_ProjectGuid, p_StatementNumber, p_RecordGuid,
                                                 p_Separator);
  }
  std::string DisciplineAbbreviations(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                      const std::string& p_RecordGuid,
                                      const std::string& p_Separator) {
    return IProviderDisciplined_DisciplineAbbreviations(p_ProjectGuid, p_StatementNumber,
                                                        p_RecordGuid, p_Separator);
  }
  std::string ItemDisciplineGuids(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                  const std::string& p_RecordGuid) {
    return IProviderDisciplined_ItemDisciplineGuids(p_ProjectGuid, p_StatementNumber, p_RecordGuid);
  }
  void DisciplineTouched(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                         const std::string& p_DisciplineRecordGuid) {
    IProviderDisciplined_DisciplineTouched(p_ProjectGuid, p_StatementNumber,
                                           p_DisciplineRecordGuid);
  }

 protected:
  virtual std::string IProviderDisciplined_DisciplineAbbreviationsColumnGuid() { return {}; }
  virtual std::string IProviderDisciplined_DisciplineTitlesColumnGuid() { return {}; }
  virtual std::string IProviderDisciplined_DisciplineTitles(const std::string& /*p_ProjectGuid*/,
                                                            int32_t /*p_StatementNumber*/,
                                                            const std::string& /*p_RecordGuid*/,
                                                            const std::string& /*p_Separator*/) {
    return {};
  }
  virtual std::string IProviderDisciplined_DisciplineAbbreviations(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_RecordGuid*/, const std::string& /*p_Separator*/) {
    return {};
  }
  virtual std::string IProviderDisciplined_ItemDisciplineGuids(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_RecordGuid*/) {
    return {};
  }
  virtual void IProviderDisciplined_DisciplineTouched(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_DisciplineRecordGuid*/) {}
};
inline IProviderDisciplined::~IProviderDisciplined() = default;

}  // namespace prvdrinfo
