#include "core/terminal/boot_wire_terminal.h"

#include <algorithm>

#include "core/wire/boot_wire.h"
#include "core/wire/wire_protocol.h"

namespace vk930 {

namespace {

// A block's address and bytes; nullopt when the payload holds no byte.
std::optional<ImageSegment> BlockOf(const Bytes& payload) {
    if (payload.size() <= 4) return std::nullopt;
    return ImageSegment{boot::GetUint32(payload, 0), Bytes(payload.begin() + 4, payload.end())};
}

}  // namespace

BootWireTerminal::BootWireTerminal(TerminalModel& terminal, std::shared_ptr<WireFaultGate> faults)
    : loader_(terminal, terminal.Present()),
      faults_(faults ? std::move(faults) : std::make_shared<WireFaultGate>(WireFaults{})) {
    if (loader_.AwaitReady()) phase_ = Phase::kWaiting;
}

WireOutput BootWireTerminal::Receive(std::span<const std::uint8_t> bytes) {
    if (phase_ == Phase::kSilent || faults_->Stalled()) return {};
    if (phase_ == Phase::kWaiting) return {Sync(bytes)};
    return faults_->Serve(reader_, bytes, [this](const Frame& request) {
        return std::optional<Frame>(Answer(request));
    });
}

Bytes BootWireTerminal::Sync(std::span<const std::uint8_t> bytes) {
    if (std::find(bytes.begin(), bytes.end(), boot::kSync) == bytes.end()) return {};
    if (!loader_.Sync()) return {};
    phase_ = Phase::kSynced;
    return {boot::kSyncAnswer};
}

// A repeat of the request done last is answered from memory, not done twice.
Frame BootWireTerminal::Answer(const Frame& request) {
    if (std::optional<Frame> again = memory_.Recall(request)) return *again;
    return memory_.Remember(request, Execute(AnswerMemory::Plain(request)));
}

Bytes BootWireTerminal::Execute(const Frame& request) {
    bool done = false;
    switch (request.command) {
        case boot::kBootBlock:
            done = TakeBootBlock(request.payload);
            break;
        case boot::kBootRun:
            done = loader_.SendBootFile(bootFile_);
            break;
        case boot::kErase:
            done = loader_.Erase();
            break;
        case boot::kWriteBlock:
            done = WriteBlock(request.payload);
            break;
        case boot::kVerify:
            done = Verify(request.payload);
            break;
        default:
            return {wire::kStatusUnknownCommand};
    }
    return {done ? wire::kStatusOk : wire::kStatusRefused};
}

bool BootWireTerminal::TakeBootBlock(const Bytes& payload) {
    std::optional<ImageSegment> block = BlockOf(payload);
    if (!block) return false;
    auto& segments = bootFile_.segments;
    if (!segments.empty() &&
        segments.back().address + segments.back().bytes.size() == block->address)
        segments.back().bytes.insert(segments.back().bytes.end(), block->bytes.begin(),
                                     block->bytes.end());
    else
        segments.push_back(std::move(*block));
    return true;
}

bool BootWireTerminal::WriteBlock(const Bytes& payload) {
    std::optional<ImageSegment> block = BlockOf(payload);
    return block && loader_.WriteBlock(block->address, block->bytes);
}

bool BootWireTerminal::Verify(const Bytes& payload) {
    if (payload.size() < 8) return false;
    // The boot loader checks its flash against the host's count and CRC.
    const FirmwareImage& flash = loader_.Flash();
    const bool same = flash.ByteCount() == boot::GetUint32(payload, 0) &&
                      boot::ImageCrc32(flash) == boot::GetUint32(payload, 4);
    const std::string version(payload.begin() + 8, payload.end());
    return same && loader_.Verify(flash, version);
}

}  // namespace vk930
