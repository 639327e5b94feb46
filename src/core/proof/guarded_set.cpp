#include "core/proof/guarded_set.h"

#include <chrono>

#include "core/commands/command_steps.h"
#include "core/commands/set_command.h"
#include "core/proof/backup.h"
#include "core/proof/fetched_pages.h"
#include "core/proof/state_folder.h"
#include "core/proof/verification.h"

namespace vk930 {

namespace {

// Refuses a restore onto a terminal whose CommID is not the backup's.
Outcome CheckRestoreTarget(const CommandContext& ctx, ProofOptions& options,
                           ProofChannel& channel) {
    options.refusedCommId.reset();
    if (!options.expectedCommId) return Outcome::Success();
    const std::optional<Pages> fetched = FetchedPagesOf(ctx.link);
    PagesSource pages(fetched.value_or(Pages{}));
    const int found = CommIdOfPages(pages);
    if (found == *options.expectedCommId) return Outcome::Success();
    options.refusedCommId = found;
    const std::string why = "the terminal's CommID is " + std::to_string(found) +
                            ", the backup was taken of CommID " +
                            std::to_string(*options.expectedCommId);
    channel.Refused(why);
    ClosePort(ctx);
    return Outcome::Failure(OutcomeClass::kRefused, why);
}

Outcome BackUpPages(const CommandContext& ctx, const ProofOptions& options,
                    CommandRecorder& recorder, ProofChannel& channel) {
    if (!options.backupBeforeSet) return Outcome::Success();
    const std::optional<Pages> fetched = FetchedPagesOf(ctx.link);
    PagesSource pages(fetched.value_or(Pages{}));
    const Result<std::string> path =
        fetched ? WriteBackup(BackupFolder(options.stateFolder), pages, ctx.state.comPort,
                              std::chrono::system_clock::now())
                : Result<std::string>(Error{"the link keeps no copy of the pages"});
    if (!path) {
        ctx.Log("Cannot write the backup: " + path.error(), kIconFailure);
        ctx.host.Beep();
        ClosePort(ctx);
        return Outcome::Failure(OutcomeClass::kFile, "cannot write the backup: " + path.error());
    }
    recorder.NoteBackup(path.value());
    channel.BackupWritten(path.value());
    return Outcome::Success();
}

}  // namespace

Outcome GuardedSet(const CommandContext& ctx, ProofOptions& options, CommandRecorder& recorder,
                   ProofChannel& channel) {
    const BeforeSetRun beforeRun = [&](const CommandContext& c) {
        if (Outcome target = CheckRestoreTarget(c, options, channel); !target.ok()) return target;
        return BackUpPages(c, options, recorder, channel);
    };
    if (Outcome set = OnSet(ctx, beforeRun); !set.ok()) return set;
    if (!options.verifyAfterSet) return Outcome::Success();
    if (options.verifying) options.verifying();
    const VerifyResult verified = VerifyWrites(ctx, recorder.Written());
    if (!verified.ok)
        return Outcome::Failure(OutcomeClass::kCommunication,
                                "verification failed: " + verified.detail);
    return Outcome::Success();
}

}  // namespace vk930
