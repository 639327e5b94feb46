#include "cli/cli_commands.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <optional>

#include "cli/backup_commands.h"
#include "cli/diff_command.h"
#include "cli/doctor.h"
#include "cli/history_command.h"
#include "cli/port_listing.h"
#include "cli/registry_command.h"
#include "cli/series_command.h"
#include "core/commands/commid.h"
#include "core/commands/progress.h"
#include "core/forms/form_ids.h"

namespace vk930 {

namespace {

CommandResult RunInfo(CliSession& s, const QStringList& args) {
    if (!args.isEmpty()) return CommandResult::Usage("info takes no arguments");
    return CommandResult::Ran(s.view.OnReadDeviceInfo());
}

// A whole number as typed: an optional sign, then digits.
bool IsWholeNumber(const QString& text) {
    static const QRegularExpression kNumber("^[+-]?[0-9]+$");
    return kNumber.match(text).hasMatch();
}

CommandResult RunCommId(CliSession& s, const QStringList& args) {
    if (args.size() != 1)
        return CommandResult::Usage("commid needs one argument: an ID (0 to 65535) or --next");
    if (args[0] == "--next") {
        // The field holds the stored ID, as the settings load fills it. A store that cannot
        // keep the counter is refused here, before the field changes.
        std::int32_t stored = 0;
        if (Outcome kept = StoredCommId(s.view.Context(), stored); !kept.ok())
            return CommandResult::Ran(kept);
        s.view.Form().SetText(id::kCommId, std::to_string(stored));
        s.host.ForgetFields();
        return CommandResult::Ran(s.view.OnNextCommId());
    }
    // A number outside 0 to 65535 is typed as it is: the command refuses it and says why.
    if (!IsWholeNumber(args[0]))
        return CommandResult::Usage("commid: '" + args[0].toStdString() +
                                    "' is not an ID from 0 to 65535");
    s.view.OnCommIdEdited(args[0].toStdString());
    return CommandResult::Ran(s.view.OnSetCommId());
}

// The Get dialog's port list holds COM1 to COM6: another port leaves it without a selection.
constexpr int kGetDialogPorts = 6;

CommandResult RunGet(CliSession& s, const QStringList& args) {
    QStringList rest = args;
    const bool keyed = rest.removeAll("--keyed") > 0;
    if (rest.size() != 1 || rest[0].startsWith("--"))
        return CommandResult::Usage("get needs one FILE to write: get [--keyed] FILE");
    const int port = s.state.comPort;
    const int portIndex = port >= 1 && port <= kGetDialogPorts ? port - 1 : -1;
    s.host.Answers().getParams = GetParamsDialogAnswer{true, portIndex, rest[0].toStdString()};
    return CommandResult::Ran(keyed ? s.view.OnGetParameters() : s.view.OnGet());
}

CommandResult RunSet(CliSession& s, const QStringList& options) {
    QStringList args = options;
    // --verify reads the pages back after the reset and compares every byte written.
    if (args.removeAll("--verify") > 0) s.view.Proof().verifyAfterSet = true;
    if (args.size() > 1 || (args.size() == 1 && args[0].startsWith("--")))
        return CommandResult::Usage("set takes at most one FILE to program: set [--verify] [FILE]");
    if (args.size() == 1 && args[0].isEmpty()) return CommandResult::Usage("set: FILE is empty");
    // The file becomes the document's, so the run programs it without asking; without one
    // the run's open-file dialog is answered "cancel".
    if (!args.isEmpty())
        s.state.document.m_strFilePath = args[0].toStdString();
    else
        s.host.Note("set without FILE: the file dialog is answered \"cancel\"");
    return CommandResult::Ran(s.view.OnSet());
}

// The dialog answered "Start uploading" with the file, as the file dialog gives it: a full
// path. The log only says "Can't open FW file"; the outcome's detail says why. The upload
// itself runs when the form timer expires.
CommandResult RunFirmware(CliSession& s, const QStringList& args) {
    if (args.size() != 1)
        return CommandResult::Usage("firmware needs one argument: the firmware file (hsbt*.a20)");
    const std::string file =
        args[0].isEmpty() ? std::string() : QFileInfo(args[0]).absoluteFilePath().toStdString();
    s.host.Answers().firmware = FirmwareDialogAnswer{true, file};
    s.link.SetUploadProgress(UploadProgressTo(s.host));
    return CommandResult::Ran(s.view.OnFirmwareUpdate());
}

}  // namespace

const std::vector<CliCommand>& CliCommands() {
    static const std::vector<CliCommand> kCommands = {
        {"info", "", "identify the terminal (\"&Read Device Info\")", RunInfo},
        {"commid", "ID | --next", "write a communication ID, or the stored one plus one",
         RunCommId},
        {"get", "[--keyed] FILE",
         "save the parameters to FILE, raw (\"Get\") or keyed (\"&Get...\")", RunGet},
        {"set", "[--verify] [FILE]",
         "program a parameter file into the terminal (\"Set\"), after a backup of its pages; "
         "--verify reads them back",
         RunSet},
        {"restore", "FILE [--force [--with-id]]",
         "program a backup into the terminal it was taken of (--force: into any terminal, "
         "keeping its CommID unless --with-id)",
         RunRestore},
        {"firmware", "FILE",
         "upload a firmware file (hsbt*.a20) through the boot loader (\"FirmWare update...\")",
         RunFirmware},
        {"series",
         "(--from ID [--force] | --next) [--set FILE] [--count N] [--port N[,N...]] [--no-verify]",
         "number terminals one after another, one station per port: wait, Set, next ID, check",
         RunSeries},
        {"ports", "[--assign N SPEC | --unassign N]",
         "list the serial ports present and what COM1 to COM8 reach; assign what COMN reaches",
         RunPorts, true},
        {"doctor", "[--port N]", "check why a port would not open, and the files the program needs",
         RunDoctor, true},
        {"diff", "[--all] FILE | [--all] FILE1 FILE2",
         "what a Set of FILE would change in the terminal, writing nothing; or compare two "
         "files (exit 0 same, 1 different, 2 trouble); --all shows unchanged lines too",
         RunDiff, true},
        {"backups", "[--id N]", "list the backups written before each Set", RunBackups, true},
        {"history", "[--id N] [--since DATE] [--csv]", "print the service log's records",
         RunHistory, true},
        {"registry", "init | status",
         "set up the shop's shared registry (--registry), or show what the registry holds",
         RunRegistry, true},
    };
    return kCommands;
}

const CliCommand* FindCliCommand(const std::string& name) {
    for (const CliCommand& command : CliCommands())
        if (command.name == name) return &command;
    return nullptr;
}

}  // namespace vk930
