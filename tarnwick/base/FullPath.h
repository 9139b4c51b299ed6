#pragma once

#include <QDir>
#include <QString>

/// A directory and a name joined by the native separator, without any check: at a root, whose
/// text already ends in a separator, two separators stand together.
inline QString fullPath(const QString &directory, const QString &name)
{
    return directory + QDir::separator() + name;
}
