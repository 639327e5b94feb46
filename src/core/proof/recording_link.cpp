#include "core/proof/recording_link.h"

#include <charconv>

#include "core/link/page_copy.h"
#include "core/params/page_encoding.h"

namespace vk930 {

namespace {
constexpr Short kOffsetCommIdHigh = 1;
constexpr Short kOffsetCommIdLow = 2;
constexpr Short kOffsetScanner = 35;
constexpr Short kOffsetRfid = 36;
constexpr Short kOffsetColor = 37;
constexpr Short kOffsetDisplay = 38;
}  // namespace

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

Short RecordingLink::GetDeviceType() {
    const Short type = inner_.GetDeviceType();
    if (!inner_.LastCallFailed() && type != -1) identity_.deviceType = type;
    return type;
}

std::string RecordingLink::GetVersionText() {
    std::string version = inner_.GetVersionText();
    if (!version.empty()) identity_.version = version;
    return version;
}

std::string RecordingLink::GetCommIdText() {
    std::string text = inner_.GetCommIdText();
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (!text.empty() && ec == std::errc() && end == text.data() + text.size()) SeeCommId(value);
    return text;
}

bool RecordingLink::ReadPage0(Short first, Short last) {
    if (!inner_.ReadPage0(first, last)) return false;
    // From the copy just fetched, not through GetByte: the trace stays the command's own.
    const PageCopy* copy = inner_.FetchedPages();
    if (!copy) return true;
    SeeCommId(copy->GetByte(0, kOffsetCommIdHigh) * 256 + copy->GetByte(0, kOffsetCommIdLow));
    identity_.scanner = copy->GetByte(0, kOffsetScanner);
    identity_.rfid = copy->GetByte(0, kOffsetRfid);
    identity_.color = copy->GetByte(0, kOffsetColor);
    identity_.display = copy->GetByte(0, kOffsetDisplay);
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
