// Opening the registry a program uses.
#include "platform/registry_factory.h"

#include <QCryptographicHash>
#include <QSysInfo>

#include "core/proof/state_folder.h"
#include "core/registry/local_registry.h"
#include "core/settings/id_counter.h"
#include "platform/postgres_registry.h"
#include "platform/private_files.h"
#include "platform/service_log_file.h"
#include "platform/service_log_journal.h"
#include "platform/settings_file_lock.h"

namespace vk930 {

namespace {

// What a bench's own registry is made of, built before the registry that refers to it.
struct BenchParts {
    BenchParts(SettingsBackendFactory& settings, const std::string& settingsPath,
               const std::string& logPath, CounterNotice notice)
        : lock(settingsPath),
          log(logPath),
          journal(log),
          counter(settings, lock, &journal, std::move(notice)) {}
    SettingsFileLock lock;
    ServiceLogFile log;
    ServiceLogJournal journal;
    IdCounter counter;
};

class BenchRegistry : private BenchParts, public LocalRegistry {
  public:
    BenchRegistry(SettingsBackendFactory& settings, const std::string& settingsPath,
                  const std::string& logPath, CounterNotice notice)
        : BenchParts(settings, settingsPath, logPath, std::move(notice)),
          LocalRegistry(counter, log, log, "settings file '" + settingsPath + "'") {}
};

// One outbox per registry, so records wait for the server they were made for.
std::string OutboxPath(const std::string& stateFolder, const PostgresAddress& address) {
    const QByteArray digest = QCryptographicHash::hash(QByteArray::fromStdString(address.Shown()),
                                                       QCryptographicHash::Sha256);
    return stateFolder + "/registry-outbox-" + digest.toHex().left(12).toStdString() + ".jsonl";
}

// Why the registry chosen cannot be opened and what to do: the one text every front end
// shows before it refuses to run (its commands' records would have nowhere to go).
std::string UnopenedRegistryText(const RegistryChoice& choice, const std::string& cause) {
    if (choice.address)
        return "cannot open the ID registry: " + cause +
               "; give --registry a PostgreSQL address, or leave it out to use this bench's "
               "own registry";
    return "cannot open the ID registry: \"Registry\" in the settings: " + cause +
           "; correct it in the settings file '" + choice.settingsPath +
           "', or remove it to use this bench's own registry";
}

}  // namespace

std::string ChosenRegistryAddress(const RegistryChoice& choice) {
    if (choice.address) return *choice.address;
    if (!choice.settings) return {};
    std::unique_ptr<SettingsBackend> store = choice.settings->Make();
    if (store->Open() != 0) return {};
    const std::optional<std::string> stored = store->QueryText(kValueRegistry);
    store->Close();
    return stored.value_or("");
}

Result<std::unique_ptr<TerminalRegistry>> OpenRegistry(const RegistryChoice& choice) {
    // What an older version left readable by everyone is made private before it is used.
    if (const std::string tightened = TightenedNotice(TightenStateFolder(choice.stateFolder));
        !tightened.empty() && choice.notice)
        choice.notice(tightened);
    const std::string address = ChosenRegistryAddress(choice);
    const std::string logPath = ServiceLogPath(choice.stateFolder);
    if (address.empty()) {
        if (!choice.settings)
            return Error{
                "cannot open the ID registry: no settings store holds this bench's counter"};
        return std::unique_ptr<TerminalRegistry>(std::make_unique<BenchRegistry>(
            *choice.settings, choice.settingsPath, logPath, choice.notice));
    }
    Result<PostgresAddress> parsed = ParsePostgresAddress(address);
    if (!parsed) return Error{UnopenedRegistryText(choice, parsed.error())};
    PostgresRegistryOptions options;
    options.address = *parsed;
    options.serviceLogPath = logPath;
    options.outboxPath = OutboxPath(choice.stateFolder, *parsed);
    options.bench = QSysInfo::machineHostName().toStdString();
    options.holder = ThisHolder();
    options.notice = choice.notice;
    options.stopRequested = choice.stopRequested;
    return std::unique_ptr<TerminalRegistry>(std::make_unique<PostgresRegistry>(options));
}

}  // namespace vk930
