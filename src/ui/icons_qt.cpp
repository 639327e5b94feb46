#include "ui/icons_qt.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

#include "res/dialog_ids.h"

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitResourcesOnce() {
    static const bool done = [] {
        Q_INIT_RESOURCE(vk930config);
        return true;
    }();
    (void)done;
}

namespace vk930 {

void InitWindowResources() {
    InitResourcesOnce();
}

QPixmap IconPixmap(int resource, int pixels) {
    InitWindowResources();
    QSvgRenderer renderer(QStringLiteral(":/icons/%1.svg").arg(resource));
    if (!renderer.isValid()) return {};
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    const int device = qRound(pixels * ratio);
    QPixmap pixmap(device, device);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

QIcon ApplicationIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64}) icon.addPixmap(IconPixmap(id::kIconApplication, size));
    return icon;
}

}  // namespace vk930
