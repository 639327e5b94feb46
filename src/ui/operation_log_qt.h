#pragma once
// The operation log on the main form: a report list with the one "Status" column, full-row
// selection, entries in the order they were appended.
//
// Scrolling to the newest entry is done once per pass of the event loop, not once per entry:
// a scroll lays out the whole list, so scrolling at every append makes a long run of entries
// quadratic. The newest entry is what shows whenever the window paints.
#include <QTreeView>

#include "ui/log_model_qt.h"

namespace vk930 {

class OperationLogView : public QTreeView {
    Q_OBJECT
  public:
    static constexpr int kStatusColumnWidth = 280;

    explicit OperationLogView(QWidget* parent = nullptr);

    void AppendLog(QString text, int kind);
    void ClearLog();
    LogModel& Model() { return model_; }

  private:
    void ScheduleScrollToNewest();

    LogModel model_;
    bool scrollPending_ = false;
};

}  // namespace vk930
