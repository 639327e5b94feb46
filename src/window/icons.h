#pragma once
// The program's icons, drawn from the SVG files bundled as Qt resources (":/icons/N.svg",
// N the icon's resource number).
#include <QIcon>
#include <QPixmap>

namespace vk930 {

// Registers the bundled resources; safe to call more than once.
void InitWindowResources();

// The icon resource drawn at `pixels` x `pixels` (device-independent pixels); a null pixmap
// for an unknown resource.
QPixmap IconPixmap(int resource, int pixels);

// The application icon (128) at the usual sizes, for window captions.
QIcon ApplicationIcon();

}  // namespace vk930
