#pragma once
// The registry that several benches share, on a PostgreSQL server (Qt SQL's QPSQL driver).
// The counter is one row, moved on by one statement per reservation, which inserts the reserved
// ID with it, so IDs are unique across every bench however many reserve at once. Every record
// goes to the bench's own service log first, then to an outbox file, and from there to the
// server: records made while the server cannot be reached are sent once it is back, once each
// (the server keeps a record's uuid once). Each thread talks to the server over a connection
// of its own (a Qt SQL connection serves the thread that opened it only).
#include <QSqlDatabase>
#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/registry/terminal_registry.h"
#include "platform/postgres_address.h"
#include "platform/postgres_reach.h"
#include "platform/registry_outbox.h"
#include "platform/registry_schema.h"
#include "platform/service_log_file.h"

namespace vk930 {

struct PostgresRegistryOptions {
    PostgresAddress address;
    std::string serviceLogPath;  // this bench's own log, always written
    std::string outboxPath;      // records not sent yet
    std::string bench;           // who reserves, kept with each reserved ID (the host name)
    std::string holder;          // this program, kept with its open reservations (host:pid)
    // What the technician is to know that is no failure of the call (records left waiting).
    std::function<void(const std::string&)> notice;
    // Whether the command was asked to stop: a wait for the server ends at once then.
    std::function<bool()> stopRequested;
};

class PostgresRegistry : public TerminalRegistry {
  public:
    explicit PostgresRegistry(PostgresRegistryOptions options);
    ~PostgresRegistry() override;
    PostgresRegistry(const PostgresRegistry&) = delete;
    PostgresRegistry& operator=(const PostgresRegistry&) = delete;

    // Creates the schema, or migrates it to this program's version (`vk930ctl registry init`).
    Result<SchemaMigration> Init(int target = kRegistrySchemaVersion);
    Status StartAt(int first, bool force = false) override;
    // Open reservations of programs of this bench that have ended are resolved first (a
    // terminal may carry them); those of other benches cannot be checked from here and stay
    // open. Either way no ID the registry holds is handed out again.
    Result<int> Reserve(const std::string& seriesId,
                        std::optional<int> oldId = std::nullopt) override;
    Status MarkWritten(int commId, const std::string& seriesId) override;
    Status MarkSkipped(int commId, const std::string& seriesId, const std::string& reason) override;
    Status MarkMayCarry(int commId, const std::string& seriesId, const std::string& reason,
                        const std::vector<int>& possible) override;
    Result<std::optional<JournalEntry>> RecordedFate(int commId) override;
    // Kept in the service log and the outbox; an error only when neither holds the record and
    // the server did not take it either, or the service log could not be written.
    Status Append(const ServiceRecord& record) override;
    // The records of every bench; those waiting here are sent first when the server is back.
    Result<FoundRecords> Find(const RecordQuery& query) override;
    Result<RegistrySummary> Summarize() override;
    std::string Path() const override { return serviceLog_.Path(); }
    std::string Describe() const override { return options_.address.Shown(); }

    // Sends what waits in the outbox; how many records the server took.
    Result<int> SendWaiting();

  private:
    struct Work;
    template <class T>
    Result<T> Run(const std::string& doing, const std::function<Result<T>(Work&)>& work);
    // `setUp` false: the server answered, but its schema is missing or too new; `reach`: why
    // the server was not reached.
    Result<QSqlDatabase> Connect(bool& reused, bool& setUp, ReachProblem& reach);
    Result<QSqlDatabase> OpenConnection(const std::string& name, ReachProblem& reach);
    void Disconnect();
    Status CheckSchema(QSqlDatabase& db);
    // Open reservations of this bench's programs that have ended become may-carry.
    Status ResolveEnded(Work& w);
    std::string CannotUse(const std::string& doing, const std::string& detail,
                          ReachProblem reach) const;
    Status MarkReserved(int commId, const std::string& seriesId, IdState state,
                        const std::string& reason, const std::vector<int>& possible = {});

    PostgresRegistryOptions options_;
    ServiceLogFile serviceLog_;
    RegistryOutbox outbox_;
    std::string connectionPrefix_;
    std::mutex mutex_;
    std::map<std::thread::id, std::string> connections_;  // each thread's own
    int connectionCount_ = 0;
    // The last failure to reach a server that made the command wait, and when: within
    // kReconnectPause of it no one waits for the server again, so a command waits one connect
    // time-out in all.
    std::string unreachable_;
    std::chrono::steady_clock::time_point unreachableAt_;
};

}  // namespace vk930
