// The shared registry on PostgreSQL.
#include "platform/postgres_registry.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>
#include <atomic>

#include "core/settings/id_counter.h"
#include "platform/service_log_journal.h"

namespace vk930 {

// One attempt at a piece of work on one connection. A statement that fails marks the attempt,
// so that a connection the server dropped since its last use is replaced and the work tried
// once more; a refusal of the registry's own (no ID left) is not retried.
struct PostgresRegistry::Work {
    QSqlDatabase db;
    bool sqlFailed = false;

    // The query prepared with `sql` and bound to `values`, run; false (and marked) on failure.
    bool Exec(QSqlQuery& query, const QString& sql, const QVariantList& values = {}) {
        if (!query.prepare(sql)) return Failed();
        for (const QVariant& value : values) query.addBindValue(value);
        if (!query.exec()) return Failed();
        return true;
    }
    // A statement that takes no values and cannot be prepared (SAVEPOINT and the like).
    bool ExecDirect(QSqlQuery& query, const QString& sql) {
        if (!query.exec(sql)) return Failed();
        return true;
    }
    bool Failed() {
        sqlFailed = true;
        return false;
    }
    Error Why(const QSqlQuery& query) const {
        const QString text = query.lastError().text().trimmed();
        return Error{text.isEmpty() ? db.lastError().text().toStdString() : text.toStdString()};
    }
};

namespace {

const QVariant kNullInt{QMetaType(QMetaType::Int)};

// A text member, empty when missing (the columns hold no NULL texts).
QVariant TextOf(const QJsonObject& object, const char* name) {
    const QString text = object.value(name).toString();
    return text.isNull() ? QString("") : text;
}

// Integers as an array literal of PostgreSQL ("{257,300}"), bound as text and cast.
QString ArrayText(const std::vector<int>& values) {
    QStringList items;
    for (int value : values) items << QString::number(value);
    return "{" + items.join(',') + "}";
}
QString ArrayText(const QJsonArray& values) {
    std::vector<int> ints;
    for (const QJsonValue& value : values) ints.push_back(value.toInt());
    return ArrayText(ints);
}

QVariant IntOrNull(const QJsonValue& value) {
    return value.isDouble() ? QVariant(value.toInt()) : kNullInt;
}

// jsonb keeps no NUL: in the column that queries use, a terminal's text that carried one shows
// its picture, as the operation log shows it; the record's own text keeps it escaped.
QJsonValue WithoutNul(const QJsonValue& value) {
    if (value.isString()) {
        QString text = value.toString();
        return text.replace(QChar(0), QChar(0x2400));
    }
    if (value.isArray()) {
        QJsonArray array;
        for (const QJsonValue& item : value.toArray()) array.append(WithoutNul(item));
        return array;
    }
    if (value.isObject()) {
        QJsonObject object;
        const QJsonObject source = value.toObject();
        for (auto it = source.begin(); it != source.end(); ++it)
            object.insert(it.key(), WithoutNul(it.value()));
        return object;
    }
    return value;
}

// Whether the server refused a statement for the values it was given (SQLSTATE class 22, data
// exception, or 23, integrity constraint violation): the same record is refused every time.
bool RefusesItsValues(const QSqlQuery& query) {
    const QString state = query.lastError().nativeErrorCode();
    return state.startsWith("22") || state.startsWith("23");
}

// How long a server that could not be reached is taken as unreachable without a new wait. A
// series that runs for hours tries again after it; a command of seconds waits only once.
constexpr std::chrono::seconds kReconnectPause{30};
// A failed connection that took this long waited for a server that does not answer.
constexpr std::chrono::seconds kSlowConnect{1};
// The longest wait for a server, however many addresses its host name has.
constexpr std::chrono::milliseconds kConnectWait{5000};

std::string ConnectionPrefix() {
    static std::atomic<int> registries{0};
    return "vk930-registry-" + std::to_string(registries++);
}

}  // namespace

PostgresRegistry::PostgresRegistry(PostgresRegistryOptions options)
    : options_(std::move(options)),
      serviceLog_(options_.serviceLogPath),
      outbox_(options_.outboxPath),
      connectionPrefix_(ConnectionPrefix()) {}

PostgresRegistry::~PostgresRegistry() {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& [thread, name] : connections_)
        QSqlDatabase::removeDatabase(QString::fromStdString(name));
}

