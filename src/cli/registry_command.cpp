#include "cli/registry_command.h"

#include "cli/cli_commands.h"
#include "cli/json_events.h"
#include "platform/json_text.h"
#include "platform/postgres_registry.h"

namespace vk930 {

namespace {

CommandResult Failed(CliSession& session, OutcomeClass kind, const std::string& why) {
    session.host.Note(why);
    return CommandResult::Ran(Outcome::Failure(kind, why));
}

CommandResult Init(CliSession& session) {
    auto* shared = dynamic_cast<PostgresRegistry*>(session.registry.get());
    if (!shared)
        return Failed(session, OutcomeClass::kRefused,
                      "registry init sets up a shared registry: name it with --registry "
                      "postgresql://user@host/db (this bench's own registry, the " +
                          session.registry->Describe() + ", needs no set-up)");
    Result<SchemaMigration> done = shared->Init();
    if (!done) return Failed(session, OutcomeClass::kCommunication, done.error());
    if (session.host.Json()) {
        session.host.Emit(JsonEvent("registry", {{"registry", JsonText(shared->Describe())},
                                                 {"schemaVersion", done->to},
                                                 {"previousSchemaVersion", done->from}}));
        return CommandResult::Ran(Outcome::Success());
    }
    std::string text =
        "registry: " + shared->Describe() + "\nschema version: " + std::to_string(done->to);
    if (done->from == 0)
        text += " (created)\n";
    else if (done->from < done->to)
        text += " (migrated from version " + std::to_string(done->from) + ")\n";
    else
        text += " (already set up)\n";
    session.host.Print(text);
    return CommandResult::Ran(Outcome::Success());
}

std::string Line(const char* name, const std::optional<long long>& value) {
    return value ? std::string(name) + ": " + std::to_string(*value) + "\n" : std::string();
}

}  // namespace

std::string RegistryStatusText(const RegistrySummary& summary) {
    std::string text = "registry: " + summary.where + "\n";
    auto number = [](const std::optional<int>& value) {
        return value ? std::optional<long long>(*value) : std::nullopt;
    };
    text += Line("schema version", number(summary.schemaVersion));
    text += Line("next ID", number(summary.nextId));
    text += Line("records", summary.records);
    text += Line("IDs reserved, not yet written", summary.reserved);
    text += Line("IDs written", summary.written);
    text += Line("IDs skipped", summary.skipped);
    text += Line("IDs a terminal may carry", summary.mayCarry);
    if (!summary.waitingWhere.empty())
        text += "records waiting to be sent: " + std::to_string(summary.waiting) + " (" +
                summary.waitingWhere + ")\n";
    if (!summary.refusedWhere.empty())
        text += "records the registry refused: " + std::to_string(summary.refused) + " (" +
                summary.refusedWhere + ")\n";
    return text;
}

QJsonObject RegistryStatusEvent(const RegistrySummary& summary) {
    QJsonObject members{{"registry", JsonText(summary.where)}};
    auto put = [&members](const char* name, const auto& value) {
        if (value) members.insert(name, static_cast<qint64>(*value));
    };
    put("schemaVersion", summary.schemaVersion);
    put("nextId", summary.nextId);
    put("records", summary.records);
    put("reserved", summary.reserved);
    put("written", summary.written);
    put("skipped", summary.skipped);
    put("mayCarry", summary.mayCarry);
    if (!summary.waitingWhere.empty()) {
        members.insert("waiting", static_cast<qint64>(summary.waiting));
        members.insert("waitingPath", JsonText(summary.waitingWhere));
    }
    if (!summary.refusedWhere.empty()) {
        members.insert("refused", static_cast<qint64>(summary.refused));
        members.insert("refusedPath", JsonText(summary.refusedWhere));
    }
    return JsonEvent("registry", members);
}

CommandResult RunRegistry(CliSession& session, const QStringList& args) {
    if (args.size() != 1 || (args[0] != "init" && args[0] != "status"))
        return CommandResult::Usage("registry takes init or status");
    if (args[0] == "init") return Init(session);
    Result<RegistrySummary> summary = session.registry->Summarize();
    if (!summary) return Failed(session, OutcomeClass::kCommunication, summary.error());
    if (session.host.Json())
        session.host.Emit(RegistryStatusEvent(*summary));
    else
        session.host.Print(RegistryStatusText(*summary));
    return CommandResult::Ran(Outcome::Success());
}

}  // namespace vk930
