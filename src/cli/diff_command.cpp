#include "cli/diff_command.h"

#include <QFileInfo>
#include <QJsonArray>

#include "cli/cli_commands.h"
#include "cli/json_events.h"
#include "core/proof/diff_report.h"
#include "core/proof/dry_run.h"
#include "core/proof/offline_diff.h"
#include "platform/json_text.h"

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

QJsonObject ChangeEvent(const KeyChange& change) {
    QJsonArray warnings;
    for (const std::string& warning : change.warnings) warnings.append(JsonText(warning));
    return JsonEvent("change", {{"line", JsonText(change.line)},
                                {"key", JsonText(change.key)},
                                {"before", JsonText(change.before)},
                                {"after", JsonText(change.after)},
                                {"changed", change.changed},
                                {"ignored", change.ignored},
                                {"warnings", warnings}});
}

void EmitDiff(TerminalHost& host, const DiffReport& report, DiffLines lines) {
    int count = 0;
    for (const KeyChange& change : report.keys)
        if (Shown(change, lines)) {
            host.Emit(ChangeEvent(change));
            ++count;
        }
    host.Emit(JsonEvent("summary", {{"count", count},
                                    {"changed", report.changed},
                                    {"unchanged", report.unchanged},
                                    {"warnings", report.warnings},
                                    {"ignored", report.ignored},
                                    {"sawEnd", report.sawEnd}}));
}

// Differences are a result, not a failure: the outcome is success, the status 1.
CommandResult Report(TerminalHost& host, const DiffReport& report, DiffLines lines) {
    if (host.Json())
        EmitDiff(host, report, lines);
    else
        host.Print(FormatDiff(report, lines));
    CommandResult result = CommandResult::Ran(Outcome::Success());
    result.exitStatus = report.Differs() ? kExitFailure : kExitSuccess;
    return result;
}

CommandResult DiffAgainstTerminal(CliSession& session, const std::string& file, DiffLines lines) {
    const std::optional<Pages> pages = session.view.OnFetchPagesForDryRun(file);
    if (!pages) {
        CommandResult result = Trouble(session, session.view.LastOutcome().outcomeClass,
                                       "the terminal's pages could not be fetched");
        return result;
    }
    const DryRun run = RunDrySet(*pages, file, session.settings);
    if (!run.completed)
        return Trouble(session, OutcomeClass::kFile, "'" + file + "': " + run.problem);
    return Report(session.host, CompareDryRun(run), lines);
}

}  // namespace

CommandResult RunDiff(CliSession& session, const QStringList& options) {
    QStringList args = options;
    // --all: every line of the file, unchanged ones too.
    const DiffLines lines = args.removeAll("--all") > 0 ? DiffLines::kAll : DiffLines::kNotable;
    if (args.isEmpty() || args.size() > 2 || args[0].startsWith("--") ||
        (args.size() == 2 && args[1].startsWith("--")))
        return CommandResult::Usage(
            "diff needs FILE (against the terminal) or FILE1 FILE2: diff [--all] FILE [FILE2]");
    for (const QString& file : args)
        if (!Readable(file))
            return Trouble(session, OutcomeClass::kFile,
                           "cannot read '" + file.toStdString() + "'");
    if (args.size() == 1) return DiffAgainstTerminal(session, args[0].toStdString(), lines);
    std::string problem;
    const DiffReport report =
        CompareFiles(args[0].toStdString(), args[1].toStdString(), session.settings, problem);
    if (!problem.empty()) return Trouble(session, OutcomeClass::kFile, problem);
    return Report(session.host, report, lines);
}

}  // namespace vk930
