// The registry's schema and its migrations.
#include "platform/registry_schema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <string>
#include <vector>

#include "core/settings/id_counter.h"
#include "core/settings/registry_key.h"

namespace vk930 {

namespace {

// The statements of each version, in order; version N is kSteps[N - 1]. A step is never
// changed once released: a change is a new step.
const std::vector<std::vector<std::string>>& Steps() {
    static const std::vector<std::vector<std::string>> kSteps = {
        // 1: the counter, the reserved IDs and the records.
        {"CREATE TABLE vk930_schema_version (version integer NOT NULL)",
         "INSERT INTO vk930_schema_version (version) VALUES (0)",
         "CREATE TABLE vk930_counter (name text PRIMARY KEY, last_id integer NOT NULL "
         "CHECK (last_id BETWEEN -1 AND " +
             std::to_string(kMaxCommId) + "))",
         "INSERT INTO vk930_counter (name, last_id) VALUES ('commID', " +
             std::to_string(kDefaultCommId) + ")",
         "CREATE TABLE vk930_reserved_ids (comm_id integer PRIMARY KEY CHECK (comm_id BETWEEN 0 "
         "AND " +
             std::to_string(kMaxCommId) +
             "), series_id text NOT NULL, state text NOT NULL DEFAULT 'reserved' CHECK (state IN "
             "('reserved', 'written', 'skipped')), reason text NOT NULL DEFAULT '', bench text "
             "NOT NULL, reserved_at timestamptz NOT NULL DEFAULT now(), changed_at timestamptz)",
         "CREATE TABLE vk930_records (seq bigserial PRIMARY KEY, uuid uuid NOT NULL UNIQUE, "
         "time timestamptz NOT NULL, comm_id_before integer, comm_id_after integer, series_id "
         "text NOT NULL DEFAULT '', record jsonb NOT NULL, received_at timestamptz NOT NULL "
         "DEFAULT now())"},
        // 2: what `vk930ctl history` and the status look up by.
        {"CREATE INDEX vk930_records_time ON vk930_records (time)",
         "CREATE INDEX vk930_records_comm_id_before ON vk930_records (comm_id_before)",
         "CREATE INDEX vk930_records_comm_id_after ON vk930_records (comm_id_after)",
         "CREATE INDEX vk930_reserved_ids_series ON vk930_reserved_ids (series_id, state)"},
        // 3: the record as the bench wrote it, byte for byte (jsonb keeps no NUL, and orders
        // and spaces its own way); history reads this text, queries the jsonb.
        {"ALTER TABLE vk930_records ADD COLUMN record_text text"},
        // 4: an ID a terminal may carry is a state of its own, with the other values that
        // terminal may carry (all of them held); a reservation keeps the program holding it
        // (host:pid) and the ID its terminal carried, so that one whose program died is
        // resolved with what its cut write may have left. Rows that earlier versions stored as
        // skipped, their reason naming the values, become such rows.
        {"ALTER TABLE vk930_reserved_ids DROP CONSTRAINT vk930_reserved_ids_state_check",
         "ALTER TABLE vk930_reserved_ids ADD CONSTRAINT vk930_reserved_ids_state_check CHECK "
         "(state IN ('reserved', 'written', 'skipped', 'may-carry'))",
         "ALTER TABLE vk930_reserved_ids ADD COLUMN possible integer[] NOT NULL DEFAULT '{}'",
         "ALTER TABLE vk930_reserved_ids ADD COLUMN holder text NOT NULL DEFAULT ''",
         "ALTER TABLE vk930_reserved_ids ADD COLUMN old_id integer",
         "CREATE INDEX vk930_reserved_ids_possible ON vk930_reserved_ids USING gin (possible)",
         "UPDATE vk930_reserved_ids SET state = 'may-carry', possible = coalesce((SELECT "
         "array_agg(m[1]::integer) FROM regexp_matches(substring(reason FROM "
         "'\\(the terminal carries ([0-9, or]+)\\)$'), '([0-9]+)', 'g') AS m), '{}') WHERE "
         "state = 'skipped' AND (reason ~ '\\(the terminal carries [0-9, or]+\\)$' OR reason "
         "LIKE '%the terminal may carry this ID%')"},
    };
    return kSteps;
}

// Any number for the advisory lock, the same in every program that migrates.
constexpr qint64 kSchemaLockKey = 0x766b393330;  // "vk930"

std::string Failure(const QSqlQuery& query, const std::string& what) {
    return what + ": " + query.lastError().text().toStdString();
}

Result<int> VersionIn(QSqlDatabase& db) {
    QSqlQuery query(db);
    if (!query.exec("SELECT to_regclass('vk930_schema_version') IS NOT NULL") || !query.next())
        return Error{Failure(query, "cannot look for the registry's tables")};
    if (!query.value(0).toBool()) return 0;
    if (!query.exec("SELECT max(version) FROM vk930_schema_version") || !query.next())
        return Error{Failure(query, "cannot read the registry's schema version")};
    return query.value(0).toInt();
}

std::string NewerThanThis(int version) {
    return "the registry's schema is version " + std::to_string(version) +
           ", newer than this program's (" + std::to_string(kRegistrySchemaVersion) +
           "): update vk930ctl on this bench";
}

}  // namespace

Result<int> RegistrySchemaVersion(QSqlDatabase& db) {
    return VersionIn(db);
}

Result<SchemaMigration> MigrateRegistrySchema(QSqlDatabase& db, int target) {
    if (target < 1 || target > static_cast<int>(Steps().size()))
        return Error{"no registry schema version " + std::to_string(target)};
    if (!db.transaction())
        return Error{"cannot begin the schema's migration: " + db.lastError().text().toStdString()};
    auto fail = [&db](const std::string& why) -> Result<SchemaMigration> {
        db.rollback();
        return Error{why};
    };
    QSqlQuery lock(db);
    if (!lock.exec("SELECT pg_advisory_xact_lock(" + QString::number(kSchemaLockKey) + ")"))
        return fail(Failure(lock, "cannot lock the registry's schema"));
    Result<int> version = VersionIn(db);
    if (!version) return fail(version.error());
    if (*version > kRegistrySchemaVersion) return fail(NewerThanThis(*version));
    SchemaMigration migration{*version, std::max(*version, target)};
    for (int step = *version + 1; step <= target; ++step) {
        for (const std::string& statement : Steps()[step - 1]) {
            QSqlQuery query(db);
            if (!query.exec(QString::fromStdString(statement)))
                return fail(Failure(
                    query, "cannot migrate the registry to version " + std::to_string(step)));
        }
        QSqlQuery mark(db);
        if (!mark.exec("UPDATE vk930_schema_version SET version = " + QString::number(step)))
            return fail(Failure(mark, "cannot record the schema's version"));
    }
    if (!db.commit())
        return Error{"cannot commit the schema's migration: " +
                     db.lastError().text().toStdString()};
    return migration;
}

}  // namespace vk930
