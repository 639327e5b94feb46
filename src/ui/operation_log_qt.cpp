#include "ui/operation_log_qt.h"

#include <QHeaderView>
#include <QMetaObject>

namespace vk930 {

OperationLogView::OperationLogView(QWidget* parent) : QTreeView(parent) {
    setModel(&model_);
    setUniformRowHeights(true);  // lets the list place rows without measuring each one
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setSortingEnabled(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setAllColumnsShowFocus(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIconSize({16, 16});
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->setSectionsClickable(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header()->resizeSection(0, kStatusColumnWidth);
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
            const int rows = model_.rowCount();
            if (rows > 0) scrollTo(model_.index(rows - 1), QAbstractItemView::EnsureVisible);
        },
        Qt::QueuedConnection);
}

}  // namespace vk930
