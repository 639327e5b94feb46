#include "window/icons.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>
#include <memory>

#include "core/forms/dialog_ids.h"

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

namespace {

QPixmap Render(QSvgRenderer& renderer, int pixels) {
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

QSvgRenderer* Renderer(int resource) {
    InitWindowResources();
    return new QSvgRenderer(QStringLiteral(":/icons/%1.svg").arg(resource));
}

}  // namespace

QPixmap IconPixmap(int resource, int pixels) {
    std::unique_ptr<QSvgRenderer> renderer(Renderer(resource));
    return Render(*renderer, pixels);
}

QIcon ApplicationIcon() {
    std::unique_ptr<QSvgRenderer> renderer(Renderer(id::kIconApplication));
    QIcon icon;
    for (int size : {16, 32, 48}) icon.addPixmap(Render(*renderer, size));
    return icon;
}

}  // namespace vk930
