#pragma once

#include "tarnwick/browse/DirectorySnapshot.h"
#include "tarnwick/browse/EntryListView.h"

struct DirectoryListing;

/// The file list: the files of its path whose names match its pattern (see FilePattern), sorted
/// case-insensitively, hidden (dot) files left out. A directory that cannot be read leaves the
/// list empty.
class FileList : public EntryListView
{
    Q_OBJECT
public:
    explicit FileList(QWidget *parent = nullptr);

    QString path() const { return m_path; }
    /// Lists `path` afresh, with nothing selected.
    void setPath(const QString &path);
    QString pattern() const { return m_pattern; }
    /// Lists the path afresh with `pattern`, kept exactly as given; nothing is selected.
    void setPattern(const QString &pattern);
    /// Re-reads the directory. When nothing changed the list stays as it is, scroll position and
    /// all; otherwise the files still there stay selected, and the current one current.
    void refresh();
    /// The full path of every selected file, in list order.
    QStringList selectedPaths() const;

Q_SIGNALS:
    void entryDoubleClicked();

private:
    /// Reads the path over the snapshot of its previous reading.
    DirectoryListing reread();
    /// Lists the path afresh.
    void list();

    QString m_path;
    QString m_pattern = QStringLiteral("*.plt");
    DirectorySnapshot m_snapshot;
};
