// The windows' boxes for the safeguards around the commands.
#include "core/app/box_proof_channel.h"

#include "core/app/proof_notices.h"

namespace vk930 {

void BoxProofChannel::ServiceLogFailed(const std::string& reason) {
    host_.MessageBox(ServiceLogFailedText(reason), kServiceLogCaption);
}

void BoxProofChannel::Refused(const std::string& text) {
    host_.MessageBox(text, kRefusedCaption);
}

// A box, not a log entry: the operation log keeps the commands' own lines.
void BoxProofChannel::Notice(const std::string& text) {
    host_.MessageBox(text, kNoticeCaption);
}

}  // namespace vk930
