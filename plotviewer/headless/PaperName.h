#pragma once

#include <QPageSize>
#include <QString>

#include <optional>

namespace plotviewer {

/// The paper a name stands for: a Qt key or name such as "A4" or "Letter", case aside, or a PWG
/// self-describing media name such as "iso_a4_210x297mm" or "na_letter_8.5x11in".
std::optional<QPageSize> paperFromName(const QString &name);

} // namespace plotviewer
