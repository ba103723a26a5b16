#include "foundation/class_catalog.h"

#include "prvdrinfo/columns/column_def_computed.h"
#include "prvdrinfo/columns/column_def_stored.h"
#include "prvdrinfo/columns/column_defs.h"
#include "prvdrinfo/columns/column_list_item.h"
#include "prvdrinfo/columns/contact_columns_info.h"
#include "prvdrinfo/columns/provider_col_defs.h"
#include "prvdrinfo/columns/referencer_column_info.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/providers/descend_menu_item.h"
#include "prvdrinfo/providers/descend_menu_items.h"
#include "prvdrinfo/providers/division_info.h"
#include "prvdrinfo/providers/form_info.h"
#include "prvdrinfo/providers/provider_form_view_link.h"
#include "prvdrinfo/providers/provider_form_view_links.h"
#include "prvdrinfo/summaries/cert_summary_info.h"
#include "prvdrinfo/summaries/change_summary_info.h"
#include "prvdrinfo/summaries/division_summary_info.h"
#include "prvdrinfo/tables/index_def.h"
#include "prvdrinfo/tables/index_defs.h"
#include "prvdrinfo/tables/provider_table_def.h"
#include "prvdrinfo/tables/provider_table_defs.h"
#include "prvdrinfo/tables/unique_indexes.h"

namespace prvdrinfo {

// One line per persistable class, under the name its ClassName() returns, e.g.
//   ClassRegistry::Register<CIndexDef>("CIndexDef");
// The foundation has no persistable class of its own yet.
void RegisterLibraryClasses() {
  ClassRegistry::Register<CColumnDefStored>(CColumnDefStored::kClassName);
  ClassRegistry::Register<CColumnDefComputed>(CColumnDefComputed::kClassName);
  ClassRegistry::Register<CColumnDefs>(CColumnDefs::kClassName);
  ClassRegistry::Register<CProviderColDefs>(CProviderColDefs::kClassName);
  ClassRegistry::Register<CColumnListItem>(CColumnListItem::kClassName);
  ClassRegistry::Register<CContactColumnsInfo>(CContactColumnsInfo::kClassName);
  ClassRegistry::Register<CReferencerColumnInfo>(CReferencerColumnInfo::kClassName);
  ClassRegistry::Register<CChangeSummaryInfo>(CChangeSummaryInfo::kClassName);
  ClassRegistry::Register<CCertSummaryInfo>(CCertSummaryInfo::kClassName);
  ClassRegistry::Register<CDivisionSummaryInfo>(CDivisionSummaryInfo::kClassName);
  ClassRegistry::Register<CFormInfo>(CFormInfo::kClassName);
  ClassRegistry::Register<CDivisionInfo>(CDivisionInfo::kClassName);
  ClassRegistry::Register<CProviderFormViewLink>(CProviderFormViewLink::kClassName);
  ClassRegistry::Register<CDescendMenuItem>(CDescendMenuItem::kClassName);
  ClassRegistry::Register<CProviderFormViewLinks>(CProviderFormViewLinks::kClassName);
  ClassRegistry::Register<CDescendMenuItems>(CDescendMenuItems::kClassName);
  ClassRegistry::Register<CIndexDef>(CIndexDef::kClassName);
  ClassRegistry::Register<CUniqueIndexes>(CUniqueIndexes::kClassName);
  ClassRegistry::Register<CIndexDefs>(CIndexDefs::kClassName);
  ClassRegistry::Register<CProviderTableDef>(CProviderTableDef::kClassName);
  ClassRegistry::Register<CProviderTableDefs>(CProviderTableDefs::kClassName);
}

}  // namespace prvdrinfo
