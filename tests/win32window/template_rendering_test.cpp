// Every template rendered as a Win32 dialog: each control by id, class, caption, visibility,
// place and size in dialog units of the template's font, in tab order; the font itself.
#include <gtest/gtest.h>
#include <windows.h>
// The common controls need the definitions of windows.h first.
#include <commctrl.h>

#include <vector>

#include "core/forms/dialog_template.h"
#include "core/forms/form_ids.h"
#include "win32window/dialog_memory.h"
#include "win32window/main_frame.h"
#include "win32window/template_dialog.h"
#include "window_test_support.h"

namespace vk930 {
namespace {

using test::ClassName;
using test::WindowText;

// The standard icon size an icon control takes.
int IconSize() {
    return GetSystemMetrics(SM_CXICON);
}

RECT DialogUnitsToPixels(HWND dialog, int x, int y, int width, int height) {
    RECT rect{x, y, x + width, y + height};
    MapDialogRect(dialog, &rect);
    return rect;
}

RECT PlaceInParent(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::vector<HWND> ChildrenInOrder(HWND dialog) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

std::string ExpectedClass(const DialogControl& control) {
    return Narrow(Win32ControlOf(control).className);
}

// The face and size of the font Windows really chose for the dialog.
void ExpectTemplateFont(HWND dialog, const DialogTemplate& description) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    HDC dc = GetDC(dialog);
    HGDIOBJ old = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int pixelsPerInch = GetDeviceCaps(dc, LOGPIXELSY);
    SelectObject(dc, old);
    ReleaseDC(dialog, dc);
    EXPECT_EQ(Narrow(face), description.fontName) << "the prefix lacks the font";
    EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading,
              MulDiv(description.fontPoints, pixelsPerInch, 72));
}

void ExpectControls(HWND dialog, const DialogTemplate& description) {
    const std::vector<HWND> children = ChildrenInOrder(dialog);
    ASSERT_EQ(children.size(), description.controls.size());
    for (std::size_t i = 0; i < children.size(); ++i) {
        const DialogControl& c = description.controls[i];
        HWND child = children[i];
        SCOPED_TRACE("control " + std::to_string(i) + " (id " + std::to_string(c.id) + ", \"" +
                     c.caption + "\")");
        EXPECT_EQ(static_cast<short>(GetDlgCtrlID(child)), Win32ControlId(c.id));
        EXPECT_STRCASEEQ(ClassName(child).c_str(), ExpectedClass(c).c_str());
        if (c.kind != ControlKind::kIcon && c.kind != ControlKind::kComboList) {
            EXPECT_EQ(WindowText(child), c.caption);
        }
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        EXPECT_EQ((style & WS_VISIBLE) != 0, c.visible);
        // A border may become the sunken client edge that common controls draw instead.
        // A drop-down list hands its scroll bar to the list it drops down.
        const DWORD wanted = Win32ControlOf(c).style & ~(WS_VISIBLE | WS_BORDER) &
                             ~(c.kind == ControlKind::kComboList ? WS_VSCROLL : 0);
        EXPECT_EQ(static_cast<DWORD>(style) & wanted, wanted);
        if (c.style & kStyleBorder) {
            const LONG exStyle = GetWindowLongW(child, GWL_EXSTYLE);
            EXPECT_TRUE((style & WS_BORDER) || (exStyle & WS_EX_CLIENTEDGE));
        }

        // Windows converts the place and the size each on its own.
        const RECT place = DialogUnitsToPixels(dialog, c.x, c.y, 0, 0);
        const RECT size = DialogUnitsToPixels(dialog, 0, 0, c.width, c.height);
        const RECT got = PlaceInParent(child);
        EXPECT_EQ(got.left, place.left);
        EXPECT_EQ(got.top, place.top);
        if (c.kind == ControlKind::kIcon) {
            EXPECT_EQ(got.right - got.left, IconSize());
            continue;
        }
        EXPECT_EQ(got.right - got.left, size.right);
        // A closed drop-down list is as high as its font needs; the template gives its
        // dropped-down height.
        if (c.kind != ControlKind::kComboList) {
            EXPECT_EQ(got.bottom - got.top, size.bottom);
        }
    }
}

void ExpectClientSize(HWND dialog, const DialogTemplate& description) {
    const RECT want = DialogUnitsToPixels(dialog, 0, 0, description.width, description.height);
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, want.right);
    EXPECT_EQ(client.bottom, want.bottom);
}

