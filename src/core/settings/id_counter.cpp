#include "core/settings/id_counter.h"

#include <memory>
#include <optional>
#include <string>

#include "core/settings/registry_key.h"

namespace vk930 {

namespace {

// Holds the store's lock and its opened key for one operation.
class LockedStore {
  public:
    LockedStore(SettingsBackendFactory& settings, StoreLock& lock) : lock_(lock) {
        if (Status s = lock_.Acquire(); !s) {
            error_ = "cannot lock the settings: " + s.error();
            return;
        }
        locked_ = true;
        backend_ = settings.Make();
        if (const int e = backend_->Open(); e != 0) {
            // The store's own words name the file; error numbers alone name nothing.
            const std::string problem = backend_->Problem();
            error_ = (problem.empty() ? "cannot open the settings (error " + std::to_string(e) + ")"
                                      : "cannot use the " + problem) +
                     ": make it readable and writable for this user, then go on with --next";
            backend_.reset();
        }
    }
    ~LockedStore() {
        if (backend_) backend_->Close();
        if (locked_) lock_.Release();
    }
    LockedStore(const LockedStore&) = delete;
    LockedStore& operator=(const LockedStore&) = delete;

    const std::string& Error() const { return error_; }
    bool Ok() const { return backend_ != nullptr; }

    int LastId() {
        const std::optional<std::int32_t> stored = backend_->Query(kValueCommId);
        return stored ? *stored : kDefaultCommId;
    }
    Status Store(int id) {
        if (!backend_->Set(kValueCommId, id)) return vk930::Error{"cannot write the settings"};
        return {};
    }

  private:
    StoreLock& lock_;
    bool locked_ = false;
    std::unique_ptr<SettingsBackend> backend_;
    std::string error_;
};

}  // namespace

Status IdCounter::StartAt(int first) {
    if (first < 0 || first > kMaxCommId)
        return Error{"CommID " + std::to_string(first) + " does not fit the terminal (0 to " +
                     std::to_string(kMaxCommId) + ")"};
    LockedStore store(settings_, lock_);
    if (!store.Ok()) return Error{store.Error()};
    const int last = store.LastId();
    if (first <= last)
        return Error{"IDs up to " + std::to_string(last) +
                     " were handed out already (\"commID\" in the settings): start from " +
                     std::to_string(last + 1) + ", or use --next"};
    return store.Store(first - 1);
}

namespace {

Result<int> NextId(LockedStore& store) {
    if (!store.Ok()) return Error{store.Error()};
    const long long next = static_cast<long long>(store.LastId()) + 1;
    if (next < 0 || next > kMaxCommId)
        return Error{"CommID " + std::to_string(next) + " does not fit the terminal (0 to " +
                     std::to_string(kMaxCommId) + "): no ID is left to hand out"};
    return static_cast<int>(next);
}

}  // namespace

Result<int> IdCounter::Reserve() {
    LockedStore store(settings_, lock_);
    Result<int> next = NextId(store);
    if (!next) return next;
    if (Status s = store.Store(*next); !s) return Error{s.error()};
    return next;
}

Result<int> IdCounter::Peek() {
    LockedStore store(settings_, lock_);
    return NextId(store);
}

}  // namespace vk930
