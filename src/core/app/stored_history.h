#pragma once
// The service history read from where the records are stored (the bench's service log, the
// shared registry): their JSON objects turned into the rows the history dialog shows.
#include <functional>
#include <string>

#include "core/app/history_tool.h"

namespace vk930 {

class StoredHistory : public HistorySource {
  public:
    using Finder = std::function<Result<FoundRecords>(const RecordQuery& query)>;
    StoredHistory(Finder find, std::string where)
        : find_(std::move(find)), where_(std::move(where)) {}

    Result<std::vector<HistoryRecord>> Find(const RecordQuery& query) override;
    std::string Where() const override { return where_; }

  private:
    Finder find_;
    std::string where_;
};

}  // namespace vk930
