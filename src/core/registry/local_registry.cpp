// The registry of a single bench.
#include "core/registry/local_registry.h"

namespace vk930 {

Result<int> LocalRegistry::Reserve(const std::string& seriesId, std::optional<int> oldId) {
    return counter_.Reserve(seriesId, oldId);
}

Status LocalRegistry::Mark(JournalEntry entry) {
    return counter_.Record(entry);
}

Status LocalRegistry::MarkWritten(int commId, const std::string& seriesId) {
    return Mark({commId, IdState::kWritten, "", {}, seriesId, ""});
}

Status LocalRegistry::MarkSkipped(int commId, const std::string& seriesId,
                                  const std::string& reason) {
    return Mark({commId, IdState::kSkipped, reason, {}, seriesId, ""});
}

Status LocalRegistry::MarkMayCarry(int commId, const std::string& seriesId,
                                   const std::string& reason, const std::vector<int>& possible) {
    return Mark({commId, IdState::kMayCarry, reason, possible, seriesId, ""});
}

Result<std::optional<JournalEntry>> LocalRegistry::RecordedFate(int commId) {
    Result<JournalFacts> facts = counter_.Facts();
    if (!facts) return Error{facts.error()};
    const auto found = facts->latest.find(commId);
    if (found == facts->latest.end()) return std::optional<JournalEntry>{};
    return std::optional<JournalEntry>{found->second};
}

Result<FoundRecords> LocalRegistry::Find(const RecordQuery& query) {
    if (!records_) return Error{"the service log " + log_.Path() + " cannot be searched"};
    return records_->Find(query);
}

Result<RegistrySummary> LocalRegistry::Summarize() {
    RegistrySummary summary;
    summary.where = storeName_;
    Result<int> next = counter_.Peek();
    if (!next) return Error{next.error()};
    summary.nextId = *next;
    if (records_) {
        Result<FoundRecords> all = records_->Find({});
        if (!all) return Error{all.error()};
        summary.records = static_cast<long long>(all->json.size());
    }
    return summary;
}

}  // namespace vk930
