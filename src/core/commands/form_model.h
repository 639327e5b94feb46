#pragma once
// The state of the main form's controls as the core decides it: texts, visibility and
// read-only state, by control id. Every change is mirrored to the host's view. Setting the
// CommID edit's text runs its change handler, as the platform's edit does.
#include <functional>
#include <map>
#include <string>

#include "core/commands/host.h"

namespace vk930 {

class FormModel {
  public:
    // Starts from template 101: hidden controls hidden, the CommID edit read-only.
    explicit FormModel(Host& host);

    const std::string& Text(int id) const;
    bool Visible(int id) const;
    bool ReadOnly(int id) const;

    void SetText(int id, const std::string& text);
    void Show(int id, bool visible);
    void SetReadOnly(int id, bool readOnly);

    // The user typed into an edit: the view already shows the text, so it is only stored,
    // and the change handler runs.
    void TextEdited(int id, const std::string& text);

    void OnChange(int id, std::function<void()> handler) {
        changeHandlers_[id] = std::move(handler);
    }

  private:
    struct Control {
        std::string text;
        bool visible = true;
        bool readOnly = false;
    };
    Control& At(int id) { return controls_[id]; }
    void Changed(int id);

    Host& host_;
    std::map<int, Control> controls_;
    std::map<int, std::function<void()>> changeHandlers_;
};

}  // namespace vk930
