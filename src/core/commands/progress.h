#pragma once
// Progress of a running command as the front ends show it: the upload's reports turned into
// host progress, and the time left at the rate so far.
#include <chrono>
#include <cstddef>
#include <string>

#include "core/commands/host.h"
#include "core/link/link_ctrl.h"

namespace vk930 {

// The link's upload progress as the host's Progress(kUpload, sent, total).
UploadProgress UploadProgressTo(Host& host);

// "0:31": the time left at the rate so far, "-:--" until there is a rate, "0:00" when done.
std::string TimeLeftText(std::size_t done, std::size_t total, std::chrono::milliseconds elapsed);

}  // namespace vk930
