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
#include "core/base/printable_text.h"

namespace vk930 {

namespace {

// A warning or a cancellation has the failure icon, yet is marked for what it is.
const char* Mark(int kind, EntrySeverity severity) {
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

TerminalHost::TerminalHost(std::ostream& out, std::ostream& err, bool porcelain)
    : out_(out), err_(err), porcelain_(porcelain) {}

void TerminalHost::AppendLog(std::string text, int kind) {
    AppendEntry(std::move(text), kind, SeverityOfKind(kind));
}

void TerminalHost::AppendEntry(std::string text, int kind, EntrySeverity severity) {
    EraseStatus();
    // Texts come from files and terminals: escaped, an entry is one line and sends nothing
    // to the terminal emulator.
    if (porcelain_)
        out_ << kind << '\t' << PrintableText(text) << '\n';
    else
        out_ << Mark(kind, severity) << PrintableText(text) << '\n';
    FlushOut();
}

void TerminalHost::FlushOut() {
    errno = 0;
    out_.flush();
    if (!out_ && outputProblem_.empty())
        outputProblem_ = errno != 0 ? std::strerror(errno) : "write failed";
}

void TerminalHost::PrintOutcome(const Outcome& outcome) {
    if (porcelain_) {
        out_ << '=' << ToString(outcome.outcomeClass);
        if (!outcome.detail.empty()) out_ << '\t' << PrintableText(outcome.detail);
        out_ << '\n';
        FlushOut();
    } else if (!outcome.ok()) {
        EraseStatus();
        err_ << "vk930ctl: " << ToString(outcome.outcomeClass);
        if (!outcome.detail.empty()) err_ << ": " << PrintableText(outcome.detail);
        err_ << '\n' << std::flush;
    }
}

void TerminalHost::ShowStatus(const std::string& line) {
    if (!isatty(STDERR_FILENO)) return;
    err_ << '\r' << line << "\x1b[K" << std::flush;
    statusShown_ = true;
}

void TerminalHost::EraseStatus() {
    if (!statusShown_) return;
    err_ << "\r\x1b[K" << std::flush;
    statusShown_ = false;
}

void TerminalHost::Note(const std::string& text) {
    EraseStatus();
    err_ << "vk930ctl: " << PrintableText(text) << '\n' << std::flush;
}

void TerminalHost::Beep() {
    if (isatty(STDERR_FILENO)) err_ << '\a' << std::flush;
}

void TerminalHost::MessageBox(const std::string& text, const std::string& caption) {
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
        if (porcelain_)
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
