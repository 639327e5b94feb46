#pragma once
// The id every record of a series carries: when and where it started.
#include <string>

namespace vk930 {

// "20261209-044500-bench3-12345": the local time, the host's name and the process.
std::string NewSeriesId();

}  // namespace vk930
