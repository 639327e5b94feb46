#pragma once
// Secrets a log entry may carry, kept out of what is stored and shared: the service log is
// read by whoever reads the bench's records, the shared registry by every bench. The
// operation log on screen still echoes every line as the Set read it.
#include <string>

namespace vk930 {

inline constexpr char kMaskedValue[] = "****";

// The entry's text as a record keeps it: a PASSWORD line's value is replaced by kMaskedValue
// (PASSWORD:****); every other text is unchanged.
std::string RecordedText(const std::string& entryText);

}  // namespace vk930
