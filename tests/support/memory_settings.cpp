#include "support/memory_settings.h"

namespace vk930::test {

namespace {

class MemoryBackend : public SettingsBackend {
  public:
    explicit MemoryBackend(MemorySettings& store) : store_(store) {}
    int Open() override {
        ++store_.opens;
        return store_.openError;
    }
    std::optional<std::int32_t> Query(const std::string& name) override {
        const auto found = store_.values.find(name);
        if (found == store_.values.end()) return std::nullopt;
        return found->second;
    }
    bool Set(const std::string& name, std::int32_t value) override {
        if (store_.setFails) return false;
        store_.values[name] = value;
        if (store_.events)
            store_.events->push_back("settings " + name + "=" + std::to_string(value));
        return true;
    }
    std::optional<std::string> QueryText(const std::string& name) override {
        const auto found = store_.texts.find(name);
        if (found == store_.texts.end()) return std::nullopt;
        return found->second;
    }
    bool SetText(const std::string& name, const std::string& text) override {
        if (store_.setFails) return false;
        store_.texts[name] = text;
        return true;
    }
    void Close() override { ++store_.closes; }
    std::string Problem() const override { return store_.problem; }

  private:
    MemorySettings& store_;
};

}  // namespace

std::unique_ptr<SettingsBackend> MemorySettings::Make() {
    return std::make_unique<MemoryBackend>(*this);
}

}  // namespace vk930::test
