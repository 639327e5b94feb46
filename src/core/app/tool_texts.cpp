// Texts and requests the Tools dialogs share.
#include "core/app/tool_texts.h"

namespace vk930 {

std::string WarningsText(const std::vector<std::string>& warnings) {
    std::string joined;
    for (const std::string& warning : warnings) joined += (joined.empty() ? "" : "; ") + warning;
    return joined;
}

std::string OutcomeText(const Outcome& outcome) {
    if (outcome.ok()) return "done";
    std::string text = std::string("failed (") + ToString(outcome.outcomeClass) + ")";
    if (!outcome.detail.empty()) text += ": " + outcome.detail;
    return text;
}

FileDialogRequest ParameterFileOpenRequest() {
    FileDialogRequest request;
    request.defaultExtension = "pcg";
    request.initialName = "*.pcg";
    request.filterName = "VK930C Document (*.pcg)";
    request.filterPattern = "*.pcg";
    return request;
}

}  // namespace vk930
