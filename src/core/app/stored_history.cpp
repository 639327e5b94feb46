// Stored service records as the history shows them.
#include "core/app/stored_history.h"

#include "core/proof/record_line.h"

namespace vk930 {

Result<std::vector<HistoryRecord>> StoredHistory::Find(const RecordQuery& query) {
    Result<FoundRecords> found = find_(query);
    if (!found) return Error{found.error()};
    std::vector<HistoryRecord> records;
    for (const std::string& json : found->json) records.push_back(HistoryRecordOf(json));
    return records;
}

}  // namespace vk930
