#include "modal_answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QThread>

#include "window/dialog_builder.h"

namespace vk930::test {

namespace {
constexpr int kPollMs = 10;
constexpr int kStuckMs = 5000;
}  // namespace

ModalAnswerer::ModalAnswerer(std::vector<Action> actions)
    : actions_(actions.begin(), actions.end()) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start(kPollMs);
}

void ModalAnswerer::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    if (modal == lastTarget_) {
        // Still open long after its answer: the answer did not take. Close it so that the
        // test fails instead of waiting for ever.
        if (sinceAnswer_.elapsed() > kStuckMs) {
            ++unexpected_;
            sinceAnswer_.restart();
            RejectDialog()(modal);
        }
        return;
    }
    // A dialog is answered once it has been on top for two passes of the event loop: the one
    // below a closing dialog is on top for a moment before it closes too.
    if (modal != candidate_) {
        candidate_ = modal;
        return;
    }
    Answer(modal);
}

void ModalAnswerer::Answer(QWidget* modal) {
    lastTarget_ = modal;
    candidate_ = nullptr;
    sinceAnswer_.restart();
    Action action;
    if (actions_.empty()) {
        ++unexpected_;
        action = RejectDialog();
    } else {
        action = std::move(actions_.front());
        actions_.pop_front();
        ++answered_;
    }
    // Run from the event loop: an action may open a dialog of its own.
    QPointer<QWidget> target = modal;
    QMetaObject::invokeMethod(
        qApp,
        [action, target] {
            if (target) action(target);
        },
        Qt::QueuedConnection);
}

ModalAnswerer::Action AcceptMessageBox(std::vector<MessageBoxSeen>& seen) {
    return [&seen](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        seen.push_back(
            box ? MessageBoxSeen{box->windowTitle(), box->text()}
                : MessageBoxSeen{"not a message box", dialog->metaObject()->className()});
        if (box)
            box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)->click() : box->accept();
        else if (auto* d = qobject_cast<QDialog*>(dialog))
            d->reject();
    };
}

ModalAnswerer::Action PickFile(const QString& path) {
    return [path](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        if (!files) {
            qobject_cast<QDialog*>(dialog)->reject();
            return;
        }
        // Typed, as a user would: selectFile() leaves a focused name field alone.
        auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (name)
            name->setText(path);
        else
            files->selectFile(path);
        static_cast<QDialog*>(files)->accept();  // the file dialog checks the name first
    };
}

ModalAnswerer::Action RejectDialog() {
    return [](QWidget* dialog) {
        if (auto* d = qobject_cast<QDialog*>(dialog))
            d->reject();
        else
            dialog->close();
    };
}

ModalAnswerer::Action ClickControl(int id) {
    return [id](QWidget* dialog) {
        auto* button = dialog->findChild<QAbstractButton*>(ControlObjectName(id));
        if (button)
            button->click();
        else
            qobject_cast<QDialog*>(dialog)->reject();
    };
}

ModalAnswerer::Action Inspect(std::function<void(QWidget*)> inspect, ModalAnswerer::Action then) {
    return [inspect, then](QWidget* dialog) {
        inspect(dialog);
        then(dialog);
    };
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) return false;
        QApplication::processEvents(QEventLoop::AllEvents, kPollMs);
        QThread::msleep(2);
    }
    return true;
}

void ProcessEventsFor(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, kPollMs);
        QThread::msleep(2);
    }
}

}  // namespace vk930::test
