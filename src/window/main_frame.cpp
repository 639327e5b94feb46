#include "window/main_frame.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollArea>
#include <QShortcut>

#include "core/app/command_map.h"
#include "core/forms/form_ids.h"
#include "core/forms/menu_template.h"
#include "core/link/com_port_names.h"
#include "window/icons.h"
#include "window/main_form.h"
#include "window/text.h"

namespace vk930 {

namespace {

// A sizable window with a caption, a system menu and a close box; nothing else.
constexpr Qt::WindowFlags kFrameStyle = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

bool IsComPortCommand(int id) {
    return id >= id::kCmdComPort1 && id < id::kCmdComPort1 + kPortCount;
}

QString FirstLocalFile(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return {};
}

}  // namespace

CMainFrame::CMainFrame() : QMainWindow(nullptr, kFrameStyle) {
    setWindowIcon(ApplicationIcon());
    setAcceptDrops(true);
    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(false);
    setCentralWidget(scroll_);
    BuildMenu();
    BuildAccelerators();
}

void CMainFrame::SetForm(MainFormWidget* form) {
    form_ = form;
    scroll_->setWidget(form);
}

void CMainFrame::BuildMenu() {
    for (const MenuPopup& popup : MainMenuTemplate()) {
        QMenu* menu = menuBar()->addMenu(ToQ(popup.text));
        for (const MenuItem& item : popup.items) {
            if (item.id == kSeparator) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(ToQ(item.text));
            action->setObjectName(QStringLiteral("cmd%1").arg(item.id));
            action->setData(item.id);
            action->setStatusTip(ToQ(item.prompt));
            connect(action, &QAction::triggered, this, [this, id = item.id] { emit command(id); });
            actions_[item.id] = action;
        }
        if (popup.items.size() && IsComPortCommand(popup.items.front().id)) {
            comPortMenu_ = menu;
            menu->setToolTipsVisible(true);  // each port's tool tip says what it reaches
        }
    }
    connect(comPortMenu_, &QMenu::aboutToShow, this, &CMainFrame::comPortMenuAboutToShow);
}

void CMainFrame::BuildAccelerators() {
    // Commands without a handler of the program's own go nowhere: the save key never writes.
    for (const Accelerator& accelerator : MainAccelerators()) {
        auto* shortcut = new QShortcut(QKeySequence(ToQ(accelerator.key)), this);
        connect(shortcut, &QShortcut::activated, this,
                [this, id = accelerator.id] { emit command(id); });
        shortcuts_.push_back(shortcut);
    }
}

QAction* CMainFrame::MenuCommand(int id) const {
    const auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

void CMainFrame::SetComPortItem(int port, bool checked, const QString& toolTip) {
    QAction* item = MenuCommand(id::kCmdComPort1 + port - 1);
    // Only the checked item is checkable: styles draw an empty box beside the others.
    item->setCheckable(checked);
    item->setChecked(checked);
    item->setToolTip(toolTip);
}

void CMainFrame::SetBusy(bool busy) {
    for (const auto& [id, action] : actions_)
        if (!TakesInputWhileBusy(id)) action->setEnabled(!busy);
    for (QShortcut* shortcut : shortcuts_) shortcut->setEnabled(!busy);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (allowClose_ && !allowClose_()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void CMainFrame::SetDocumentTitle(const QString& title) {
    setWindowTitle(QString::fromLatin1(kFrameTitle) + " - " + title);
}

void CMainFrame::FitToForm(bool shrinkOnly) {
    if (!form_) return;
    const QSize chrome(0, menuBar()->sizeHint().height());
    const QSize fit = form_->FormSize() + chrome;
    if (!shrinkOnly) {
        resize(fit);
        return;
    }
    resize(std::min(width(), fit.width()), std::min(height(), fit.height()));
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!FirstLocalFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QString path = FirstLocalFile(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    emit fileDropped(path);
}

}  // namespace vk930
