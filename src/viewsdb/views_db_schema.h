#pragma once

#include <cstdint>
#include <string>

#include "prvdrinfo/foundation/variant.h"

// Names in the views database. The standard columns (record GUID, update counter) and
// the deletion log's columns come from CVesk's column catalogue instead.
namespace prvdrinfo::views_db::schema {

inline constexpr const char* kViews = "views";
inline constexpr const char* kFilters = "providers_filters";
inline constexpr const char* kVersions = "versions";
inline constexpr const char* kProperties = "properties";
inline constexpr const char* kKey = "key";
inline constexpr const char* kValue = "value";
// The largest update counter a deleted view held, kept by kCounterMarkTrigger, so that
// a save never hands out a counter again after the row that held it is gone.
inline constexpr const char* kCounterMarkKey = "GB4SOSKLQRK43LGMP1TG9ED6V";
inline constexpr const char* kCounterMarkTrigger = "trigger_views_counter_mark";
// Present once every caption_sort holds TextService::SmartSortKey of its caption, so that
// reading in caption_sort order is reading in SmartSort order. Its value names the key's
// form: a change to SmartSortKey needs a new value, and the keys are made again.
inline constexpr const char* kSortKeysMarkKey = "SK7RQ2MXW0BHN4YTE9LDA3VCU";
inline constexpr const char* kSortKeysForm = "1";
// Provider look-ups compare GUIDs without regard to case; these indexes compare them so,
// and hold a provider's views in caption_sort order.
inline constexpr const char* kViewsByProviderIndex = "idx_views_provider_nocase_sort";
inline constexpr const char* kFiltersByProviderIndex = "idx_filters_provider_nocase";

inline constexpr const char* kProviderGuid = "provider_guid";
inline constexpr const char* kPrivateToGuid = "private_to_guid";
inline constexpr const char* kCaption = "caption";
inline constexpr const char* kCaptionSort = "caption_sort";
inline constexpr const char* kPropertyBagContent = "propertybag_content";
inline constexpr const char* kStandardView = "standard_view";
inline constexpr const char* kNotificationView = "notification_view";

}  // namespace prvdrinfo::views_db::schema

namespace prvdrinfo::views_db::internal {

// Writes a new views database file at path with both tables and their indexes, complete
// or not at all; an existing file raises 58.
void CreateDatabaseFile(const std::string& path);

// The standard_view value (0 or 1) of a row's stored view; 0 when the bytes cannot be
// read as a view.
int32_t StoredStandardView(const Variant& propertyBagContent);

}  // namespace prvdrinfo::views_db::internal
