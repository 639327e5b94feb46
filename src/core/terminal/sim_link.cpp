#include "core/terminal/sim_link.h"

#include "core/terminal/sim_boot_loader.h"

namespace vk930 {

bool SimLink::Connect(Short port, Short baud) {
    if (baud == kBaudClose || port <= 0) {
        open_ = false;
        lastFailed_ = baud != kBaudClose;  // port 0 does not open: it only releases
        return false;
    }
    if (baud != kBaudApplication && baud != kBaudBootLoader) return Note(false);
    open_ = true;
    baud_ = baud;
    return Note(true);
}

Short SimLink::ReadInfo() {
    return Note(Answers()) ? kReadInfoAnswered : 0;
}

Short SimLink::GetDeviceType() {
    return Note(Answers()) ? static_cast<Short>(terminal_->DeviceType()) : -1;
}

std::string SimLink::GetVersionText() {
    return Note(Answers()) ? terminal_->Version() : std::string();
}

std::string SimLink::GetCommIdText() {
    if (!Note(Answers())) return {};
    const PageBytes page = terminal_->Page(0);
    return std::to_string(PageCommId(page));
}

bool SimLink::ReadPage(int page, Short first, Short last) {
    if (!Answers() || first != 0 || last != kPageSize - 1) return Note(false);
    const auto bytes = terminal_->ReadPage(page);
    if (!bytes) return Note(false);
    copy_.Store(page, *bytes);
    return Note(true);
}

Short SimLink::WriteByte(Short offset, Short value, Short page) {
    const bool written = Answers() && terminal_->WriteByte(page, offset, value);
    return Note(written) ? kWriteByteOk : kWriteByteFailed;
}

bool SimLink::WriteText(Short offset, Short page, const std::string& text) {
    return Note(Answers() && terminal_->WriteText(page, offset, text));
}

void SimLink::ResetDevice() {
    Note(Answers() && terminal_->Reset());
}

Short SimLink::UploadFirmware(const std::string& path) {
    // The terminal sits in its boot loader only on a port opened at 4800.
    const bool inBootLoader = open_ && baud_ == kBaudBootLoader && terminal_->Present();
    SimBootLoader bootLoader(*terminal_, inBootLoader);
    const Short status = RunUpload(bootLoader, path, bootFiles_, progress_, &uploadProblem_);
    Note(status == kUploadSucceeded);
    return status;
}

}  // namespace vk930
