#pragma once
// The series records a program left in a service log, reduced to what two runs of the same
// series share: how tests hold a window's series to vk930ctl's.
#include <string>
#include <vector>

namespace vk930::test {

// Each record of `command` "series" that `program` wrote into the service log `log` (its
// text), as compact JSON without what differs from run to run (times, the series and
// program, the backups' names, the reserved ID itself) nor the members named in `ignored`;
// the reserved IDs go to `ids` in order. With `file` given, only the records of that
// parameter file.
std::vector<std::string> SeriesRecordsOf(const std::string& log, const std::string& program,
                                         std::vector<int>& ids, const std::string& file = {},
                                         const std::vector<std::string>& ignored = {});

}  // namespace vk930::test
