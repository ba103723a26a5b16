#pragma once

#include <cstdint>

#include "prvdrinfo/services/stock_enums.h"

// Classes that the provider contract names but that live in other subsystems. The contract
// passes them as std::shared_ptr, so a provider module needs their definitions only where
// it actually touches them.
namespace prvdrinfo {

// Columns and tables.
class IBaseColumnDef;
class CColumnDefs;
class CProviderColDefs;
class CProviderTableDef;

// Views.
class CProviderView;
class CProviderViews;

// Provider metadata.
class CProvidersCollection;
class CFormInfo;
class CDescendMenuItems;
class CProviderParentReference;

// The database wrapper's objects: the keyed collection, a connection to a project
// database, a row cursor over a query and the GUID-keyed dictionary.
class KeyedCollection;
class Connection;
class Recordset;
class Dictionary;

// Enumerations of the host library that the contract passes through without reading them:
// role ids and record delete refusal codes, carried as their 32-bit values. Locale ids are
// the stock library's e_LocaleId.
using RoleId = int32_t;
using DeleteErrorCode = int32_t;

}  // namespace prvdrinfo
