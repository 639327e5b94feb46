// The registry of a single bench.
#include "core/registry/local_registry.h"

namespace vk930 {

Result<int> LocalRegistry::Reserve(const std::string& seriesId) {
    (void)seriesId;  // one counter serves every series of the bench
    return counter_.Reserve();
}

Status LocalRegistry::MarkWritten(int commId, const std::string& seriesId) {
    (void)commId;
    (void)seriesId;
    return {};
}

Status LocalRegistry::MarkSkipped(int commId, const std::string& seriesId,
                                  const std::string& reason) {
    (void)commId;
    (void)seriesId;
    (void)reason;
    return {};
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
