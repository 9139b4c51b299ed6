#pragma once

#include <QListView>

class DirListModel;

/// The directory list: the path's ancestors from the root down, then the current directory's
/// subdirectories (hidden ones left out, sorted case-insensitively), indented as a tree. A double
/// click or Enter on an entry opens it. Every change of the path raises pathChanged synchronously,
/// also when the program sets it.
class DirList : public QListView
{
    Q_OBJECT
public:
    explicit DirList(QWidget *parent = nullptr);

    /// The absolute path shown, with native separators.
    QString path() const { return m_path; }
    /// Shows `path` and re-reads it; a relative path, and on Windows a bare drive ("D:"), is taken
    /// from the current directory. False, with `error` set and nothing changed, when it cannot be
    /// opened.
    bool setPath(const QString &path, QString *error = nullptr);

Q_SIGNALS:
    void pathChanged();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void open(const QModelIndex &index);

    QString m_path;
    DirListModel *m_model;
};
