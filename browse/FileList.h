#pragma once

#include <QListView>

class QStringListModel;

/// The file list: the files of its path whose names match its pattern, with extended multiple
/// selection. A directory that cannot be listed leaves the list empty.
class FileList : public QListView
{
    Q_OBJECT
public:
    explicit FileList(QWidget *parent = nullptr);

    QString path() const;
    void setPath(const QString &path);
    QString pattern() const;
    void setPattern(const QString &pattern);
    /// Re-reads the directory.
    void refresh();

    qsizetype count() const;
    QString entry(qsizetype index) const;
    bool isSelected(qsizetype index) const;
    void setSelected(qsizetype index, bool selected);
    /// The selected rows, ascending.
    QList<qsizetype> selectedRows() const;
    /// Adds `rows` to the selection in one step.
    void selectRows(const QList<qsizetype> &rows);

Q_SIGNALS:
    void entryDoubleClicked();

private:
    QString m_path;
    QString m_pattern = QStringLiteral("*.plt");
    QStringListModel *m_model;
};
