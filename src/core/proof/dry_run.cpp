#include "core/proof/dry_run.h"

#include "core/commands/app_state.h"
#include "core/commands/command_context.h"
#include "core/commands/command_steps.h"
#include "core/commands/form_model.h"
#include "core/commands/quiet_host.h"
#include "core/commands/set_command.h"
#include "core/params/parameter_file.h"

namespace vk930 {

namespace {

// Where the run is: its log and its writes in one order, so that each write and warning is
// known to belong to the line echoed before it (or, at the end, to the function key).
class DryRunRecorder {
  public:
    void Entry(const std::string& text, int kind, EntrySeverity severity) {
        if (text == "Writing parameters to Device.." && kind == kIconProgress) {
            inLines_ = true;
            return;
        }
        if (text == "Writing function keys..!" && kind == kIconProgress) {
            inLines_ = false;
            inKeys_ = true;
            return;
        }
        if (inLines_ && kind == kIconProgress) {
            run_.lines.push_back({text, {}, {}});
            current_ = &run_.lines.back();
            if (GetKey(text) == kEndKey) run_.sawEnd = true;
            return;
        }
        if (inKeys_ && kind == kIconProgress && text.starts_with("F-key: ")) {
            current_ = FunctionKeyLine(std::stoi(text.substr(7)) + 1);
            return;
        }
        if (kind == kIconFailure) {
            if (current_ && severity == EntrySeverity::kWarning)
                current_->warnings.push_back(text);
            else
                failures_ += (failures_.empty() ? "" : "; ") + text;
        }
    }
    void Write(int page, int offset, const std::string& bytes) {
        WrittenBytes here;
        AppendText(here, page, offset, bytes);
        run_.written.insert(run_.written.end(), here.begin(), here.end());
        if (current_) current_->writes.insert(current_->writes.end(), here.begin(), here.end());
    }
    DryRun& Run() { return run_; }
    const std::string& Failures() const { return failures_; }

  private:
    // The last F<n>TXT line of the file: the text a key's record is written from.
    DryRunLine* FunctionKeyLine(int n) {
        const std::string key = "F" + std::to_string(n) + "TXT";
        for (auto it = run_.lines.rbegin(); it != run_.lines.rend(); ++it)
            if (GetKey(it->text) == key) return &*it;
        return nullptr;
    }

    DryRun run_;
    DryRunLine* current_ = nullptr;
    bool inLines_ = false;
    bool inKeys_ = false;
    std::string failures_;
};

class DryRunHost : public QuietHost {
  public:
    DryRunHost(DryRunRecorder& recorder, std::string file)
        : recorder_(recorder), file_(std::move(file)) {}
    void AppendLog(std::string text, int kind) override {
        recorder_.Entry(text, kind, SeverityOfKind(kind));
    }
    void AppendEntry(std::string text, int kind, EntrySeverity severity) override {
        recorder_.Entry(text, kind, severity);
    }
    FileDialogAnswer RunFileDialog(const FileDialogRequest&) override { return {true, file_}; }

  private:
    DryRunRecorder& recorder_;
    std::string file_;
};

// A terminal that is always there and takes every write into the copy. Reads answer from the
// pages as given, as a link's page copy answers from the pages as last fetched.
class DryRunLink : public CLinkCtrl {
  public:
    DryRunLink(const Pages& pages, DryRunRecorder& recorder) : after_(pages), recorder_(recorder) {
        fetched_.Store(0, pages[0]);
        fetched_.Store(1, pages[1]);
    }
    bool Connect(Short, Short baud) override { return baud != kBaudClose; }
    Short ReadInfo() override { return kReadInfoAnswered; }
    Short GetDeviceType() override { return kDeviceTypeHandTerminal; }
    std::string GetVersionText() override { return {}; }
    std::string GetCommIdText() override { return {}; }
    bool ReadPage0(Short, Short) override { return true; }
    bool ReadPage1(Short, Short) override { return true; }
    Short GetByte(Short page, Short offset) override { return fetched_.GetByte(page, offset); }
    std::string GetText(Short offset, Short page, Short length) override {
        return fetched_.GetText(offset, page, length);
    }
    Short WriteByte(Short offset, Short value, Short page) override {
        if (value < 0 || value > 255) return kWriteByteFailed;
        return Store(page, offset, std::string(1, static_cast<char>(value))) ? kWriteByteOk
                                                                             : kWriteByteFailed;
    }
    bool WriteText(Short offset, Short page, const std::string& text) override {
        return Store(page, offset, text);
    }
    void ResetDevice() override {}
    Short UploadFirmware(const std::string&) override { return 0; }
    const Pages& After() const { return after_; }

  private:
    bool Store(int page, int offset, const std::string& bytes) {
        if (page < 0 || page > 1 || offset < 0 ||
            offset + static_cast<long>(bytes.size()) > kPageSize)
            return false;
        for (size_t i = 0; i < bytes.size(); ++i)
            after_[page][offset + i] = static_cast<std::uint8_t>(bytes[i]);
        recorder_.Write(page, offset, bytes);
        return true;
    }

    PageCopy fetched_;
    Pages after_;
    DryRunRecorder& recorder_;
};

}  // namespace

DryRun RunDrySet(const Pages& pages, const std::string& file, SettingsBackendFactory& settings) {
    DryRunRecorder recorder;
    DryRunHost host(recorder, file);
    DryRunLink link(pages, recorder);
    AppState state;
    FormModel form(host);
    const CommandContext ctx{host, state, form, link, settings, nullptr};
    const SetRun set = OnSetParameters(ctx);
    DryRun run = std::move(recorder.Run());
    run.before = pages;
    run.after = link.After();
    run.completed = set.outcome.ok();
    if (!run.completed)
        run.problem = recorder.Failures().empty() ? set.outcome.detail : recorder.Failures();
    return run;
}

}  // namespace vk930

namespace vk930 {

Outcome FetchTerminalPages(const CommandContext& ctx, std::optional<Pages>& pages) {
    if (Outcome identified = ConnectAndIdentify(ctx); !identified.ok()) return identified;
    if (Outcome fetched = FetchBothPages(ctx); !fetched.ok()) return fetched;
    pages = FetchedPagesOf(ctx.link);
    ClosePort(ctx);
    if (!pages) return Outcome::Failure(OutcomeClass::kCommunication, "the link keeps no pages");
    return Outcome::Success();
}

}  // namespace vk930
