#include "browse/DirectoryReader.h"

#include <QDir>
#include <algorithm>
#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path toNativePath(const QString &directory)
{
#ifdef Q_OS_WIN
    return fs::path(directory.toStdWString());
#else
    return fs::path(QFile::encodeName(directory).toStdString());
#endif
}

QString nameOf(const fs::directory_entry &entry)
{
    const auto &full = entry.path().native();
    const auto slash = full.find_last_of(fs::path::preferred_separator);
    const auto start = slash == full.npos ? 0 : slash + 1;
#ifdef Q_OS_WIN
    return QString::fromWCharArray(full.data() + start, qsizetype(full.size() - start));
#else
    return QFile::decodeName(QByteArray(full.data() + start, qsizetype(full.size() - start)));
#endif
}

bool isOfKind(const fs::directory_entry &entry, DirectoryReader::EntryKind kind)
{
    std::error_code ignored; // a dangling link is neither kind
    return kind == DirectoryReader::EntryKind::Files ? entry.is_regular_file(ignored)
                                                     : entry.is_directory(ignored);
}

struct SortEntry
{
    QString folded;
    QString name;
};

QString describe(const QString &directory, const std::error_code &error)
{
    return QStringLiteral("\"%1\" cannot be read: %2")
        .arg(QDir::toNativeSeparators(directory), QString::fromLocal8Bit(error.message()));
}

} // namespace

namespace DirectoryReader {

DirectoryListing read(const QString &directory, EntryKind kind, const NameFilter &accept)
{
    std::error_code error;
    fs::directory_iterator it(toNativePath(directory), error);
    std::vector<SortEntry> found;
    for (const fs::directory_iterator end; !error && it != end; it.increment(error)) {
        QString name = nameOf(*it);
        if (name.startsWith(u'.') || !isOfKind(*it, kind))
            continue;
        QString folded = name.toCaseFolded();
        if (!accept || accept(folded))
            found.push_back({ std::move(folded), std::move(name) });
    }
    if (error)
        return { {}, describe(directory, error) };

    // Sorting on keys folded once is several times faster than case-insensitive comparisons.
    std::sort(found.begin(), found.end(), [](const SortEntry &a, const SortEntry &b) {
        const int order = a.folded.compare(b.folded);
        return order != 0 ? order < 0 : a.name < b.name;
    });
    DirectoryListing listing;
    listing.names.reserve(qsizetype(found.size()));
    for (SortEntry &entry : found)
        listing.names.append(std::move(entry.name));
    return listing;
}

} // namespace DirectoryReader
