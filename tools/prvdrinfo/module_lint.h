#pragma once

#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/contract/provider_info.h"

namespace prvdrinfo::tool {

// What provider show --check finds wrong with a provider as a host would meet it, one
// printable line each, beginning with what is at fault (an interface, Columns() or
// Views(), the shell, a role column, a column GUID or identifier, a view); module text
// in them is escaped as Printed and Quoted escape it. Every check that can run, runs: a
// call into the module that fails is one more line, never the end of the check.
//
// - Interfaces the shell cannot use: one or two of the three attachment interfaces; a
//   null Columns() or Views(); any other reason a shell's Clone fails.
// - Role columns the shell records (shell_roles.h) that are no column of Columns(). ""
//   is the shell's "no such role" and passes; anything else must name a column. Only a
//   shell that could be cloned has role columns to check.
// - Columns() holding one GUID twice (letter case aside, as the column collections
//   compare GUIDs), among the provider's own and the standard columns; or one identifier
//   twice (ASCII letter case aside, as SQLite and the library's table definitions compare
//   names of table columns).
// - Views in Views() that show, sort by or filter on a GUID that is no column of
//   Columns(): a line per view and GUID.
std::vector<std::string> ProviderProblems(const std::shared_ptr<IProviderInfo>& provider);

}  // namespace prvdrinfo::tool
