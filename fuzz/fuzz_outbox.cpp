// The registry outbox on any file contents: counting and sending never crash, a line the
// registry refuses is kept among the refused records, and a send leaves the outbox empty.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/registry_outbox.h"

namespace {

std::string Folder() {
    static const std::string folder = [] {
        char name[] = "/tmp/vk930-fuzz-outbox-XXXXXX";
        if (!::mkdtemp(name)) std::abort();
        return std::string(name);
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = Folder() + "/outbox.jsonl";
    vk930::RegistryOutbox outbox(path);
    std::remove(outbox.RefusedPath().c_str());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::abort();
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    const long long waiting = outbox.Count();
    std::size_t offered = 0;
    // Every other line refused, as a registry refuses a record it cannot take.
    const vk930::Status sent = outbox.SendWaiting([&](const std::vector<QByteArray>& lines) {
        offered = lines.size();
        vk930::RegistryOutbox::Refusals refused;
        for (std::size_t i = 0; i < lines.size(); i += 2) refused.push_back({i, "refused"});
        return vk930::Result<vk930::RegistryOutbox::Refusals>(refused);
    });
    if (!sent.ok()) std::abort();
    if (static_cast<long long>(offered) != waiting) std::abort();
    if (outbox.Count() != 0) std::abort();
    if (outbox.RefusedCount() > waiting) std::abort();
    // A new record after whatever the file held is a line of its own.
    if (!outbox.Add("{\"uuid\":\"x\"}").ok() || outbox.Count() != 1) std::abort();
    return 0;
}
