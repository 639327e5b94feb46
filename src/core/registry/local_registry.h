#pragma once
// The registry of a single bench: the settings store's counter and the journal of IDs in the
// bench's service log, beside the terminals' service records.
#include "core/registry/terminal_registry.h"
#include "core/settings/id_counter.h"

namespace vk930 {

class LocalRegistry : public TerminalRegistry {
  public:
    LocalRegistry(IdCounter& counter, ServiceLogSink& log, std::string storeName)
        : counter_(counter), log_(log), storeName_(std::move(storeName)) {}
    // `records` searches what `log` stores; without it Find and Summarize cannot count records.
    LocalRegistry(IdCounter& counter, ServiceLogSink& log, const RecordSource& records,
                  std::string storeName)
        : counter_(counter), log_(log), records_(&records), storeName_(std::move(storeName)) {}

    Status StartAt(int first, bool force = false) override {
        return counter_.StartAt(first, force);
    }
    Result<int> Reserve(const std::string& seriesId,
                        std::optional<int> oldId = std::nullopt) override;
    Status MarkWritten(int commId, const std::string& seriesId) override;
    Status MarkSkipped(int commId, const std::string& seriesId, const std::string& reason) override;
    Status MarkMayCarry(int commId, const std::string& seriesId, const std::string& reason,
                        const std::vector<int>& possible) override;
    Result<std::optional<JournalEntry>> RecordedFate(int commId) override;
    Status Append(const ServiceRecord& record) override { return log_.Append(record); }
    Result<FoundRecords> Find(const RecordQuery& query) override;
    Result<RegistrySummary> Summarize() override;
    std::string Path() const override { return log_.Path(); }
    std::string Describe() const override { return storeName_; }

  private:
    Status Mark(JournalEntry entry);

    IdCounter& counter_;
    ServiceLogSink& log_;
    const RecordSource* records_ = nullptr;
    std::string storeName_;
};

}  // namespace vk930