std::string PostgresRegistry::CannotUse(const std::string& doing, const std::string& detail,
                                        ReachProblem reach) const {
    const std::string start = "cannot " + doing + ": the registry " + Describe();
    switch (reach) {
        case ReachProblem::kStopped:
            return start + " was not reached: stopped while waiting for its server";
        case ReachProblem::kLoginRefused:
            return start + " refused the login (" + OneLine(detail) +
                   "): correct the user or password in the address or in ~/.pgpass, then try "
                   "again";
        case ReachProblem::kPasswordMissing:
            return start + " asks for a password and none is given (" + OneLine(detail) +
                   "): give it in the address or in ~/.pgpass, then try again";
        default:
            return start + " cannot be used (" + OneLine(detail) +
                   "): check that its database server is running and that this PC reaches it, "
                   "and that the user and password the address or ~/.pgpass give are right; "
                   "then try again";
    }
}

Result<QSqlDatabase> PostgresRegistry::OpenConnection(const std::string& name,
                                                      ReachProblem& reach) {
    // libpq's own connect first: one wait in all, ended by a stop, and a refused login told
    // apart; Qt's driver waits per address and says only that it could not connect.
    const PostgresAddress& address = options_.address;
    const ReachResult reached = ReachPostgres(address, kConnectWait, options_.stopRequested);
    reach = reached.problem;
    if (!reached.Reached()) return Error{reached.detail};
    const QString connection = QString::fromStdString(name);
    QSqlDatabase db = QSqlDatabase::contains(connection)
                          ? QSqlDatabase::database(connection, false)
                          : QSqlDatabase::addDatabase("QPSQL", connection);
    if (!db.isValid())
        return Error{"Qt's PostgreSQL driver is missing (install the package libqt6sql6-psql)"};
    db.setDatabaseName(QString::fromStdString(address.database));
    if (!address.host.empty()) db.setHostName(QString::fromStdString(address.host));
    if (address.port) db.setPort(*address.port);
    if (!address.user.empty()) db.setUserName(QString::fromStdString(address.user));
    if (!address.password.empty()) db.setPassword(QString::fromStdString(address.password));
    // The server answered a moment ago; should it stop answering now, the wait still ends.
    db.setConnectOptions("connect_timeout=5;application_name=vk930");
    if (!db.open()) {
        reach = ReachProblem::kUnreachable;
        return Error{db.lastError().text().trimmed().toStdString()};
    }
    return db;
}

Status PostgresRegistry::CheckSchema(QSqlDatabase& db) {
    Result<int> version = RegistrySchemaVersion(db);
    if (!version) return Error{version.error()};
    if (*version == 0)
        return Error{"it holds no registry yet: set it up with 'vk930ctl --registry " + Describe() +
                     " registry init'"};
    if (*version < kRegistrySchemaVersion) {
        Result<SchemaMigration> migrated = MigrateRegistrySchema(db);
        if (!migrated) return Error{migrated.error()};
    }
    if (*version > kRegistrySchemaVersion)
        return Error{"its schema is version " + std::to_string(*version) +
                     ", newer than this program's (" + std::to_string(kRegistrySchemaVersion) +
                     "): update vk930ctl on this bench"};
    return {};
}

Result<QSqlDatabase> PostgresRegistry::Connect(bool& reused, bool& setUp, ReachProblem& reach) {
    std::string name;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto [it, added] = connections_.try_emplace(std::this_thread::get_id());
        if (added) it->second = connectionPrefix_ + "-" + std::to_string(connectionCount_++);
        name = it->second;
    }
    const QString connection = QString::fromStdString(name);
    if (QSqlDatabase::contains(connection)) {
        QSqlDatabase db = QSqlDatabase::database(connection, false);
        if (db.isOpen()) {
            reused = true;
            return db;
        }
    }
    reused = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!unreachable_.empty() &&
            std::chrono::steady_clock::now() - unreachableAt_ < kReconnectPause) {
            reach = ReachProblem::kUnreachable;
            return Error{unreachable_};
        }
    }
    const auto started = std::chrono::steady_clock::now();
    Result<QSqlDatabase> db = OpenConnection(name, reach);
    {
        // Only a server that made the command wait is not waited for again: one that refused
        // at once costs nothing to try, and may be back already; a stop says nothing of it.
        const auto now = std::chrono::steady_clock::now();
        std::lock_guard<std::mutex> lock(mutex_);
        const bool waitedInVain = !db && reach != ReachProblem::kStopped &&
                                  reach != ReachProblem::kLoginRefused &&
                                  now - started >= kSlowConnect;
        unreachable_ = waitedInVain ? db.error() : std::string();
        unreachableAt_ = now;
    }
    if (!db) return db;
    if (Status schema = CheckSchema(*db); !schema) {
        db->close();
        setUp = false;
        return Error{schema.error()};
    }
    return db;
}

