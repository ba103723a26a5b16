#include "foundation/class_catalog.h"

#include "prvdrinfo/foundation/persistable.h"

namespace prvdrinfo {

// One line per persistable class, under the name its ClassName() returns, e.g.
//   ClassRegistry::Register<CIndexDef>("CIndexDef");
// The foundation has no persistable class of its own yet.
void RegisterLibraryClasses() {}

}  // namespace prvdrinfo
