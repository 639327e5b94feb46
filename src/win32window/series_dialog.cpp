// The "Number a series" dialog with Win32 controls.
#include "win32window/series_dialog.h"

#include <iterator>

#include "core/app/tool_texts.h"
#include "core/forms/dialog_ids.h"
#include "core/forms/dialog_template.h"
#include "win32window/wide_text.h"

namespace vk930 {

namespace {

// The table's columns and their widths in dialog units of the list's 326; the last takes
// what is left.
constexpr const char* kColumns[] = {"Port", "State", "CommID", "Time"};
constexpr int kColumnUnits[] = {34, 176, 40, 40};

// Seen from across the bench: a strong green with bold white text; a failure in dark red.
constexpr COLORREF kRemoveItBack = RGB(0, 128, 0);
constexpr COLORREF kRemoveItText = RGB(255, 255, 255);
constexpr COLORREF kFailedText = RGB(176, 0, 0);

// The choices and Start, which take no input while a series runs.
constexpr int kChoiceIds[] = {id::kSeriesNextId, id::kSeriesUntilStop, id::kSeriesFile,
                              id::kSeriesBrowse, id::kSeriesVerify,    id::kSeriesStart};

void AddColumns(HWND dialog, HWND list) {
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    for (int column = 0; column < static_cast<int>(std::size(kColumns)); ++column) {
        RECT rect{0, 0, kColumnUnits[column], 8};
        MapDialogRect(dialog, &rect);
        std::wstring heading = Widen(kColumns[column]);
        LVCOLUMNW lv{};
        lv.mask = LVCF_TEXT | LVCF_WIDTH;
        lv.pszText = heading.data();
        lv.cx = rect.right;
        ListView_InsertColumn(list, column, &lv);
    }
}

HFONT BoldFontOf(HWND dialog) {
    LOGFONTW font{};
    auto base = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    if (!base || !GetObjectW(base, sizeof font, &font)) return nullptr;
    font.lfWeight = FW_BOLD;
    return CreateFontIndirectW(&font);
}

}  // namespace

Win32SeriesDialog::Win32SeriesDialog(SeriesDialogParts parts, FileDialogRunner files)
    : TemplateDialog(SeriesTemplate()), logic_(std::move(parts), *this), files_(std::move(files)) {}

Win32SeriesDialog::~Win32SeriesDialog() {
    if (bold_) DeleteObject(bold_);
}

void Win32SeriesDialog::OnInit(HWND dialog) {
    window_ = dialog;
    bold_ = BoldFontOf(dialog);
    AddColumns(dialog, GetDlgItem(dialog, id::kSeriesTable));
    // The registry's line is one line, as long as it is: what does not fit ends in "...".
    HWND registry = GetDlgItem(dialog, id::kSeriesRegistry);
    SetWindowLongPtrW(registry, GWL_STYLE,
                      (GetWindowLongPtrW(registry, GWL_STYLE) & ~SS_TYPEMASK) | SS_LEFTNOWORDWRAP |
                          SS_ENDELLIPSIS);
    logic_.Open();
}

void Win32SeriesDialog::OnCommandCode(HWND dialog, int id, int code) {
    (void)dialog;
    // Esc and the close box come as IDCANCEL: as Close.
    if (id == IDCANCEL || (id == id::kSeriesClose && code == BN_CLICKED)) {
        if (closing_ || logic_.OnClose()) Close();
        return;
    }
    if (code != BN_CLICKED) return;
    switch (id) {
        case id::kSeriesNextId:
        case id::kSeriesUntilStop:
            ShowIdChoice();
            break;
        case id::kSeriesBrowse:
            logic_.OnBrowse(CurrentChoices());
            break;
        case id::kSeriesStart:
            logic_.OnStart(CurrentChoices());
            break;
        case id::kSeriesStop:
            logic_.OnStop();
            break;
        default:
            break;
    }
}

std::optional<LRESULT> Win32SeriesDialog::NotifyAnswer(HWND dialog, const NMHDR& header) {
    (void)dialog;
    if (header.idFrom != static_cast<UINT_PTR>(id::kSeriesTable)) return std::nullopt;
    // A selected row would hide the row's colour: the table only shows.
    if (header.code == LVN_ITEMCHANGING) {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if ((change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_SELECTED)) return TRUE;
        return std::nullopt;
    }
    if (header.code != NM_CUSTOMDRAW) return std::nullopt;
    // The list view hands out its drawing state to be changed, though the header is const here.
    return PaintRow(const_cast<NMLVCUSTOMDRAW&>(reinterpret_cast<const NMLVCUSTOMDRAW&>(header)));
}

LRESULT Win32SeriesDialog::PaintRow(NMLVCUSTOMDRAW& draw) {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    const std::size_t index = draw.nmcd.dwItemSpec;
    if (index >= shown_.size()) return CDRF_DODEFAULT;
    const SeriesRow& row = shown_[index];
    if (row.removeIt) {
        draw.clrText = kRemoveItText;
        draw.clrTextBk = kRemoveItBack;
        if (bold_) SelectObject(draw.nmcd.hdc, bold_);
        return CDRF_NEWFONT;
    }
    if (row.step == StationStep::kFailed || row.step == StationStep::kSkipped) {
        draw.clrText = kFailedText;
        return CDRF_NEWFONT;
    }
    return CDRF_DODEFAULT;
}

bool Win32SeriesDialog::Checked(int id) const {
    return IsDlgButtonChecked(window_, id) == BST_CHECKED;
}

void Win32SeriesDialog::Check(int id, bool checked) {
    CheckDlgButton(window_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void Win32SeriesDialog::Enable(int id, bool enabled) {
    EnableWindow(GetDlgItem(window_, id), enabled ? TRUE : FALSE);
}

SeriesChoices Win32SeriesDialog::CurrentChoices() const {
    SeriesChoices c;
    c.nextId = Checked(id::kSeriesNextId);
    c.firstId = ItemText(window_, id::kSeriesFirstId);
    c.count = ItemText(window_, id::kSeriesCount);
    c.untilStopped = Checked(id::kSeriesUntilStop);
    c.setFile = ItemText(window_, id::kSeriesFile);
    c.verify = Checked(id::kSeriesVerify);
    for (std::size_t i = 0; i < c.ports.size(); ++i)
        c.ports[i] = Checked(id::kSeriesPort1 + static_cast<int>(i));
    return c;
}

void Win32SeriesDialog::ShowChoices(const SeriesChoices& c) {
    Check(id::kSeriesNextId, c.nextId);
    SetItemText(window_, id::kSeriesFirstId, c.firstId);
    SetItemText(window_, id::kSeriesCount, c.count);
    Check(id::kSeriesUntilStop, c.untilStopped);
    SetItemText(window_, id::kSeriesFile, c.setFile);
    Check(id::kSeriesVerify, c.verify);
    for (std::size_t i = 0; i < c.ports.size(); ++i)
        Check(id::kSeriesPort1 + static_cast<int>(i), c.ports[i]);
    ShowIdChoice();
}

// A field the other choice makes void takes no input.
void Win32SeriesDialog::ShowIdChoice() {
    Enable(id::kSeriesFirstId, !running_ && !Checked(id::kSeriesNextId));
    Enable(id::kSeriesCount, !running_ && !Checked(id::kSeriesUntilStop));
}

void Win32SeriesDialog::ShowRegistry(const std::string& text) {
    SetItemText(window_, id::kSeriesRegistry, text);
}

void Win32SeriesDialog::ShowRow(std::size_t index, const SeriesRow& row) {
    HWND list = GetDlgItem(window_, id::kSeriesTable);
    const int r = static_cast<int>(index);
    if (index >= shown_.size()) shown_.resize(index + 1);
    shown_[index] = row;
    const std::string texts[] = {"COM" + std::to_string(row.port), row.state, row.commId, row.time};
    while (ListView_GetItemCount(list) <= r) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = ListView_GetItemCount(list);
        item.pszText = const_cast<wchar_t*>(L"");
        ListView_InsertItem(list, &item);
    }
    for (int column = 0; column < static_cast<int>(std::size(texts)); ++column) {
        std::wstring text = Widen(texts[column]);
        ListView_SetItemText(list, r, column, text.data());
    }
    ListView_RedrawItems(list, r, r);
    ListView_EnsureVisible(list, r, FALSE);
}

void Win32SeriesDialog::ShowTotals(const std::string& text) {
    SetItemText(window_, id::kSeriesTotals, text);
}

void Win32SeriesDialog::ShowRunning(bool running, bool stopping) {
    running_ = running;
    for (int id : kChoiceIds) Enable(id, !running);
    for (int port = 0; port < kPortCount; ++port) Enable(id::kSeriesPort1 + port, !running);
    Enable(id::kSeriesStop, running && !stopping);
    ShowIdChoice();
}

void Win32SeriesDialog::Tell(const std::string& text) {
    MessageBoxW(window_, Widen(text).c_str(), Widen(Description().caption).c_str(),
                MB_OK | MB_ICONINFORMATION);
}

bool Win32SeriesDialog::Ask(const std::string& question) {
    return MessageBoxW(window_, Widen(question).c_str(), Widen(Description().caption).c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

std::optional<std::string> Win32SeriesDialog::AskParameterFile() {
    const FileDialogAnswer answer = files_(ParameterFileOpenRequest(), window_);
    if (!answer.ok) return std::nullopt;
    return answer.path;
}

void Win32SeriesDialog::Close() {
    closing_ = true;
    EndDialog(window_, IDCANCEL);
}

}  // namespace vk930