void PostgresRegistry::Disconnect() {
    std::string name;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto it = connections_.find(std::this_thread::get_id());
        if (it == connections_.end()) return;
        name = it->second;
    }
    QSqlDatabase::database(QString::fromStdString(name), false).close();
}

template <class T>
Result<T> PostgresRegistry::Run(const std::string& doing,
                                const std::function<Result<T>(Work&)>& work) {
    for (int attempt = 0;; ++attempt) {
        bool reused = false, setUp = true;
        ReachProblem reach = ReachProblem::kNone;
        Result<QSqlDatabase> db = Connect(reused, setUp, reach);
        // A server that answers but holds no registry of this program's is no server problem.
        if (!db && !setUp)
            return Error{"cannot " + doing + ": the registry " + Describe() + ": " + db.error()};
        if (!db) return Error{CannotUse(doing, db.error(), reach)};
        Work step{*db};
        Result<T> result = work(step);
        if (result || !step.sqlFailed) return result;
        Disconnect();
        if (!reused || attempt > 0)
            return Error{CannotUse(doing, result.error(), ReachProblem::kUnreachable)};
    }
}

Result<SchemaMigration> PostgresRegistry::Init(int target) {
    std::string name;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        name = connectionPrefix_ + "-init";
        connections_.try_emplace(std::thread::id{}, name);
    }
    ReachProblem reach = ReachProblem::kNone;
    Result<QSqlDatabase> db = OpenConnection(name, reach);
    if (!db) return Error{CannotUse("set up the registry", db.error(), reach)};
    Result<SchemaMigration> migrated = MigrateRegistrySchema(*db, target);
    db->close();
    if (!migrated)
        return Error{"cannot set up the registry " + Describe() + ": " + migrated.error()};
    return migrated;
}

Status PostgresRegistry::StartAt(int first, bool force) {
    // The shop's counter is shared by benches this one cannot see: it is never set back.
    if (force)
        return Error{"--force does not move the counter of the shared registry " + Describe() +
                     ", which never goes back"};
    if (first < 0 || first > kMaxCommId)
        return Error{"CommID " + std::to_string(first) + " does not fit the terminal (0 to " +
                     std::to_string(kMaxCommId) + ")"};
    Result<bool> moved = Run<bool>("set the next ID", [&](Work& w) -> Result<bool> {
        QSqlQuery query(w.db);
        // Never back: IDs below the counter were handed out already.
        if (!w.Exec(query,
                    "UPDATE vk930_counter SET last_id = ? - 1 WHERE name = 'commID' AND last_id "
                    "< ? RETURNING last_id",
                    {first, first}))
            return w.Why(query);
        if (query.next()) return true;
        QSqlQuery last(w.db);
        if (!w.Exec(last, "SELECT last_id FROM vk930_counter WHERE name = 'commID'") ||
            !last.next())
            return w.Why(last);
        const int handedOut = last.value(0).toInt();
        return Error{"IDs up to " + std::to_string(handedOut) +
                     " were handed out already (the registry " + Describe() + "): start from " +
                     std::to_string(handedOut + 1) + ", or use --next"};
    });
    if (!moved) return Error{moved.error()};
    return {};
}

