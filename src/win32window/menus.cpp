// The main menu and accelerators from the core's menu data.
#include "win32window/menus.h"

#include <string_view>

#include "core/forms/form_ids.h"
#include "win32window/wide_text.h"

namespace vk930 {

namespace {

constexpr int kComPorts = 8;

struct KeyName {
    std::string_view name;
    WORD key;
};

constexpr KeyName kKeys[] = {
    {"Backspace", VK_BACK},
    {"Del", VK_DELETE},
    {"Ins", VK_INSERT},
    {"F6", VK_F6},
};

std::optional<WORD> VirtualKey(std::string_view name) {
    if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') return static_cast<WORD>(name[0]);
    for (const KeyName& k : kKeys)
        if (k.name == name) return k.key;
    return std::nullopt;
}

}  // namespace

HMENU BuildMainMenu(const std::vector<MenuPopup>& popups) {
    HMENU bar = CreateMenu();
    for (const MenuPopup& popup : popups) {
        HMENU sub = CreatePopupMenu();
        for (const MenuItem& item : popup.items) {
            if (item.id == kSeparator)
                AppendMenuW(sub, MF_SEPARATOR, 0, nullptr);
            else
                AppendMenuW(sub, MF_STRING, static_cast<UINT_PTR>(item.id),
                            Widen(item.text).c_str());
        }
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), Widen(popup.text).c_str());
    }
    return bar;
}

std::optional<ACCEL> ToWin32Accelerator(const Accelerator& accelerator) {
    ACCEL a{};
    a.fVirt = FVIRTKEY;
    a.cmd = static_cast<WORD>(accelerator.id);
    std::string_view rest = accelerator.key;
    for (;;) {
        const std::size_t plus = rest.find('+');
        if (plus == std::string_view::npos) break;
        const std::string_view modifier = rest.substr(0, plus);
        if (modifier == "Ctrl")
            a.fVirt |= FCONTROL;
        else if (modifier == "Shift")
            a.fVirt |= FSHIFT;
        else if (modifier == "Alt")
            a.fVirt |= FALT;
        else
            return std::nullopt;
        rest = rest.substr(plus + 1);
    }
    const std::optional<WORD> key = VirtualKey(rest);
    if (!key) return std::nullopt;
    a.key = *key;
    return a;
}

HACCEL BuildAccelerators(const std::vector<Accelerator>& table) {
    std::vector<ACCEL> entries;
    for (const Accelerator& accelerator : table)
        if (std::optional<ACCEL> a = ToWin32Accelerator(accelerator)) entries.push_back(*a);
    return CreateAcceleratorTableW(entries.data(), static_cast<int>(entries.size()));
}

void CheckComPort(HMENU menu, int port) {
    for (int n = 1; n <= kComPorts; ++n)
        CheckMenuItem(menu, static_cast<UINT>(id::kCmdComPort1 + n - 1),
                      MF_BYCOMMAND | (n == port ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace vk930
