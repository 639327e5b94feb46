#pragma once
// Answers the modal dialogs a test provokes, one action per dialog in the order they appear,
// without a person. A dialog that appears when no action is left, or that is still open long
// after its answer, is rejected and counted, so that a test fails instead of hanging.
#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <utility>
#include <vector>

namespace vk930::test {

class ModalAnswerer {
  public:
    using Action = std::function<void(QWidget* dialog)>;

    explicit ModalAnswerer(std::vector<Action> actions = {});
    void Add(Action action) { actions_.push_back(std::move(action)); }

    int Answered() const { return answered_; }
    int Unexpected() const { return unexpected_; }

  private:
    void Poll();
    void Answer(QWidget* modal);

    QTimer timer_;
    std::deque<Action> actions_;
    QPointer<QWidget> candidate_;   // on top at the last poll
    QPointer<QWidget> lastTarget_;  // answered last
    QElapsedTimer sinceAnswer_;
    int answered_ = 0;
    int unexpected_ = 0;
};

// Actions.
struct MessageBoxSeen {
    QString caption;
    QString text;
    bool operator==(const MessageBoxSeen&) const = default;
};
ModalAnswerer::Action AcceptMessageBox(std::vector<MessageBoxSeen>& seen);
ModalAnswerer::Action PickFile(const QString& path);  // types the path and accepts
ModalAnswerer::Action RejectDialog();
ModalAnswerer::Action ClickControl(int id);  // the dialog's control "ctlID"
// Runs `inspect` on the dialog first, then `then`.
ModalAnswerer::Action Inspect(std::function<void(QWidget*)> inspect, ModalAnswerer::Action then);

// Processes events until `done` holds or the time is up; returns `done()`.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 3000);
// Processes events for a while.
void ProcessEventsFor(int milliseconds);

}  // namespace vk930::test
