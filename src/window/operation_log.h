#pragma once
// The operation log on the main form: a report list with the one "Status" column, full-row
// selection, entries in the order they were appended.
//
// It is a table view with fixed row heights: appending a row costs the same however long
// the list is. (A tree or list view lays out every row again after each insertion, which
// makes a long log slower with every entry.) Scrolling to the newest entry is done once per
// pass of the event loop, not once per entry; the newest entry is what shows whenever the
// window paints.
#include <QTableView>

#include "window/log_model.h"

namespace vk930 {

class OperationLogView : public QTableView {
    Q_OBJECT
  public:
    static constexpr int kStatusColumnWidth = 280;

    explicit OperationLogView(QWidget* parent = nullptr);

    // The column is 280 pixels at the template font and scales as dialog units do.
    void ScaleStatusColumn(int baseX);
    // The pixels of a row beside its text: the icon and the style's margins.
    int TextMargin() const;

    void AppendLog(QString text, int kind);
    void ClearLog();
    LogModel& Model() { return model_; }

  private:
    void ScheduleScrollToNewest();

    LogModel model_;
    bool scrollPending_ = false;
};

}  // namespace vk930
