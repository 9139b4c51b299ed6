#include "tarnwick/browse/DirectoryReader.h"

#include "tarnwick/browse/DirectorySnapshot.h"
#include "tarnwick/browse/MergedNames.h"
#include "tarnwick/browse/SnapshotCursor.h"

#include <QDir>
#include <system_error>
#include <vector>

#ifdef Q_OS_WIN
#include <filesystem>
#else
#include <dirent.h>
#include <memory>
#include <sys/stat.h>
#endif

namespace {

using DirectoryReader::EntryKind;

/// Collects the visible entries `accept` takes. Those the snapshot holds keep what it says of them;
/// only the others are decoded, folded and matched.
class Collector
{
public:
    Collector(EntryKind kind, const DirectoryReader::NameFilter &accept, const DirectorySnapshot &earlier)
        : kind(kind)
        , m_accept(accept)
        , m_earlier(earlier)
        , m_cursor(earlier)
        , m_stillThere(size_t(earlier.names().size()), false)
    {
        m_next.reserveLike(earlier);
    }

    /// An entry of the wanted kind, by its name in UTF-8: as the file system gives it on Unix, where
    /// Qt 6 takes file names as UTF-8.
    void add(QByteArrayView rawName)
    {
        const qsizetype known = m_cursor.find(rawName);
        const qsizetype row = known >= 0 ? m_earlier.row(known) : DirectorySnapshot::LeftOut;
        if (row != DirectorySnapshot::LeftOut)
            m_stillThere[size_t(row)] = true;
        if (m_cursor.inStep())
            return; // the earlier snapshot holds this entry as it is
        recordEntriesInStep();
        if (known >= 0)
            m_next.addEntry(rawName, row); // renumbered in finish()
        else
            m_next.addEntry(rawName, addIfListed(rawName) ? NewcomerRow : DirectorySnapshot::LeftOut);
    }

    /// The listing; `snapshot`, the earlier one, becomes this reading's.
    DirectoryListing finish(DirectorySnapshot &snapshot)
    {
        if (m_cursor.metAllInOrder())
            return { m_earlier.names(), {}, {} };
        recordEntriesInStep();
        MergedNames merged = mergedNames(m_earlier.names(), std::move(m_stillThere), std::move(m_newcomers));
        size_t newcomer = 0;
        for (qsizetype entry = 0; entry < m_next.entryCount(); ++entry) {
            const qsizetype row = m_next.row(entry);
            if (row == NewcomerRow)
                m_next.setRow(entry, merged.rowOfNewcomer[newcomer++]);
            else if (row != DirectorySnapshot::LeftOut)
                m_next.setRow(entry, merged.rowOfKnown[size_t(row)]);
        }
        m_next.setNames(merged.names);
        snapshot = std::move(m_next);
        return { std::move(merged.names), {}, std::move(merged.rowOfKnown) };
    }

    const EntryKind kind;

private:
    /// Copies the entries met in step with the earlier snapshot into the next, once it differs.
    void recordEntriesInStep()
    {
        if (!m_recording)
            m_next.addEntries(m_earlier, m_cursor.metInStep());
        m_recording = true;
    }

    /// Adds the entry to the newcomers unless the listing leaves it out.
    bool addIfListed(QByteArrayView rawName)
    {
        QString name = QString::fromUtf8(rawName);
        // A name that is no valid UTF-8 cannot be opened again through its decoded text.
        if (name.startsWith(u'.')
            || (name.contains(QChar::ReplacementCharacter) && QByteArrayView(name.toUtf8()) != rawName))
            return false;
        QString folded = name.toCaseFolded();
        if (m_accept && !m_accept(folded))
            return false;
        m_newcomers.push_back({ std::move(folded), std::move(name) });
        return true;
    }

    // Stands in the next snapshot for a newcomer's row until the merge places it.
    static constexpr qsizetype NewcomerRow = -2;

    const DirectoryReader::NameFilter &m_accept;
    const DirectorySnapshot &m_earlier;
    SnapshotCursor m_cursor;
    std::vector<bool> m_stillThere; // by row of the earlier listing
    DirectorySnapshot m_next; // recorded from the first entry out of step on
    bool m_recording = false;
    std::vector<FoldedName> m_newcomers; // in the order met
};

#ifdef Q_OS_WIN

std::error_code collect(const QString &directory, Collector &collector)
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::directory_iterator it(fs::path(directory.toStdWString()), error);
    for (const fs::directory_iterator end; !error && it != end; it.increment(error)) {
        std::error_code ignored; // a dangling link is neither kind
        const bool wanted
            = collector.kind == EntryKind::Files ? it->is_regular_file(ignored) : it->is_directory(ignored);
        if (wanted)
            collector.add(QString::fromStdWString(it->path().filename().native()).toUtf8());
    }
    return error;
}

#else

bool isOfKind(DIR *directory, const dirent &entry, EntryKind kind)
{
    const unsigned char wanted = kind == EntryKind::Files ? DT_REG : DT_DIR;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN)
        return entry.d_type == wanted;
    // Only links, and file systems that keep no type in the directory, cost a status call.
    struct stat status;
    if (fstatat(dirfd(directory), entry.d_name, &status, 0) != 0)
        return false; // a dangling link is neither kind
    return kind == EntryKind::Files ? S_ISREG(status.st_mode) : S_ISDIR(status.st_mode);
}

std::error_code collect(const QString &directory, Collector &collector)
{
    const std::unique_ptr<DIR, int (*)(DIR *)> opened(
        opendir(QFile::encodeName(directory).constData()), closedir);
    if (!opened)
        return { errno, std::generic_category() };
    for (;;) {
        errno = 0;
        const dirent *entry = readdir(opened.get());
        if (!entry)
            return errno == 0 ? std::error_code() : std::error_code(errno, std::generic_category());
        if (isOfKind(opened.get(), *entry, collector.kind))
            collector.add(entry->d_name);
    }
}

#endif

} // namespace

namespace DirectoryReader {

DirectoryListing read(const QString &directory, EntryKind kind, const NameFilter &accept)
{
    DirectorySnapshot none;
    return reread(directory, kind, accept, none);
}

DirectoryListing reread(
    const QString &directory, EntryKind kind, const NameFilter &accept, DirectorySnapshot &snapshot)
{
    Collector collector(kind, accept, snapshot);
    if (const std::error_code error = collect(directory, collector)) {
        snapshot = {};
        return { {},
            QStringLiteral("\"%1\" cannot be read: %2")
                .arg(QDir::toNativeSeparators(directory), QString::fromLocal8Bit(error.message())),
            {} };
    }
    return collector.finish(snapshot);
}

} // namespace DirectoryReader
