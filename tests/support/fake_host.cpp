#include "support/fake_host.h"

namespace vk930::test {

void FakeHost::Record(std::string event) {
    events.push_back(event);
    if (onEvent) onEvent(event);
}

std::vector<std::string> FakeHost::LogTexts() const {
    std::vector<std::string> out;
    for (const LogEntry& e : log) out.push_back(e.text);
    return out;
}

int FakeHost::Count(const std::string& prefix) const {
    int n = 0;
    for (const std::string& e : events) n += e.rfind(prefix, 0) == 0;
    return n;
}

void FakeHost::AppendLog(std::string text, int kind) {
    AppendEntry(std::move(text), kind, SeverityOfKind(kind));
}

void FakeHost::AppendEntry(std::string text, int kind, EntrySeverity severity) {
    log.push_back({text, kind});
    severities.push_back(severity);
    Record("log " + std::to_string(kind) + " " + text);
}

void FakeHost::ClearLog() {
    Record("clear");
    log.clear();
}

void FakeHost::Beep() {
    Record("beep");
    ++beeps;
}

void FakeHost::MessageBox(const std::string& text, const std::string& caption) {
    Record("box " + caption + "|" + text);
    boxes.emplace_back(caption, text);
}

void FakeHost::Sleep(int milliseconds) {
    Record("sleep " + std::to_string(milliseconds));
    clockMs += milliseconds;
}

void FakeHost::SetControlText(int id, const std::string& text) {
    Record("text " + std::to_string(id) + " " + text);
    texts[id] = text;
}

void FakeHost::SetControlVisible(int id, bool shown) {
    Record("show " + std::to_string(id) + " " + std::to_string(shown));
    visible[id] = shown;
}

void FakeHost::SetControlReadOnly(int id, bool ro) {
    Record("readonly " + std::to_string(id) + " " + std::to_string(ro));
    readOnly[id] = ro;
}

void FakeHost::StartFormTimer(int milliseconds) {
    Record("timer " + std::to_string(milliseconds));
    timerMs = milliseconds;
}

void FakeHost::StopFormTimer() {
    Record("timer stop");
    timerMs = -1;
}

GetParamsDialogAnswer FakeHost::RunGetParamsDialog(int portIndex, const std::string& path) {
    Record("dialog get");
    getParamsRequests.emplace_back(portIndex, path);
    if (getParamsAnswers.empty()) return {};
    GetParamsDialogAnswer answer = getParamsAnswers.front();
    getParamsAnswers.pop_front();
    return answer;
}

FirmwareDialogAnswer FakeHost::RunFirmwareDialog() {
    Record("dialog firmware");
    if (firmwareAnswers.empty()) return {};
    FirmwareDialogAnswer answer = firmwareAnswers.front();
    firmwareAnswers.pop_front();
    return answer;
}

FileDialogAnswer FakeHost::RunFileDialog(const FileDialogRequest& request) {
    Record("dialog file");
    fileRequests.push_back(request);
    if (fileAnswers.empty()) return {};
    FileDialogAnswer answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

bool FakeHost::SetCurrentDirectory(const std::string& path) {
    Record("cd " + path);
    currentDir = path;
    return true;
}

void FakeHost::StartEditor(const std::string& path) {
    Record("editor " + path);
    editorStarts.push_back(path);
}

void FakeHost::SetDocumentTitle(const std::string& text) {
    Record("title " + text);
    title = text;
}

}  // namespace vk930::test
