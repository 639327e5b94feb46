#pragma once
// The Win32 window's "Number a series" dialog as its tests use it: opened from the Tools menu
// while a helper thread fills its fields, presses its buttons and reads back its table,
// totals and the colours its rows are painted in.
#include <string>
#include <vector>

#include "app_fixture.h"
#include "core/forms/dialog_ids.h"
#include "window_test_support.h"

namespace vk930 {

class SeriesDialogTest : public Win32AppTest {
  protected:
    using Row = std::vector<std::string>;
    static constexpr char kCaption[] = "Number a series";

    // What a row of the table is painted with.
    struct Paint {
        LRESULT answer = 0;
        COLORREF text = 0;
        COLORREF back = 0;
    };

    // The dialog from the Tools menu; returns once it has closed.
    void OpenSeries() {
        SendMessageW(app_->Frame().Window(), WM_COMMAND, MAKEWPARAM(id::kCmdNumberSeries, 0), 0);
        app_->WaitForJob();
    }

    // On the helper thread: a field typed into, as a person does.
    static void Type(HWND dialog, int id, const std::string& text) {
        SetDlgItemTextW(dialog, id, Widen(text).c_str());
    }
    static bool Enabled(HWND dialog, int id) {
        return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
    }
    static bool Checked(HWND dialog, int id) {
        return SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    static std::vector<Row> Table(HWND dialog) {
        std::vector<Row> rows;
        for (int row = 0;; ++row) {
            Row texts = test::ListRow(dialog, id::kSeriesTable, row);
            if (texts.empty()) return rows;
            rows.push_back(std::move(texts));
        }
    }
    static std::string State(HWND dialog, int row) {
        const Row texts = test::ListRow(dialog, id::kSeriesTable, row);
        return texts.size() > 1 ? texts[1] : std::string();
    }
    // Asks the dialog how it paints `row`, as the list view does before drawing it.
    static Paint PaintOf(HWND dialog, int row) {
        HDC dc = CreateCompatibleDC(nullptr);
        NMLVCUSTOMDRAW draw{};
        draw.nmcd.hdr.hwndFrom = GetDlgItem(dialog, id::kSeriesTable);
        draw.nmcd.hdr.idFrom = id::kSeriesTable;
        draw.nmcd.hdr.code = NM_CUSTOMDRAW;
        draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
        draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
        draw.nmcd.hdc = dc;
        draw.clrText = CLR_DEFAULT;
        draw.clrTextBk = CLR_DEFAULT;
        Paint paint;
        paint.answer =
            SendMessageW(dialog, WM_NOTIFY, id::kSeriesTable, reinterpret_cast<LPARAM>(&draw));
        paint.text = draw.clrText;
        paint.back = draw.clrTextBk;
        DeleteDC(dc);
        return paint;
    }
};

}  // namespace vk930
