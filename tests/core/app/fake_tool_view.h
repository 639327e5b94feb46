#pragma once
// A Tools dialog without a toolkit: it keeps what its controller shows and answers its
// questions and file dialogs as scripted.
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "core/app/tool_dialog.h"

namespace vk930::test {

class FakeToolView : public ToolView {
  public:
    std::map<int, std::string> texts;
    std::map<int, bool> enabled;
    std::map<int, std::vector<ToolRow>> rows;
    std::deque<bool> answers;  // empty: no
    std::vector<std::string> questions, tells;
    std::deque<FileDialogAnswer> files;  // empty: cancelled
    bool closed = false;

    void SetText(int id, const std::string& text) override { texts[id] = text; }
    void SetEnabled(int id, bool on) override { enabled[id] = on; }
    void SetRows(int id, const std::vector<ToolRow>& list) override { rows[id] = list; }
    bool AskYesNo(const std::string& question) override {
        questions.push_back(question);
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void Tell(const std::string& text) override { tells.push_back(text); }
    FileDialogAnswer AskFile(const FileDialogRequest&) override {
        if (files.empty()) return {};
        FileDialogAnswer answer = files.front();
        files.pop_front();
        return answer;
    }
    void Close() override { closed = true; }
};

}  // namespace vk930::test
