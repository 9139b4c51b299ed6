// What a screen reader is told about the entry lists, read through Qt's accessibility layer: the
// tree, the row items and how many of them are kept run anywhere; the events need an active
// bridge, so those cases run in the desktop set (xcb with the accessibility bus) and skip offscreen.
#include "tarnwick/browse/EntryListAccessible.h"
#include "tarnwick/browse/PrintList.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>

namespace {

QList<QAccessible::Event> sentEvents;
QList<int> sentChildren;

// Selection events only: showing, moving and repainting the list tell other things on the way.
void recordEvent(QAccessibleEvent *event)
{
    static const QList<QAccessible::Event> recorded { QAccessible::SelectionAdd, QAccessible::SelectionRemove,
        QAccessible::SelectionWithin, QAccessible::Selection, QAccessible::TableModelChanged };
    if (!recorded.contains(event->type()))
        return;
    sentEvents.append(event->type());
    sentChildren.append(event->child());
}

QStringList numbered(int count)
{
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths.append(QStringLiteral("/plots/sheet%1.plt").arg(i));
    return paths;
}

} // namespace

class tst_EntryListAccessible : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QAccessible::installUpdateHandler(recordEvent); }

    void init()
    {
        m_list = std::make_unique<PrintList>();
        m_list->setAccessibleName(QStringLiteral("Print list"));
        m_list->resize(300, 200);
        m_list->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_list.get()));
        sentEvents.clear();
        sentChildren.clear();
    }

    void cleanup() { m_list.reset(); }

    void listReadsAsAList()
    {
        m_list->append(numbered(3));
        m_list->setSelected(1, true);
        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(m_list.get());
        QVERIFY(dynamic_cast<EntryListAccessible *>(list));
        QCOMPARE(list->role(), QAccessible::List);
        QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Print list"));
        QVERIFY(list->state().multiSelectable);
        QCOMPARE(list->childCount(), 3);
        QCOMPARE(list->tableInterface()->rowCount(), 3);
        QCOMPARE(list->tableInterface()->selectedRows(), QList<int> { 1 });

        for (int row = 0; row < 3; ++row) {
            QAccessibleInterface *item = list->child(row);
            QVERIFY(item);
            QCOMPARE(item->role(), QAccessible::ListItem);
            QCOMPARE(item->text(QAccessible::Name), QStringLiteral("/plots/sheet%1.plt").arg(row));
            QCOMPARE(item->state().selected, row == 1);
            QCOMPARE(item->parent(), list);
            QCOMPARE(list->indexOfChild(item), row);
            QCOMPARE(list->childAt(item->rect().center().x(), item->rect().center().y()), item);
        }
        QVERIFY(!list->child(3));
        QVERIFY(!list->child(-1));
    }

    void walkingEveryRowKeepsFewItems()
    {
        const int count = EntryListAccessible::MaxRowInterfaces * 4;
        m_list->append(numbered(count));
        auto *list = static_cast<EntryListAccessible *>(QAccessible::queryAccessibleInterface(m_list.get()));
        QAccessibleInterface *first = list->child(0);
        const QAccessible::Id firstId = QAccessible::uniqueId(first);
        for (int row = 0; row < count; ++row)
            QCOMPARE(list->child(row)->text(QAccessible::Name), m_list->entry(row));
        QCOMPARE(list->heldRows(), EntryListAccessible::MaxRowInterfaces);
        QVERIFY(!QAccessible::accessibleInterface(firstId)); // the oldest went first

        // A row asked for again while held is the same item, and asking keeps it.
        QAccessibleInterface *last = list->child(count - 1);
        QCOMPARE(list->child(count - 1), last);
        QCOMPARE(list->selectedCells().size(), 0);
    }

    void changedRowsDropEveryItem_data()
    {
        QTest::addColumn<int>("change");
        QTest::newRow("append") << 0;
        QTest::newRow("remove selected") << 1;
        QTest::newRow("clear") << 2;
    }

    void changedRowsDropEveryItem()
    {
        requireBridge();
        QFETCH(int, change);
        m_list->append(numbered(10));
        auto *list = static_cast<EntryListAccessible *>(QAccessible::queryAccessibleInterface(m_list.get()));
        const QAccessible::Id held = QAccessible::uniqueId(list->child(4));
        QCOMPARE(list->heldRows(), 1);
        m_list->setSelected(0, true);
        if (change == 0)
            m_list->append(numbered(2));
        else if (change == 1)
            m_list->removeSelected();
        else
            m_list->clear();
        QCOMPARE(list->heldRows(), 0);
        QVERIFY(!QAccessible::accessibleInterface(held));
        QVERIFY(sentEvents.contains(QAccessible::TableModelChanged));
        if (list->childCount() > 4)
            QCOMPARE(list->child(4)->text(QAccessible::Name), m_list->entry(4));
    }

    void selectionChangesAreToldOnce_data()
    {
        QTest::addColumn<QList<qsizetype>>("rows");
        QTest::addColumn<bool>("selectAll");
        QTest::addColumn<QAccessible::Event>("event");
        QTest::addColumn<int>("child");
        QTest::newRow("one row") << QList<qsizetype> { 7 } << false << QAccessible::SelectionAdd << 7;
        QTest::newRow("scattered rows")
            << QList<qsizetype> { 1, 5, 900 } << false << QAccessible::SelectionWithin << -1;
        QTest::newRow("select all") << QList<qsizetype> {} << true << QAccessible::SelectionWithin << -1;
    }

    void selectionChangesAreToldOnce()
    {
        requireBridge();
        QFETCH(QList<qsizetype>, rows);
        QFETCH(bool, selectAll);
        QFETCH(QAccessible::Event, event);
        QFETCH(int, child);
        m_list->append(numbered(5000));
        sentEvents.clear();
        sentChildren.clear();
        if (selectAll)
            m_list->selectAll();
        else
            m_list->selectRows(rows);
        QCOMPARE(sentEvents, QList<QAccessible::Event> { event });
        QCOMPARE(sentChildren.value(0), child);
    }

    void deselectingOneRowIsToldAsThatRow()
    {
        requireBridge();
        m_list->append(numbered(20));
        m_list->selectRows({ 3, 4 });
        sentEvents.clear();
        sentChildren.clear();
        m_list->setSelected(4, false);
        QCOMPARE(sentEvents, QList<QAccessible::Event> { QAccessible::SelectionRemove });
        QCOMPARE(sentChildren, QList<int> { 4 });
    }

    void tableSelectionCommandsChangeTheView()
    {
        m_list->append(numbered(4));
        QAccessibleTableInterface *table
            = QAccessible::queryAccessibleInterface(m_list.get())->tableInterface();
        QVERIFY(table->selectRow(2));
        QVERIFY(m_list->isSelected(2));
        QVERIFY(!table->selectRow(4));
        QVERIFY(table->selectColumn(0));
        QCOMPARE(table->selectedRowCount(), 4);
        QVERIFY(table->isColumnSelected(0));
        QVERIFY(table->unselectRow(2));
        QCOMPARE(table->selectedRows(), (QList<int> { 0, 1, 3 }));
        QVERIFY(table->unselectColumn(0));
        QCOMPARE(table->selectedRowCount(), 0);
        QVERIFY(!table->selectColumn(1));
    }

    void itemOfADestroyedListIsInvalid()
    {
        m_list->append(numbered(2));
        QAccessibleInterface *item = QAccessible::queryAccessibleInterface(m_list.get())->child(1);
        const QAccessible::Id id = QAccessible::uniqueId(item);
        m_list.reset();
        QVERIFY(!QAccessible::accessibleInterface(id)); // the list took its items with it
    }

private:
    static void requireBridge()
    {
        if (!QAccessible::isActive())
            QSKIP("no accessibility bridge on this platform; the desktop set runs this case");
    }

    std::unique_ptr<PrintList> m_list;
};

QTEST_MAIN(tst_EntryListAccessible)
#include "tst_entrylistaccessible.moc"
