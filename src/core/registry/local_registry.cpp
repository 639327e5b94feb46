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

}  // namespace vk930
