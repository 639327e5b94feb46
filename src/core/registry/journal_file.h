#pragma once
// The bench's service log for a program without a JSON library (the Win32 window): the journal
// of IDs and the commands' service records in one file of JSON lines, each written in the form
// the Linux service log keeps, so either program reads the other's file. Each line is written
// whole under the file's own lock (taken by every program and thread that writes the file) and
// is on the disk before the call returns.
#include <functional>
#include <string>

#include "core/proof/service_record.h"
#include "core/registry/id_journal.h"
#include "core/registry/terminal_registry.h"
#include "core/settings/id_counter.h"

namespace vk930 {

// Whether the program a holder names (host:pid) has ended; false when that cannot be known.
using HolderCheck = std::function<bool(const std::string& holder)>;

class JournalFile : public IdJournal, public ServiceLogSink, public RecordSource {
  public:
    // `holder` names this program in its reservations; `fileLock` is the file's lock, which
    // journal entries take inside the counter's.
    JournalFile(std::string path, std::string holder, HolderCheck holderGone, StoreLock& fileLock)
        : path_(std::move(path)),
          holder_(std::move(holder)),
          holderGone_(std::move(holderGone)),
          lock_(fileLock) {}

    // A missing file is an empty journal; a line that is no entry (cut by a crash, a record) is
    // left out.
    Result<std::vector<JournalEntry>> Load() override;
    // Creates the file (and its folder) for its owner alone when missing.
    Status Add(JournalEntry entry) override;
    bool HolderGone(const std::string& holder) const override;
    std::string Where() const override { return "the journal of IDs " + path_; }

    // A command's record, as one line; the reason of a failure names the file.
    Status Append(const ServiceRecord& record) override;
    std::string Path() const override { return path_; }
    // The matching records in file order (journal entries are none); a file not written yet
    // holds none.
    Result<FoundRecords> Find(const RecordQuery& query) const override;

  private:
    Status AppendLine(std::string line);
    Result<std::string> ReadAll() const;

    std::string path_;
    std::string holder_;
    HolderCheck holderGone_;
    StoreLock& lock_;
};

}  // namespace vk930
