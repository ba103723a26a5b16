#pragma once

// Disciplines interfaces of the provider contract. A provider module derives from the ones
// it implements and overrides every member; the compiler names any it forgets
// (docs/provider-modules.md).

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
  ~IProviderDisciplined() override = default;

  virtual std::string DisciplineAbbreviationsColumnGuid() const = 0;
  virtual std::string DisciplineTitlesColumnGuid() const = 0;
  virtual std::string DisciplineTitles(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                       const std::string& p_RecordGuid,
                                       const std::string& p_Separator) const = 0;
  virtual std::string DisciplineAbbreviations(const std::string& p_ProjectGuid,
                                              int32_t p_StatementNumber,
                                              const std::string& p_RecordGuid,
                                              const std::string& p_Separator) const = 0;
  virtual std::string ItemDisciplineGuids(const std::string& p_ProjectGuid,
                                          int32_t p_StatementNumber,
                                          const std::string& p_RecordGuid) const = 0;
  virtual void DisciplineTouched(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                 const std::string& p_DisciplineRecordGuid) = 0;
};

}  // namespace prvdrinfo
