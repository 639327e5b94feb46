#include "core/commands/form_model.h"

#include "core/forms/dialog_template.h"

namespace vk930 {

FormModel::FormModel(Host& host) : host_(host) {
    for (const DialogControl& c : MainFormTemplate().controls) {
        if (c.id == kNoId) continue;
        controls_[c.id] = Control{c.caption, c.visible, (c.style & kStyleReadOnly) != 0};
    }
}

const std::string& FormModel::Text(int id) const {
    static const std::string kEmpty;
    const auto found = controls_.find(id);
    return found == controls_.end() ? kEmpty : found->second.text;
}

bool FormModel::Visible(int id) const {
    const auto found = controls_.find(id);
    return found != controls_.end() && found->second.visible;
}

bool FormModel::ReadOnly(int id) const {
    const auto found = controls_.find(id);
    return found != controls_.end() && found->second.readOnly;
}

void FormModel::SetText(int id, const std::string& text) {
    At(id).text = text;
    host_.SetControlText(id, text);
    Changed(id);
}

void FormModel::TextEdited(int id, const std::string& text) {
    At(id).text = text;
    Changed(id);
}

void FormModel::Show(int id, bool visible) {
    At(id).visible = visible;
    host_.SetControlVisible(id, visible);
}

void FormModel::SetReadOnly(int id, bool readOnly) {
    At(id).readOnly = readOnly;
    host_.SetControlReadOnly(id, readOnly);
}

void FormModel::Changed(int id) {
    const auto handler = changeHandlers_.find(id);
    if (handler != changeHandlers_.end() && handler->second) handler->second();
}

}  // namespace vk930
