#pragma once
// The link control's place on the main form (control 1024): what the current COM port
// reaches, and while a command runs how far it has got: the firmware bar with the bytes sent
// and the time left, the lines a Set run has applied, the countdown of a wait.
#include <QElapsedTimer>
#include <QFrame>
#include <QTimer>
#include <optional>

#include "core/commands/host.h"

class QLabel;
class QProgressBar;

namespace vk930 {

class LinkArea : public QFrame {
    Q_OBJECT
  public:
    explicit LinkArea(QWidget* parent = nullptr);

    // "COM1: /dev/ttyUSB0, 19200 8N1".
    void SetPortText(const QString& text);
    QString PortText() const;
    // The progress line below it ("" when there is none) and the bar.
    QString ProgressText() const;
    const QProgressBar& Bar() const { return *bar_; }

    void ShowProgress(const ProgressReport& report);
    // The command ended: the progress goes.
    void ClearProgress();

  private:
    void ShowUpload(std::size_t sent, std::size_t total);
    void ShowLines(std::size_t applied);
    void StartCountdown(std::size_t milliseconds);
    void Tick();

    QLabel* port_;
    QLabel* progress_;
    QProgressBar* bar_;
    QElapsedTimer uploadClock_;
    bool uploading_ = false;
    QTimer countdown_;
    QElapsedTimer waitClock_;
    qint64 waitMs_ = 0;
};

}  // namespace vk930