namespace {

// The first ID above the counter that no reservation holds, as its own or as a value a
// terminal may carry; NULL when none fits a terminal.
const QString kFreeAfterLast =
    "(SELECT c FROM generate_series(last_id + 1, " + QString::number(kMaxCommId) +
    ") AS c WHERE NOT EXISTS (SELECT 1 FROM vk930_reserved_ids r WHERE r.comm_id = c) AND NOT "
    "EXISTS (SELECT 1 FROM vk930_reserved_ids r WHERE r.possible @> ARRAY[c]) LIMIT 1)";

}  // namespace

Status PostgresRegistry::ResolveEnded(Work& w) {
    QSqlQuery open(w.db);
    if (!w.Exec(open,
                "SELECT comm_id, series_id, holder, old_id FROM vk930_reserved_ids WHERE state = "
                "'reserved' AND holder <> ''"))
        return w.Why(open);
    std::vector<JournalEntry> ended;
    while (open.next()) {
        JournalEntry entry;
        entry.commId = open.value(0).toInt();
        entry.seriesId = open.value(1).toString().toStdString();
        entry.holder = open.value(2).toString().toStdString();
        if (!open.value(3).isNull()) entry.oldId = open.value(3).toInt();
        if (HolderGoneFromThisHost(entry.holder)) ended.push_back(entry);
    }
    for (const JournalEntry& entry : ended) {
        const JournalEntry resolved = OrphanResolved(entry);
        QSqlQuery mark(w.db);
        // Only while still open: another program of this bench may have resolved it meanwhile.
        if (!w.Exec(mark,
                    "UPDATE vk930_reserved_ids SET state = 'may-carry', reason = ?, possible = "
                    "?::integer[], changed_at = now() WHERE comm_id = ? AND state = 'reserved' AND "
                    "holder = ?",
                    {QString::fromStdString(resolved.reason), ArrayText(resolved.possible),
                     entry.commId, QString::fromStdString(entry.holder)}))
            return w.Why(mark);
    }
    return {};
}

Result<int> PostgresRegistry::Reserve(const std::string& seriesId, std::optional<int> oldId) {
    // Records that waited go first, so the shop's history is complete before the next terminal;
    // a server that cannot take them is refused the reservation below in its own words.
    const Result<int> sent = SendWaiting();
    Result<int> id = Run<int>("reserve an ID", [&](Work& w) -> Result<int> {
        if (Status resolved = ResolveEnded(w); !resolved) return Error{resolved.error()};
        QSqlQuery query(w.db);
        // One statement, so one transaction: the counter's row stays locked until the ID is
        // stored with it, and every other bench waits for the next one.
        if (!w.Exec(query,
                    "WITH next AS (UPDATE vk930_counter SET last_id = " + kFreeAfterLast +
                        " WHERE name = 'commID' AND " + kFreeAfterLast +
                        " IS NOT NULL RETURNING last_id) INSERT INTO vk930_reserved_ids (comm_id, "
                        "series_id, bench, holder, old_id) SELECT last_id, ?, ?, ?, ? FROM next "
                        "RETURNING comm_id",
                    {QString::fromStdString(seriesId), QString::fromStdString(options_.bench),
                     QString::fromStdString(options_.holder), oldId ? QVariant(*oldId) : kNullInt}))
            return w.Why(query);
        if (query.next()) return query.value(0).toInt();
        return Error{"CommID " + std::to_string(kMaxCommId + 1) +
                     " does not fit the terminal (0 to " + std::to_string(kMaxCommId) +
                     "): no ID is left to hand out"};
    });
    if (!id && id.error().rfind("cannot", 0) == 0)
        return Error{id.error() +
                     "; no ID was reserved (IDs are never taken from this bench's "
                     "own counter)"};
    if (id && !sent && options_.notice) options_.notice(sent.error());
    return id;
}

