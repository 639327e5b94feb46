#include "cli/registry_command.h"

#include <iostream>

#include "cli/cli_commands.h"
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
    std::cout << "registry: " << shared->Describe() << "\nschema version: " << done->to;
    if (done->from == 0)
        std::cout << " (created)\n";
    else if (done->from < done->to)
        std::cout << " (migrated from version " << done->from << ")\n";
    else
        std::cout << " (already set up)\n";
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
    if (!summary.waitingWhere.empty())
        text += "records waiting to be sent: " + std::to_string(summary.waiting) + " (" +
                summary.waitingWhere + ")\n";
    if (!summary.refusedWhere.empty())
        text += "records the registry refused: " + std::to_string(summary.refused) + " (" +
                summary.refusedWhere + ")\n";
    return text;
}

CommandResult RunRegistry(CliSession& session, const QStringList& args) {
    if (args.size() != 1 || (args[0] != "init" && args[0] != "status"))
        return CommandResult::Usage("registry takes init or status");
    if (args[0] == "init") return Init(session);
    Result<RegistrySummary> summary = session.registry->Summarize();
    if (!summary) return Failed(session, OutcomeClass::kCommunication, summary.error());
    std::cout << RegistryStatusText(*summary) << std::flush;
    return CommandResult::Ran(Outcome::Success());
}

}  // namespace vk930
