#include "window/link_area.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <chrono>

#include "core/app/link_place_text.h"
#include "window/text.h"

namespace vk930 {

namespace {
constexpr int kMargin = 4;
constexpr int kSpacing = 1;
}  // namespace

LinkArea::LinkArea(QWidget* parent)
    : QFrame(parent),
      port_(new QLabel(this)),
      progress_(new QLabel(this)),
      bar_(new QProgressBar(this)) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    for (QLabel* label : {port_, progress_}) label->setTextFormat(Qt::PlainText);
    port_->setObjectName(QStringLiteral("linkPort"));
    progress_->setObjectName(QStringLiteral("linkProgress"));
    bar_->setObjectName(QStringLiteral("linkBar"));
    bar_->setTextVisible(false);
    bar_->setMaximumHeight(fontMetrics().height() / 2 + 2);
    // The port on the first line; the progress text and its bar on the second.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, 1, kMargin, 1);
    layout->setSpacing(kSpacing);
    layout->addWidget(port_);
    auto* row = new QHBoxLayout;
    row->setSpacing(kMargin * 2);
    row->addWidget(progress_);
    row->addWidget(bar_, 1);
    layout->addLayout(row);
    countdown_.setInterval(static_cast<int>(kCountdownTick.count()));
    connect(&countdown_, &QTimer::timeout, this, &LinkArea::Tick);
    ClearProgress();
}

void LinkArea::SetPortText(const QString& text) {
    port_->setText(text);
    setToolTip(text);
}

QString LinkArea::PortText() const {
    return port_->text();
}

QString LinkArea::ProgressText() const {
    return progress_->text();
}

void LinkArea::ShowProgress(const ProgressReport& report) {
    switch (report.kind) {
        case ProgressKind::kUpload:
            ShowUpload(report.done, report.total);
            break;
        case ProgressKind::kLines:
            ShowLines(report.done);
            break;
        case ProgressKind::kWait:
            StartCountdown(report.total);
            break;
    }
}

void LinkArea::ClearProgress() {
    countdown_.stop();
    uploading_ = false;
    progress_->clear();
    bar_->setRange(0, 1);
    bar_->setValue(0);
    bar_->hide();
}

void LinkArea::ShowUpload(std::size_t sent, std::size_t total) {
    // The time left is measured from the first report, when the image starts to go out.
    if (!uploading_) {
        uploading_ = true;
        uploadClock_.start();
    }
    const auto elapsed = std::chrono::milliseconds(uploadClock_.elapsed());
    progress_->setText(ToQ(UploadProgressText(sent, total, elapsed)));
    bar_->setRange(0, static_cast<int>(total));
    bar_->setValue(static_cast<int>(std::min(sent, total)));
    bar_->show();
}

void LinkArea::ShowLines(std::size_t applied) {
    progress_->setText(ToQ(LinesProgressText(applied)));
    bar_->hide();
}

void LinkArea::StartCountdown(std::size_t milliseconds) {
    waitMs_ = static_cast<qint64>(milliseconds);
    waitClock_.start();
    bar_->setRange(0, static_cast<int>(milliseconds));
    bar_->show();
    countdown_.start();
    Tick();
}

void LinkArea::Tick() {
    const qint64 left = std::max<qint64>(0, waitMs_ - waitClock_.elapsed());
    progress_->setText(ToQ(CountdownText(std::chrono::milliseconds(left))));
    bar_->setValue(static_cast<int>(left));
    if (left == 0) countdown_.stop();
}

}  // namespace vk930
