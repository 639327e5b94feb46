#include "core/proof/recording_link.h"

#include "core/commands/terminal_identity.h"
#include "core/link/page_copy.h"
#include "core/params/page_encoding.h"

namespace vk930 {

void RecordingLink::Reset() {
    identity_ = {};
    written_.clear();
}

void RecordingLink::SeeCommId(int commId) {
    // What the command read before its first write is the terminal as it found it.
    if (written_.empty())
        identity_.commIdBefore = commId;
    else
        identity_.commIdAfter = commId;
}

void RecordingLink::Identified(const TerminalIdentity& identity) {
    identity_.deviceType = identity.deviceType;
    // An empty answer tells nothing of the firmware.
    if (!identity.versionText.empty()) identity_.version = identity.versionText;
    if (const std::optional<int> commId = RecordableCommId(identity)) SeeCommId(*commId);
    identity_.scanner = identity.scanner;
    identity_.rfid = identity.rfid;
    identity_.color = identity.color;
    identity_.display = identity.display;
}

bool RecordingLink::ReadPage0(Short first, Short last) {
    if (!inner_.ReadPage0(first, last)) return false;
    // From the copy just fetched, not through GetByte: the trace stays the command's own.
    const PageCopy* copy = inner_.FetchedPages();
    if (!copy) return true;
    SeeCommId(copy->GetByte(kCommIdPage, kCommIdHighOffset) * 256 +
              copy->GetByte(kCommIdPage, kCommIdHighOffset + 1));
    identity_.scanner = copy->GetByte(kIdentityPage, kScannerOffset);
    identity_.rfid = copy->GetByte(kIdentityPage, kRfidOffset);
    identity_.color = copy->GetByte(kIdentityPage, kColorOffset);
    identity_.display = copy->GetByte(kIdentityPage, kDisplayOffset);
    return true;
}

Short RecordingLink::WriteByte(Short offset, Short value, Short page) {
    const Short result = inner_.WriteByte(offset, value, page);
    if (WriteSucceeded(result)) written_.push_back({page, offset, value});
    return result;
}

bool RecordingLink::WriteText(Short offset, Short page, const std::string& text) {
    const bool ok = inner_.WriteText(offset, page, text);
    if (ok) AppendText(written_, page, offset, text);
    return ok;
}

}  // namespace vk930
