#pragma once
// The journal of IDs in a file of its own lines, for a bench whose program keeps no service log
// of records (the Win32 window): each entry is on the disk before Add returns. The lines have
// the service log's form, so the file reads as a service log too. Every call is made under the
// counter's lock (IdCounter), which is what keeps two programs from writing at once.
#include <functional>
#include <string>

#include "core/proof/service_record.h"
#include "core/registry/id_journal.h"

namespace vk930 {

// Whether the program a holder names (host:pid) has ended; false when that cannot be known.
using HolderCheck = std::function<bool(const std::string& holder)>;

class JournalFile : public IdJournal, public ServiceLogSink {
  public:
    // `holder` names this program in its reservations.
    JournalFile(std::string path, std::string holder, HolderCheck holderGone)
        : path_(std::move(path)), holder_(std::move(holder)), holderGone_(std::move(holderGone)) {}

    // A missing file is an empty journal; a line that is no entry (cut by a crash) is left out.
    Result<std::vector<JournalEntry>> Load() override;
    // Creates the file (and its folder) for its owner alone when missing.
    Status Add(JournalEntry entry) override;
    bool HolderGone(const std::string& holder) const override;
    std::string Where() const override { return "the journal of IDs " + path_; }

    // The file keeps the IDs' journal only: a command's record is refused, saying so.
    Status Append(const ServiceRecord& record) override;
    std::string Path() const override { return path_; }

  private:
    std::string path_;
    std::string holder_;
    HolderCheck holderGone_;
};

}  // namespace vk930
