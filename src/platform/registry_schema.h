#pragma once
// The tables of a shared registry on PostgreSQL, created and migrated by the program: a list of
// steps, each bringing the schema one version on, applied in one transaction under an advisory
// lock, so benches that start at once migrate it once and none sees half a schema.
#include <QSqlDatabase>

#include "core/base/result.h"

namespace vk930 {

// The version this program writes and reads.
inline constexpr int kRegistrySchemaVersion = 4;

// The version of the registry's schema in `db`: 0 when it holds none yet.
Result<int> RegistrySchemaVersion(QSqlDatabase& db);

struct SchemaMigration {
    int from = 0;
    int to = 0;
};
// Brings the schema to `target` (never back): nothing to do when it is there already. Refused
// when the schema is newer than this program's, which would not know its tables.
Result<SchemaMigration> MigrateRegistrySchema(QSqlDatabase& db,
                                              int target = kRegistrySchemaVersion);

}  // namespace vk930
