#pragma once

#include <QIcon>
#include <QPixmap>

namespace AppIcon {
/// The program's icon in all its sizes.
QIcon icon();
/// The 48 x 48, 16-colour image the About window shows.
QPixmap sixteenColourImage();
} // namespace AppIcon