Status PostgresRegistry::MarkReserved(int commId, const std::string& seriesId, IdState state,
                                      const std::string& reason, const std::vector<int>& possible) {
    const std::string stateText = ToString(state);
    Result<bool> marked = Run<bool>(
        "mark ID " + std::to_string(commId) + " " + stateText, [&](Work& w) -> Result<bool> {
            QSqlQuery query(w.db);
            // Values once held stay held: a later state adds to them, never takes any away.
            if (!w.Exec(query,
                        "UPDATE vk930_reserved_ids SET state = ?, reason = ?, possible = "
                        "ARRAY(SELECT DISTINCT v FROM unnest(possible || ?::integer[]) AS v ORDER "
                        "BY v), changed_at = now() WHERE comm_id = ? AND series_id = ?",
                        {QString::fromStdString(stateText), QString::fromStdString(reason),
                         ArrayText(possible), commId, QString::fromStdString(seriesId)}))
                return w.Why(query);
            if (query.numRowsAffected() == 0)
                return Error{"ID " + std::to_string(commId) + " was not reserved for the series " +
                             seriesId + " in the registry " + Describe()};
            return true;
        });
    if (!marked) return Error{marked.error()};
    return {};
}

Status PostgresRegistry::MarkWritten(int commId, const std::string& seriesId) {
    return MarkReserved(commId, seriesId, IdState::kWritten, "");
}

Status PostgresRegistry::MarkSkipped(int commId, const std::string& seriesId,
                                     const std::string& reason) {
    return MarkReserved(commId, seriesId, IdState::kSkipped, reason);
}

Status PostgresRegistry::MarkMayCarry(int commId, const std::string& seriesId,
                                      const std::string& reason, const std::vector<int>& possible) {
    return MarkReserved(commId, seriesId, IdState::kMayCarry, reason, possible);
}

Result<std::optional<JournalEntry>> PostgresRegistry::RecordedFate(int commId) {
    return Run<std::optional<JournalEntry>>(
        "read what became of ID " + std::to_string(commId),
        [&](Work& w) -> Result<std::optional<JournalEntry>> {
            QSqlQuery query(w.db);
            if (!w.Exec(query,
                        "SELECT state, reason, array_to_string(possible, ','), series_id, holder, "
                        "old_id FROM vk930_reserved_ids WHERE comm_id = ?",
                        {commId}))
                return w.Why(query);
            if (!query.next()) return std::optional<JournalEntry>{};
            JournalEntry entry;
            entry.commId = commId;
            entry.state = IdStateFromText(query.value(0).toString().toStdString())
                              .value_or(IdState::kReserved);
            entry.reason = query.value(1).toString().toStdString();
            for (const QString& value : query.value(2).toString().split(',', Qt::SkipEmptyParts))
                entry.possible.push_back(value.toInt());
            entry.seriesId = query.value(3).toString().toStdString();
            entry.holder = query.value(4).toString().toStdString();
            if (!query.value(5).isNull()) entry.oldId = query.value(5).toInt();
            return std::optional<JournalEntry>{entry};
        });
}

