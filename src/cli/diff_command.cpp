#include "cli/diff_command.h"

#include <QFileInfo>
#include <iostream>

#include "cli/cli_commands.h"
#include "core/proof/diff_report.h"
#include "core/proof/dry_run.h"
#include "core/proof/offline_diff.h"

namespace vk930 {

namespace {

constexpr int kExitTrouble = 2;

CommandResult Trouble(CliSession& session, OutcomeClass c, const std::string& why) {
    session.host.Note("diff: " + why);
    CommandResult result = CommandResult::Ran(Outcome::Failure(c, why));
    result.exitStatus = kExitTrouble;
    return result;
}

// A file the dry run could not read is trouble, not a difference.
bool Readable(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && info.isReadable();
}

// Differences are a result, not a failure: the outcome is success, the status 1.
CommandResult Report(const DiffReport& report) {
    std::cout << FormatDiff(report) << std::flush;
    CommandResult result = CommandResult::Ran(Outcome::Success());
    result.exitStatus = report.Differs() ? kExitFailure : kExitSuccess;
    return result;
}

CommandResult DiffAgainstTerminal(CliSession& session, const std::string& file) {
    const std::optional<Pages> pages = session.view.OnFetchPagesForDryRun(file);
    if (!pages) {
        CommandResult result = Trouble(session, session.view.LastOutcome().outcomeClass,
                                       "the terminal's pages could not be fetched");
        return result;
    }
    const DryRun run = RunDrySet(*pages, file, session.settings);
    if (!run.completed)
        return Trouble(session, OutcomeClass::kFile, "'" + file + "': " + run.problem);
    return Report(CompareDryRun(run));
}

}  // namespace

CommandResult RunDiff(CliSession& session, const QStringList& args) {
    if (args.isEmpty() || args.size() > 2 || args[0].startsWith("--") ||
        (args.size() == 2 && args[1].startsWith("--")))
        return CommandResult::Usage("diff needs FILE (against the terminal) or FILE1 FILE2");
    for (const QString& file : args)
        if (!Readable(file))
            return Trouble(session, OutcomeClass::kFile,
                           "cannot read '" + file.toStdString() + "'");
    if (args.size() == 1) return DiffAgainstTerminal(session, args[0].toStdString());
    std::string problem;
    const DiffReport report =
        CompareFiles(args[0].toStdString(), args[1].toStdString(), session.settings, problem);
    if (!problem.empty()) return Trouble(session, OutcomeClass::kFile, problem);
    return Report(report);
}

}  // namespace vk930
