#include "window/operation_log.h"

#include <QHeaderView>
#include <QMetaObject>
#include <QStyle>
#include <QStyleOptionViewItem>

#include "window/dialog_builder.h"

namespace vk930 {

namespace {
constexpr int kRowPadding = 2;
}  // namespace

OperationLogView::OperationLogView(QWidget* parent) : QTableView(parent) {
    setModel(&model_);
    setShowGrid(false);
    setWordWrap(false);
    setSortingEnabled(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIconSize({kLogIconPixels, kLogIconPixels});
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    // Every row as high as the others, fixed: rows are never measured one by one.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(std::max(fontMetrics().height(), kLogIconPixels) +
                                            kRowPadding);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->resizeSection(0, kStatusColumnWidth);
}

void OperationLogView::ScaleStatusColumn(int baseX) {
    horizontalHeader()->resizeSection(
        0, (kStatusColumnWidth * baseX + kTemplateBaseX / 2) / kTemplateBaseX);
}

int OperationLogView::TextMargin() const {
    constexpr int kProbeWidth = 400;
    QStyleOptionViewItem option;
    option.initFrom(this);
    option.features = QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
    option.decorationSize = iconSize();
    option.rect = QRect(0, 0, kProbeWidth, verticalHeader()->defaultSectionSize());
    // A text wider than the probe: its rectangle is then all the row leaves for text.
    option.text = QString(kProbeWidth / 4, QLatin1Char('W'));
    const QRect text = style()->subElementRect(QStyle::SE_ItemViewItemText, &option, this);
    // The style draws the text inside that rectangle with a margin on either side.
    const int textMargin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    return kProbeWidth - text.width() + 2 * textMargin;
}

void OperationLogView::AppendLog(QString text, int kind) {
    model_.Append(std::move(text), kind);
    ScheduleScrollToNewest();
}

void OperationLogView::ClearLog() {
    model_.Clear();
}

void OperationLogView::ScheduleScrollToNewest() {
    if (scrollPending_) return;
    scrollPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            scrollPending_ = false;
            scrollToBottom();  // lays out the new rows first, then shows the last one
        },
        Qt::QueuedConnection);
}

}  // namespace vk930
