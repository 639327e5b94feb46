#include "core/link/port_router.h"

namespace vk930 {

bool PortRouter::Connect(Short port, Short baud) {
    if (baud == kBaudClose) {
        CloseCurrent();
        return false;
    }
    if (current_ && currentPort_ == port) return current_->Connect(port, baud);
    CloseCurrent();
    if (port <= 0) return false;
    auto found = links_.find(port);
    if (found == links_.end()) {
        Result<std::unique_ptr<CLinkCtrl>> opened = opener_(port);
        if (!opened) {
            if (onError_) onError_("COM" + std::to_string(port) + ": " + opened.error());
            return false;
        }
        if (!opened.value()) return false;
        found = links_.emplace(port, std::move(opened.value())).first;
    }
    if (!found->second->Connect(port, baud)) return false;
    current_ = found->second.get();
    currentPort_ = port;
    return true;
}

void PortRouter::CloseCurrent() {
    if (current_) current_->Connect(currentPort_, kBaudClose);
    current_ = nullptr;
    currentPort_ = 0;
}

Short PortRouter::UploadFirmware(const std::string& path) {
    if (!current_) return kUploadNoZero;  // nothing answers: no 0x00 from a boot loader
    current_->SetUploadProgress(progress_);
    return current_->UploadFirmware(path);
}

void PortRouter::Forget() {
    CloseCurrent();
    links_.clear();
}

}  // namespace vk930
