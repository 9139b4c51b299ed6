#pragma once

#include <QListView>

class QStringListModel;

/// The directory list: the path's ancestors from the root down, then the current directory's
/// subdirectories, indented as a tree. A double click or Enter on an entry opens it. Every change
/// of the path raises pathChanged synchronously, also when the program sets it.
class DirList : public QListView
{
    Q_OBJECT
public:
    explicit DirList(QWidget *parent = nullptr);

    /// The absolute path shown, with native separators.
    QString path() const;
    /// False, with `error` set and nothing changed, when `path` cannot be opened.
    bool setPath(const QString &path, QString *error = nullptr);

Q_SIGNALS:
    void pathChanged();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void open(const QModelIndex &index);

    QString m_path;
    QStringList m_targets; // the path each row opens
    QStringListModel *m_model;
};
