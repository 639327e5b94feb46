#include "cli/terminal_host.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <thread>

#include "cli/output_format.h"
#include "cli/progress_line.h"
#include "core/base/printable_text.h"
#include "platform/json_text.h"

namespace vk930 {

namespace {

// A warning or a cancellation has the failure icon, yet is marked for what it is.
const char* EntryMark(int kind, EntrySeverity severity) {
    switch (severity) {
        case EntrySeverity::kFailure:
            return "[FAIL] ";
        case EntrySeverity::kWarning:
            return "[WARN] ";
        case EntrySeverity::kCancellation:
            return "[STOP] ";
        case EntrySeverity::kProgress:
        case EntrySeverity::kSuccess:
            break;
    }
    return kind == kIconSuccess ? "[ OK ] " : "[ .. ] ";
}

}  // namespace

TerminalHost::TerminalHost(std::ostream& out, std::ostream& err, OutputStyle style,
                           JsonEventWriter* json)
    : out_(out), err_(err), style_(json ? style : OutputStyle::kReadable), json_(json) {}

void TerminalHost::AppendLog(std::string text, int kind) {
    AppendEntry(std::move(text), kind, SeverityOfKind(kind));
}

void TerminalHost::AppendEntry(std::string text, int kind, EntrySeverity severity) {
    if (Json()) return Emit(LogEvent(text, kind, severity));
    EraseStatus();
    // Texts come from files and terminals: escaped, an entry is one line and sends nothing
    // to the terminal emulator.
    if (style_ == OutputStyle::kPorcelain)
        out_ << kind << '\t' << PrintableText(text) << '\n';
    else
        out_ << EntryMark(kind, severity) << PrintableText(text) << '\n';
    FlushOut();
}

void TerminalHost::FlushOut() {
    errno = 0;
    out_.flush();
    if (!out_ && outputProblem_.empty())
        outputProblem_ = errno != 0 ? std::strerror(errno) : "write failed";
}

void TerminalHost::Emit(const QJsonObject& event) {
    if (!json_) return;
    std::string problem = json_->Write(event, jsonPort_);
    if (!problem.empty() && outputProblem_.empty()) outputProblem_ = std::move(problem);
}

void TerminalHost::Print(const std::string& text) {
    out_ << text;
    FlushOut();
}

void TerminalHost::PrintResult(const Outcome& outcome, int exitStatus) {
    Emit(ResultEvent(outcome, exitStatus));
}

void TerminalHost::Progress(const ProgressReport& report) {
    if (Json()) return Emit(ProgressEvent(report));
    if (report.kind != ProgressKind::kUpload) return;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point now = Clock::now();
    if (!uploadStart_) uploadStart_ = now;
    ShowStatus(
        ProgressLine(report.done, report.total,
                     std::chrono::duration_cast<std::chrono::milliseconds>(now - *uploadStart_)));
}

void TerminalHost::PrintOutcome(const Outcome& outcome) {
    if (Json()) return;
    if (style_ == OutputStyle::kPorcelain) {
        out_ << '=' << ToString(outcome.outcomeClass);
        if (!outcome.detail.empty()) out_ << '\t' << PrintableText(outcome.detail);
        out_ << '\n';
        FlushOut();
    } else if (!outcome.ok()) {
        if (outcome.outcomeClass == OutcomeClass::kRefused && outcome.detail == refusalSaid_)
            return;
        EraseStatus();
        err_ << "vk930ctl: " << ToString(outcome.outcomeClass);
        if (!outcome.detail.empty()) err_ << ": " << PrintableText(outcome.detail);
        err_ << '\n' << std::flush;
    }
}

void TerminalHost::ShowStatus(const std::string& line) {
    if (Json() || !isatty(STDERR_FILENO)) return;
    err_ << '\r' << line << "\x1b[K" << std::flush;
    statusShown_ = true;
}

void TerminalHost::EraseStatus() {
    if (!statusShown_) return;
    err_ << "\r\x1b[K" << std::flush;
    statusShown_ = false;
}

void TerminalHost::Note(const std::string& text) {
    if (Json()) return Emit(JsonTextEvent("note", "text", text));
    EraseStatus();
    err_ << "vk930ctl: " << PrintableText(text) << '\n' << std::flush;
}

void TerminalHost::NoteRefusal(const std::string& text) {
    refusalSaid_ = text;
    Note("refused: " + text);
}

void TerminalHost::Beep() {
    if (isatty(STDERR_FILENO)) err_ << '\a' << std::flush;
}

void TerminalHost::MessageBox(const std::string& text, const std::string& caption) {
    if (Json())
        return Emit(
            JsonEvent("message", {{"caption", JsonText(caption)}, {"text", JsonText(text)}}));
    err_ << PrintableText(caption) << ": " << PrintableText(text) << '\n';
}

void TerminalHost::Sleep(int milliseconds) {
    SleepUnlessStopped(milliseconds, stop_);
}

void TerminalHost::SetControlText(int id, const std::string& text) {
    if (!fields_.count(id)) fieldOrder_.push_back(id);
    fields_[id] = text;
}

void TerminalHost::PrintFields() {
    for (int id : fieldOrder_) {
        if (Json())
            Emit(FieldEvent(id, fields_.at(id)));
        else if (style_ == OutputStyle::kPorcelain)
            out_ << '@' << id << '\t' << PrintableText(fields_.at(id)) << '\n';
        else
            out_ << FieldName(id) << ": " << PrintableText(fields_.at(id)) << '\n';
    }
    FlushOut();
}

GetParamsDialogAnswer TerminalHost::RunGetParamsDialog(int, const std::string&) {
    return answers_.getParams.value_or(GetParamsDialogAnswer{});
}

FirmwareDialogAnswer TerminalHost::RunFirmwareDialog() {
    return answers_.firmware.value_or(FirmwareDialogAnswer{});
}

FileDialogAnswer TerminalHost::RunFileDialog(const FileDialogRequest&) {
    if (!answers_.openFile) return {};
    return {true, *answers_.openFile};
}

std::optional<std::string> TerminalHost::CurrentDirectory() {
    std::error_code ec;
    const auto dir = std::filesystem::current_path(ec);
    if (ec) return std::nullopt;
    return dir.string();
}

bool TerminalHost::SetCurrentDirectory(const std::string& path) {
    std::error_code ec;
    std::filesystem::current_path(path, ec);
    return !ec;
}

}  // namespace vk930
