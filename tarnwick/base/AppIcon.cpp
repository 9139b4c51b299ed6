#include "tarnwick/base/AppIcon.h"

// The icons are compiled into the static library, whose resource initialiser the linker would
// drop as unreferenced; this references it. It must stand outside any namespace.
static void initialiseResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace {

void ensureResources()
{
    static const bool initialised = (initialiseResources(), true);
    Q_UNUSED(initialised);
}

} // namespace

namespace AppIcon {

QIcon icon()
{
    ensureResources();
    QIcon icon;
    for (int size : { 16, 24, 32, 48 })
        icon.addFile(QStringLiteral(":/tarnwick/icon-%1.png").arg(size), QSize(size, size));
    return icon;
}

QPixmap sixteenColourImage()
{
    ensureResources();
    return QPixmap(QStringLiteral(":/tarnwick/icon-48-16colour.png"));
}

} // namespace AppIcon