INT_PTR CALLBACK QuietDialog(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

class TemplateRendering : public ::testing::TestWithParam<const DialogTemplate*> {
  protected:
    void SetUp() override { test::InitCommonControlsOnce(); }
};

TEST_P(TemplateRendering, ModalDialogHasEveryControlInPlace) {
    const DialogTemplate& description = *GetParam();
    const std::vector<DWORD> memory = BuildDialogTemplate(description, DialogUse::kModal);
    HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                             reinterpret_cast<const DLGTEMPLATE*>(memory.data()),
                                             nullptr, &QuietDialog, 0);
    ASSERT_NE(dialog, nullptr) << GetLastError();
    EXPECT_EQ(WindowText(dialog), description.caption);
    const LONG style = GetWindowLongW(dialog, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | DS_MODALFRAME),
              WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    ExpectTemplateFont(dialog, description);
    ExpectClientSize(dialog, description);
    ExpectControls(dialog, description);
    DestroyWindow(dialog);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, TemplateRendering,
                         ::testing::Values(&AboutBoxTemplate(), &GetParamsTemplate(),
                                           &FirmwareTemplate()),
                         [](const auto& info) {
                             return "Template" + std::to_string(info.param->id);
                         });

TEST(MainFormRendering, TheFormFillsTheFrameWithEveryControlInPlace) {
    test::InitCommonControlsOnce();
    MainFrame frame(GetModuleHandleW(nullptr), {});
    ASSERT_TRUE(frame.Create()) << frame.LastError();
    HWND form = frame.Form();
    const DialogTemplate& description = MainFormTemplate();
    const LONG style = GetWindowLongW(form, GWL_STYLE);
    EXPECT_EQ(style & (WS_CHILD | WS_CAPTION | WS_BORDER), WS_CHILD);
    ExpectTemplateFont(form, description);
    ExpectClientSize(form, description);
    ExpectControls(form, description);
    // The frame's client area is the form, no more and no less.
    RECT client{};
    GetClientRect(frame.Window(), &client);
    const RECT want = DialogUnitsToPixels(form, 0, 0, description.width, description.height);
    EXPECT_EQ(client.right, want.right);
    EXPECT_EQ(client.bottom, want.bottom);
    EXPECT_EQ(PlaceInParent(form).left, 0);
    EXPECT_EQ(PlaceInParent(form).top, 0);
    // The link control's place shows the port's reach and a command's progress on two lines:
    // a static that centres its text vertically draws a line break as a glyph instead.
    const LONG place = GetWindowLongW(GetDlgItem(form, id::kLinkControl), GWL_STYLE);
    EXPECT_EQ(place & SS_CENTERIMAGE, 0);
    EXPECT_EQ(place & SS_TYPEMASK, SS_CENTER);
    frame.Destroy();
    test::PumpMessages();
}

TEST(MainFormRendering, TheTemplatesFontGivesTheOriginalDialogUnits) {
    // "MS Sans Serif" 8 point at 96 pixels an inch: 4 by 8 dialog units are 6 by 13 pixels,
    // the base the original's sizes were drawn in.
    test::InitCommonControlsOnce();
    MainFrame frame(GetModuleHandleW(nullptr), {});
    ASSERT_TRUE(frame.Create()) << frame.LastError();
    RECT units{0, 0, 4, 8};
    MapDialogRect(frame.Form(), &units);
    EXPECT_EQ(units.right, 6);
    EXPECT_EQ(units.bottom, 13);
    frame.Destroy();
    test::PumpMessages();
}

TEST(AboutBox, ShowsTheApplicationIconAndClosesWithOk) {
    test::InitCommonControlsOnce();
    HICON shown = nullptr;
    INT_PTR result = 0;
    {
        test::DialogAnswerer answerer("About VK930Config", [&](HWND dialog) {
            for (HWND child = GetWindow(dialog, GW_CHILD); child;
                 child = GetWindow(child, GW_HWNDNEXT))
                if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                    shown = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
            test::PressButton(dialog, IDOK);
        });
        AboutDialog about;
        result = about.RunModal(nullptr, GetModuleHandleW(nullptr));
        EXPECT_TRUE(answerer.Found());
    }
    EXPECT_EQ(result, IDOK);
    EXPECT_NE(shown, nullptr) << "icon 128 is not among the program's resources";
}

}  // namespace
}  // namespace vk930
