#pragma once
// The boxes both windows show for the safeguards around the commands: a service log that cannot
// be written, a command refused, and a notice (the next-ID counter found set back).
#include "core/commands/host.h"
#include "core/proof/proof_channel.h"

namespace vk930 {

class BoxProofChannel : public ProofChannel {
  public:
    explicit BoxProofChannel(Host& host) : host_(host) {}
    void ServiceLogFailed(const std::string& reason) override;
    void Refused(const std::string& text) override;
    void Notice(const std::string& text) override;

  protected:
    Host& host_;
};

}  // namespace vk930
