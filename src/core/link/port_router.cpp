#include "core/link/port_router.h"

namespace vk930 {

CLinkCtrl& PortRouter::Target() const {
    if (current_) return *current_;
    if (last_) return *last_;
    return nothing_;
}

bool PortRouter::Connect(Short port, Short baud) {
    if (port > 0 && baud != kBaudClose) return Open(port, baud);
    const auto own = links_.find(port);
    CLinkCtrl& link = own != links_.end() ? *own->second : Target();
    // The links release on a close and on port 0; none opens on either.
    if (&link == current_) current_ = nullptr;
    if (&link != &nothing_) last_ = &link;
    return link.Connect(port, baud);
}

bool PortRouter::Open(Short port, Short baud) {
    if (current_ && currentPort_ != port) {
        // One port at a time, as with one link control.
        current_->Connect(currentPort_, kBaudClose);
        current_ = nullptr;
    }
    auto found = links_.find(port);
    if (found == links_.end()) {
        Result<std::unique_ptr<CLinkCtrl>> opened = opener_(port);
        if (!opened) {
            if (onError_) onError_("COM" + std::to_string(port) + ": " + opened.error());
            last_ = nullptr;
            return false;
        }
        if (!opened.value()) {
            last_ = nullptr;
            return false;
        }
        found = links_.emplace(port, std::move(opened.value())).first;
    }
    last_ = found->second.get();
    if (!last_->Connect(port, baud)) {
        current_ = nullptr;
        return false;
    }
    current_ = last_;
    currentPort_ = port;
    return true;
}

Short PortRouter::UploadFirmware(const std::string& path) {
    CLinkCtrl& link = Target();
    link.SetUploadProgress(progress_);
    return link.UploadFirmware(path);
}

void PortRouter::Forget() {
    if (current_) current_->Connect(currentPort_, kBaudClose);
    current_ = nullptr;
    last_ = nullptr;
    links_.clear();
}

}  // namespace vk930
