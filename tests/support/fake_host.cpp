#include "support/fake_host.h"

namespace vk930::test {

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
    events.push_back("log " + std::to_string(kind) + " " + text);
    log.push_back({std::move(text), kind});
}

void FakeHost::ClearLog() {
    events.push_back("clear");
    log.clear();
}

void FakeHost::Beep() {
    events.push_back("beep");
    ++beeps;
}

void FakeHost::MessageBox(const std::string& text, const std::string& caption) {
    events.push_back("box " + caption + "|" + text);
    boxes.emplace_back(caption, text);
}

void FakeHost::Sleep(int milliseconds) {
    events.push_back("sleep " + std::to_string(milliseconds));
    clockMs += milliseconds;
}

void FakeHost::SetControlText(int id, const std::string& text) {
    events.push_back("text " + std::to_string(id) + " " + text);
    texts[id] = text;
}

void FakeHost::SetControlVisible(int id, bool shown) {
    events.push_back("show " + std::to_string(id) + " " + std::to_string(shown));
    visible[id] = shown;
}

void FakeHost::SetControlReadOnly(int id, bool ro) {
    events.push_back("readonly " + std::to_string(id) + " " + std::to_string(ro));
    readOnly[id] = ro;
}

void FakeHost::StartFormTimer(int milliseconds) {
    events.push_back("timer " + std::to_string(milliseconds));
    timerMs = milliseconds;
}

void FakeHost::StopFormTimer() {
    events.push_back("timer stop");
    timerMs = -1;
}

GetParamsDialogAnswer FakeHost::RunGetParamsDialog(int portIndex, const std::string& path) {
    events.push_back("dialog get");
    getParamsRequests.emplace_back(portIndex, path);
    if (getParamsAnswers.empty()) return {};
    GetParamsDialogAnswer answer = getParamsAnswers.front();
    getParamsAnswers.pop_front();
    return answer;
}

FirmwareDialogAnswer FakeHost::RunFirmwareDialog() {
    events.push_back("dialog firmware");
    if (firmwareAnswers.empty()) return {};
    FirmwareDialogAnswer answer = firmwareAnswers.front();
    firmwareAnswers.pop_front();
    return answer;
}

FileDialogAnswer FakeHost::RunFileDialog(const FileDialogRequest& request) {
    events.push_back("dialog file");
    fileRequests.push_back(request);
    if (fileAnswers.empty()) return {};
    FileDialogAnswer answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

bool FakeHost::SetCurrentDirectory(const std::string& path) {
    events.push_back("cd " + path);
    currentDir = path;
    return true;
}

void FakeHost::StartEditor(const std::string& path) {
    events.push_back("editor " + path);
    editorStarts.push_back(path);
}

void FakeHost::SetDocumentTitle(const std::string& text) {
    events.push_back("title " + text);
    title = text;
}

}  // namespace vk930::test
