#pragma once
// The shop's registry of terminals: the next-ID counter of a series and the record of every
// command. A single bench keeps it in its settings store ("commID") and its service log; several
// benches share one on a database server. Any call may fail (a store or a server that cannot
// be reached); a series then stops before its next reservation and never falls back to another
// counter, since that would hand out IDs twice.
#include <string>

#include "core/base/result.h"
#include "core/proof/service_record.h"

namespace vk930 {

class TerminalRegistry : public ServiceLogSink {
  public:
    // Makes `first` the next ID to hand out. Refused when `first` does not fit a terminal or
    // IDs from `first` on were handed out already.
    virtual Status StartAt(int first) = 0;
    // The next ID for a terminal of `seriesId`, stored durably before it is returned, so it is
    // never handed out again, whatever happens to its terminal.
    virtual Result<int> Reserve(const std::string& seriesId) = 0;
    // What became of a reserved ID: its bytes went into a terminal, or it was skipped (the
    // write failed, the terminal was pulled) for `reason`. A skipped ID is never reused.
    virtual Status MarkWritten(int commId, const std::string& seriesId) = 0;
    virtual Status MarkSkipped(int commId, const std::string& seriesId,
                               const std::string& reason) = 0;
    // Where the registry lives, for messages: the settings file, a database address.
    virtual std::string Describe() const = 0;
};

}  // namespace vk930
