#pragma once

#include <QString>

/// A caption as it is shown and spoken: the "&" marks of access keys removed, "&&" shown as "&".
inline QString withoutAccessKeys(const QString &caption)
{
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == u'&' && ++i == caption.size())
            break;
        shown.append(caption.at(i));
    }
    return shown;
}
