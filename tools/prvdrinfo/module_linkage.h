#pragma once

#include <string>
#include <vector>

namespace prvdrinfo::tool {

// Whether a module that is loaded shares this program's copy of the library, as
// provider show --check prints it: no line when it does, else a line beginning with
// "linkage". A module linked to the static library defines, strongly, symbols that the
// shared library this program uses exports; a module that does not name that library
// among the objects it needs gets its library from wherever the host happens to have
// one. Reads the module's dynamic symbols and dependencies from its file (a name without
// a slash is a file of the working directory, as the module loader takes it). The
// comparison means something only in a program linked to the shared library; the prvdrinfo
// tool is.
std::vector<std::string> LinkageProblems(const std::string& modulePath);

}  // namespace prvdrinfo::tool