namespace {

// What one send did: how many records the server stored anew, and those it refused.
struct StoreReport {
    int stored = 0;
    RegistryOutbox::Refusals refused;
};

// The records of the outbox's lines, stored once each, in one transaction; a reserved ID that a
// record says was written or skipped is marked so, if nothing marked it yet. A line that is no
// record (a crash cut it) is left out: the bench's service log keeps the record whole. A record
// the server refuses (a value it cannot take) is rolled back alone and reported, so it holds up
// none of the others; a server that stops answering fails the whole send.
template <class Work>
Result<StoreReport> StoreRecords(Work& w, const std::vector<QByteArray>& lines) {
    if (!w.db.transaction()) {
        w.sqlFailed = true;
        return Error{w.db.lastError().text().toStdString()};
    }
    auto fail = [&w](const QSqlQuery& query) -> Result<StoreReport> {
        Error why = w.Why(query);
        w.db.rollback();
        return why;
    };
    StoreReport report;
    for (std::size_t at = 0; at < lines.size(); ++at) {
        const QJsonObject entry = QJsonDocument::fromJson(lines[at]).object();
        const QString uuid = entry.value("uuid").toString();
        const QJsonObject given = entry.value("record").toObject();
        const QJsonObject record = WithoutNul(given).toObject();
        if (QUuid(uuid).isNull() || record.isEmpty()) continue;
        QSqlQuery savepoint(w.db);
        if (!w.ExecDirect(savepoint, "SAVEPOINT vk930_record")) return fail(savepoint);
        const QJsonObject terminal = record.value("terminal").toObject();
        const QJsonObject reserved = record.value("reservedId").toObject();
        QSqlQuery insert(w.db), mark(w.db);
        const QSqlQuery* failed = nullptr;
        bool inserted = false;
        if (!w.Exec(
                insert,
                "INSERT INTO vk930_records (uuid, time, comm_id_before, comm_id_after, "
                "series_id, record, record_text) VALUES (?::uuid, ?::timestamptz, ?, ?, ?, "
                "?::jsonb, ?) ON CONFLICT (uuid) DO NOTHING",
                {uuid, record.value("time").toString(), IntOrNull(terminal.value("commIdBefore")),
                 IntOrNull(terminal.value("commIdAfter")), TextOf(record, "series"),
                 QString::fromUtf8(QJsonDocument(record).toJson(QJsonDocument::Compact)),
                 QString::fromUtf8(QJsonDocument(given).toJson(QJsonDocument::Compact))})) {
            failed = &insert;
        } else {
            inserted = insert.numRowsAffected() > 0;
            if (!reserved.isEmpty() &&
                !w.Exec(mark,
                        "UPDATE vk930_reserved_ids SET state = ?, reason = ?, possible = "
                        "ARRAY(SELECT DISTINCT v FROM unnest(possible || ?::integer[]) AS v ORDER "
                        "BY v), changed_at = now() WHERE comm_id = ? AND series_id = ? AND state = "
                        "'reserved'",
                        {TextOf(reserved, "state"), TextOf(reserved, "reason"),
                         ArrayText(reserved.value("possible").toArray()),
                         reserved.value("commId").toInt(), TextOf(record, "series")}))
                failed = &mark;
        }
        // A server that is full, busy or gone may take the record later: it stays waiting.
        if (failed && !RefusesItsValues(*failed)) return fail(*failed);
        const bool refused = failed != nullptr;
        if (refused) report.refused.push_back({at, w.Why(*failed).message});
        QSqlQuery end(w.db);
        // A server that cannot roll back the one record is gone: the send fails as a whole.
        if (!w.ExecDirect(end, refused ? "ROLLBACK TO SAVEPOINT vk930_record"
                                       : "RELEASE SAVEPOINT vk930_record"))
            return fail(end);
        if (refused) continue;
        report.stored += inserted ? 1 : 0;
    }
    // The statements that failed were the records' own, not the connection's.
    w.sqlFailed = false;
    if (!w.db.commit()) {
        w.sqlFailed = true;
        Error why{w.db.lastError().text().toStdString()};
        w.db.rollback();
        return why;
    }
    return report;
}

}  // namespace

Result<int> PostgresRegistry::SendWaiting() {
    if (outbox_.Count() == 0) return 0;
    RegistryOutbox::Refusals refused;
    std::vector<QByteArray> offered;
    Result<int> stored =
        Run<int>("send the records waiting on this bench", [&](Work& w) -> Result<int> {
            int count = 0;
            Status sent = outbox_.SendWaiting(
                [&](const std::vector<QByteArray>& lines) -> Result<RegistryOutbox::Refusals> {
                    Result<StoreReport> done = StoreRecords(w, lines);
                    if (!done) return Error{done.error()};
                    count = done->stored;
                    refused = done->refused;
                    offered = lines;
                    return done->refused;
                });
            if (!sent) return Error{sent.error()};
            return count;
        });
    if (stored && !refused.empty() && options_.notice) {
        std::string text = "the registry " + Describe() + " refused " +
                           std::to_string(refused.size()) + " record(s) of this bench (";
        for (std::size_t i = 0; i < refused.size(); ++i) {
            if (i) text += "; ";
            const QJsonObject entry = QJsonDocument::fromJson(offered[refused[i].line]).object();
            text += entry.value("uuid").toString().toStdString() + ": " + refused[i].reason;
        }
        text += "): they are kept in " + outbox_.RefusedPath() +
                " ('registry status' counts them), and every other record was sent";
        options_.notice(text);
    }
    return stored;
}

