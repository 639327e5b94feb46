#include "core/base/pending_files.h"

#include <cstring>

namespace vk930 {

int PendingFiles::Add(const std::string& path) {
    if (path.size() >= kMaxPath) return -1;
    for (std::size_t i = 0; i < kSlots; ++i) {
        Slot& slot = slots_[i];
        int expected = kFree;
        if (!slot.state.compare_exchange_strong(expected, kFilling)) continue;
        std::memcpy(slot.path.data(), path.c_str(), path.size() + 1);
        slot.state.store(kUsed);  // published only once the path is complete
        return static_cast<int>(i);
    }
    return -1;
}

void PendingFiles::Remove(int slot) {
    if (slot < 0 || static_cast<std::size_t>(slot) >= kSlots) return;
    slots_[static_cast<std::size_t>(slot)].state.store(kFree);
}

PendingFiles& TemporaryFiles() {
    static PendingFiles files;
    return files;
}

}  // namespace vk930
