#pragma once
// The progress bar vk930ctl draws on a terminal while a firmware image is sent.
#include <chrono>
#include <cstddef>
#include <string>

namespace vk930 {

inline constexpr int kProgressBarWidth = 30;

// "[#########.....................]  2048/6656 bytes  0:07 left": the bytes sent and the
// time left at the rate so far ("-:--" until there is a rate).
std::string ProgressLine(std::size_t sent, std::size_t total, std::chrono::milliseconds elapsed);

}  // namespace vk930
