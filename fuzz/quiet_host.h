#pragma once
// The fuzzers' host: shows nothing and cancels every dialog, so commands run at full speed;
// the working folder is always "/" and can be changed, so the Set's folder steps run too.
#include "core/commands/quiet_host.h"

namespace vk930::fuzz {

class QuietHost : public vk930::QuietHost {
  public:
    std::optional<std::string> CurrentDirectory() override { return "/"; }
    bool SetCurrentDirectory(const std::string&) override { return true; }
};

}  // namespace vk930::fuzz