Status PostgresRegistry::Append(const ServiceRecord& record) {
    const QJsonObject json = RecordToJson(record);
    const Status local = serviceLog_.AppendLine(QJsonDocument(json).toJson(QJsonDocument::Compact));
    const QJsonObject entry{{"uuid", QUuid::createUuid().toString(QUuid::WithoutBraces)},
                            {"record", json}};
    const QByteArray line = QJsonDocument(entry).toJson(QJsonDocument::Compact);
    if (Status queued = outbox_.Add(line); !queued) {
        // The outbox cannot keep it: the server takes it now, or only the service log has it.
        Result<bool> sent = Run<bool>("send the record", [&](Work& w) -> Result<bool> {
            Result<StoreReport> done = StoreRecords(w, {line});
            if (!done) return Error{done.error()};
            if (!done->refused.empty())
                return Error{"the registry " + Describe() +
                             " refused it: " + done->refused.front().reason};
            return true;
        });
        if (!sent)
            return Error{"the record is kept in the service log " + serviceLog_.Path() + " only (" +
                         queued.error() + "; " + sent.error() + ")"};
    } else if (Result<int> sent = SendWaiting(); !sent && options_.notice) {
        const long long waiting = outbox_.Count();
        options_.notice(sent.error() + ". " + std::to_string(waiting) +
                        (waiting == 1 ? " record waits in " : " records wait in ") +
                        outbox_.Path() + " and are sent when the registry is back");
    }
    return local;
}

Result<FoundRecords> PostgresRegistry::Find(const RecordQuery& query) {
    if (Result<int> sent = SendWaiting(); !sent && options_.notice)
        options_.notice(sent.error() + ": records of this bench that wait in " + outbox_.Path() +
                        " are not shown");
    // Later than any time the server keeps: nothing matches.
    if (query.since == std::chrono::system_clock::time_point::max()) return FoundRecords{};
    return Run<FoundRecords>("read the records", [&](Work& w) -> Result<FoundRecords> {
        // The text as written; records stored before it was kept have their jsonb only.
        QString sql = "SELECT coalesce(record_text, record::text) FROM vk930_records WHERE true";
        QVariantList values;
        if (query.commId) {
            sql += " AND (comm_id_before = ? OR comm_id_after = ?)";
            values << *query.commId << *query.commId;
        }
        if (query.since) {
            sql += " AND time >= to_timestamp(? / 1000.0)";
            values << static_cast<qlonglong>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                 query.since->time_since_epoch())
                                                 .count());
        }
        sql += " ORDER BY time, seq";
        QSqlQuery rows(w.db);
        rows.setForwardOnly(true);
        if (!w.Exec(rows, sql, values)) return w.Why(rows);
        FoundRecords found;
        while (rows.next()) found.json.push_back(rows.value(0).toString().toStdString());
        return found;
    });
}

Result<RegistrySummary> PostgresRegistry::Summarize() {
    RegistrySummary summary;
    summary.where = Describe();
    summary.waitingWhere = outbox_.Path();
    summary.waiting = outbox_.Count();
    summary.refusedWhere = outbox_.RefusedPath();
    summary.refused = outbox_.RefusedCount();
    Result<bool> read = Run<bool>("read the registry", [&](Work& w) -> Result<bool> {
        QSqlQuery query(w.db);
        if (!w.Exec(query,
                    "SELECT (SELECT max(version) FROM vk930_schema_version), (SELECT last_id + 1 "
                    "FROM vk930_counter WHERE name = 'commID'), (SELECT count(*) FROM "
                    "vk930_records), (SELECT count(*) FILTER (WHERE state = 'reserved') FROM "
                    "vk930_reserved_ids), (SELECT count(*) FILTER (WHERE state = 'written') FROM "
                    "vk930_reserved_ids), (SELECT count(*) FILTER (WHERE state = 'skipped') FROM "
                    "vk930_reserved_ids), (SELECT count(*) FILTER (WHERE state = 'may-carry') FROM "
                    "vk930_reserved_ids)") ||
            !query.next())
            return w.Why(query);
        summary.schemaVersion = query.value(0).toInt();
        summary.nextId = query.value(1).toInt();
        summary.records = query.value(2).toLongLong();
        summary.reserved = query.value(3).toLongLong();
        summary.written = query.value(4).toLongLong();
        summary.skipped = query.value(5).toLongLong();
        summary.mayCarry = query.value(6).toLongLong();
        return true;
    });
    if (!read) return Error{read.error()};
    return summary;
}

}  // namespace vk930
