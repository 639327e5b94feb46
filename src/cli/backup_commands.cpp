#include "cli/backup_commands.h"

#include <QFileInfo>

#include "cli/cli_commands.h"
#include "cli/json_events.h"
#include "core/proof/backup.h"
#include "core/proof/set_of_file.h"
#include "core/proof/state_folder.h"

namespace vk930 {

QJsonObject BackupEvent(const std::string& path) {
    QJsonObject event = JsonTextEvent("backup", "path", path);
    const std::optional<BackupName> name =
        ParseBackupName(QFileInfo(QString::fromStdString(path)).fileName().toStdString());
    if (!name) return event;
    event.insert("time", QString::fromStdString(StampTime(name->stamp, 'T')));
    event.insert("comPort", name->port);
    event.insert("commId", name->commId);
    return event;
}

CommandResult RunBackups(CliSession& session, const QStringList& args) {
    std::optional<int> commId;
    if (args.size() == 2 && args[0] == "--id") {
        bool ok = false;
        const uint id = args[1].toUInt(&ok);
        if (!ok || id > 65535)
            return CommandResult::Usage("backups: --id needs a CommID from 0 to 65535");
        commId = static_cast<int>(id);
    } else if (!args.isEmpty()) {
        return CommandResult::Usage("backups takes [--id N]");
    }
    int count = 0;
    std::string table;
    for (const BackupEntry& backup : ListBackups(BackupFolder(session.view.Proof().stateFolder))) {
        if (commId && backup.name.commId != *commId) continue;
        ++count;
        if (session.host.Json())
            session.host.Emit(BackupEvent(backup.path));
        else
            table += StampTime(backup.name.stamp, ' ') + "  COM" +
                     std::to_string(backup.name.port) + "  id " +
                     std::to_string(backup.name.commId) + "  " + backup.path + '\n';
    }
    if (session.host.Json())
        session.host.Emit(JsonEvent("summary", {{"count", count}}));
    else
        session.host.Print(table);
    return CommandResult::Ran(Outcome::Success());
}

CommandResult RunRestore(CliSession& session, const QStringList& args) {
    QStringList rest = args;
    const bool force = rest.removeAll("--force") > 0;
    const bool withId = rest.removeAll("--with-id") > 0;
    if (rest.size() != 1 || rest[0].isEmpty() || rest[0].startsWith("--"))
        return CommandResult::Usage(
            "restore needs one backup FILE: restore FILE [--force [--with-id]]");
    if (withId && !force)
        return CommandResult::Usage(
            "restore: --with-id goes with --force (a backup of the terminal itself carries its "
            "own ID)");
    const std::string file = rest[0].toStdString();
    const std::optional<BackupName> name =
        ParseBackupName(QFileInfo(rest[0]).fileName().toStdString());
    if (!name && !force) {
        const std::string why = "'" + file +
                                "' is not named as a backup (<YYYYMMDD-HHMMSS>-COM<n>-id<CommID>"
                                ".pcg), so the terminal it belongs to is unknown";
        session.proofChannel.Refused(why + "; --force programs it anyway");
        return CommandResult::Ran(Outcome::Failure(OutcomeClass::kRefused, why));
    }
    FileSet restore;
    restore.file = file;
    restore.command = "restore";
    if (!force) restore.expectedCommId = name->commId;
    // Only this command may carry the backup's CommID into another terminal.
    restore.carryCommId = withId;
    const Outcome outcome = SetOfFile(session.view, restore).outcome;
    if (outcome.outcomeClass == OutcomeClass::kRefused)
        session.host.Note("restore --force programs the backup anyway");
    return CommandResult::Ran(outcome);
}

}  // namespace vk930
