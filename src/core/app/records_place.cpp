// Where a window's service records are.
#include "core/app/records_place.h"

namespace vk930 {

std::string RecordsPlace::Where() const {
    if (!registry) return "no service records";
    if (!sharedRegistry.empty()) return "the shared registry " + sharedRegistry;
    return "this bench (" + registry->Path() + ")";
}

std::string RecordsPlace::Problem() const {
    return problem.value_or("the service records cannot be opened");
}

Result<FoundRecords> RecordsPlace::Find(const RecordQuery& query) const {
    if (!registry) return Error{problem.value_or("no service records")};
    return registry->Find(query);
}

}  // namespace vk930
