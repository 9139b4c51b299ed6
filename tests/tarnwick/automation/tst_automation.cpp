#include "AutomationFailure.h"
#include "contract/AutomationInterfaces.h"
#include "tarnwick/automation/AutomationError.h"
#include "tarnwick/automation/AutomationObject.h"
#include "tarnwick/automation/AutomationRegistry.h"

#include <QPointer>
#include <QTest>

namespace {

class Target : public QObject, public AutomationErrorSource
{
    Q_OBJECT
    Q_INTERFACES(AutomationErrorSource)
public:
    Q_INVOKABLE QString Echo(const QString &text) { return text; }
    Q_INVOKABLE int Add(int a, int b) { return a + b; }
    Q_INVOKABLE short Narrow(short value) { return value; }
    Q_INVOKABLE void Fail() { m_error = QStringLiteral("the server says no"); }
    Q_INVOKABLE void Note(const QString &) { }
    Q_INVOKABLE QObject *Child()
    {
        auto *child = new Target;
        lastChild = child;
        return child;
    }
    Q_INVOKABLE QObject *FailWithObject()
    {
        auto *child = new Target;
        lastChild = child;
        m_error = QStringLiteral("half done");
        return child;
    }
    QString takeError() override { return std::exchange(m_error, QString()); }

    static inline QPointer<QObject> lastChild;

Q_SIGNALS:
    void notCallable();

private:
    QString m_error;
};

} // namespace

class tst_Automation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void calls_data()
    {
        QTest::addColumn<QString>("member");
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("by name") << QStringLiteral("Echo") << QVariantList { QStringLiteral("hi") }
                                 << QVariant(QStringLiteral("hi"));
        QTest::newRow("name ignores case") << QStringLiteral("eCHO") << QVariantList { QStringLiteral("x") }
                                           << QVariant(QStringLiteral("x"));
        QTest::newRow("arguments converted")
            << QStringLiteral("Add") << QVariantList { QStringLiteral("2"), 3.0 } << QVariant(5);
        QTest::newRow("short from int")
            << QStringLiteral("Narrow") << QVariantList { 2 } << QVariant::fromValue<short>(2);
        QTest::newRow("number as text")
            << QStringLiteral("Echo") << QVariantList { 7 } << QVariant(QStringLiteral("7"));
        QTest::newRow("void member gives no value")
            << QStringLiteral("Note") << QVariantList { QStringLiteral("x") } << QVariant();
    }
    void calls()
    {
        QFETCH(QString, member);
        QFETCH(QVariantList, arguments);
        QFETCH(QVariant, expected);
        const AutomationObject object(new Target);
        QCOMPARE(object.call(member, arguments), expected);
    }

    void failures_data()
    {
        QTest::addColumn<QString>("member");
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<QString>("description");
        QTest::newRow("unknown member")
            << QStringLiteral("Print") << QVariantList {}
            << QStringLiteral("The object does not support the member \"Print\".");
        QTest::newRow("signals are not members") << QStringLiteral("notCallable") << QVariantList {}
                                                 << QStringLiteral("does not support the member");
        QTest::newRow("too few arguments")
            << QStringLiteral("Add") << QVariantList { 1 }
            << QStringLiteral("Wrong number of arguments for \"Add\": it takes 2, 1 given.");
        QTest::newRow("too many arguments")
            << QStringLiteral("Fail") << QVariantList { 1 } << QStringLiteral("it takes 0, 1 given");
        QTest::newRow("type mismatch")
            << QStringLiteral("Narrow") << QVariantList { QVariant::fromValue(QPoint(1, 2)) }
            << QStringLiteral("Type mismatch in argument 1 of \"Narrow\"");
        QTest::newRow("text that is no number")
            << QStringLiteral("Add") << QVariantList { 1, QStringLiteral("two") }
            << QStringLiteral("Type mismatch in argument 2 of \"Add\"");
        QTest::newRow("missing value") << QStringLiteral("Echo") << QVariantList { QVariant() }
                                       << QStringLiteral("Type mismatch in argument 1");
        QTest::newRow("overflow") << QStringLiteral("Narrow") << QVariantList { 70000 }
                                  << QStringLiteral(
                                         "Overflow in argument 1 of \"Narrow\": 70000 does not fit");
        QTest::newRow("error raised by the server") << QStringLiteral("Fail") << QVariantList {}
                                                    << QStringLiteral("\"Fail\" failed: the server says no");
    }
    void failures()
    {
        QFETCH(QString, member);
        QFETCH(QVariantList, arguments);
        QFETCH(QString, description);
        const AutomationObject object(new Target);
        QVERIFY2(failureOf([&] { object.call(member, arguments); }).contains(description),
            qPrintable(failureOf([&] { object.call(member, arguments); })));
    }

    void hasMember_data()
    {
        QTest::addColumn<QString>("member");
        QTest::addColumn<bool>("has");
        QTest::newRow("a member") << QStringLiteral("Add") << true;
        QTest::newRow("name ignores case") << QStringLiteral("aDD") << true;
        QTest::newRow("unknown member") << QStringLiteral("PageCount") << false;
        QTest::newRow("signals are not members") << QStringLiteral("notCallable") << false;
    }
    void hasMember()
    {
        QFETCH(QString, member);
        QFETCH(bool, has);
        AutomationObject object(new Target);
        QCOMPARE(object.hasMember(member), has);
        object.release();
        QVERIFY(!object.hasMember(member));
    }

    void emptyReferenceFails()
    {
        AutomationObject object(new Target);
        object.release();
        QVERIFY(object.isEmpty());
        QCOMPARE(failureOf([&] { object.call("Echo", { 1 }); }),
            QStringLiteral("Object variable not set: \"Echo\" was called through an empty reference."));
    }

    void lastReferenceDestroysTheObject()
    {
        auto *raw = new Target;
        QPointer<QObject> watched(raw);
        {
            AutomationObject first(raw);
            const AutomationObject second = first;
            first.release();
            QVERIFY(watched);
            QCOMPARE(second.call("Add", { 1, 1 }).toInt(), 2);
        }
        QVERIFY(!watched);
    }

    void returnedObjectsAreOwnedByTheCaller()
    {
        const AutomationObject parent(new Target);
        {
            const AutomationObject child = parent.callObject("child");
            QVERIFY(Target::lastChild);
            QCOMPARE(child.call("Echo", { QStringLiteral("c") }).toString(), QStringLiteral("c"));
        }
        QVERIFY(!Target::lastChild);
    }

    void objectReturnedWithAnErrorIsNotLeaked()
    {
        const AutomationObject parent(new Target);
        QCOMPARE(failureOf([&] { parent.callObject("FailWithObject"); }),
            QStringLiteral("\"FailWithObject\" failed: half done"));
        QVERIFY(!Target::lastChild);
    }

    void callObjectNeedsAnObject()
    {
        const AutomationObject object(new Target);
        QCOMPARE(failureOf([&] { object.callObject("Echo", { 1 }); }),
            QStringLiteral("\"Echo\" did not return an object."));
    }

    void inProcessServer()
    {
        AutomationRegistry &registry = AutomationRegistry::instance();
        registry.registerInProcess(QStringLiteral("Test.Inproc"), [](QString *) { return new Target; });
        const AutomationObject object = AutomationObject::create(QStringLiteral("test.inproc"));
        QCOMPARE(object.call("Echo", { QStringLiteral("in") }).toString(), QStringLiteral("in"));
        registry.registerInProcess(QStringLiteral("Test.Inproc"), [](QString *error) -> QObject * {
            *error = QStringLiteral("out of memory");
            return nullptr;
        });
        QCOMPARE(failureOf([] { AutomationObject::create(QStringLiteral("Test.Inproc")); }),
            QStringLiteral(
                "The automation server \"Test.Inproc\" could not create an object: out of memory"));
        registry.unregisterInProcess(QStringLiteral("Test.Inproc"));
    }

    void pluginServers_data()
    {
        QTest::addColumn<QString>("progId");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("working") << QStringLiteral("Test.echo") << QStringLiteral("echo");
        QTest::newRow("ProgID ignores case") << QStringLiteral("TEST.ECHO") << QStringLiteral("echo");
        QTest::newRow("not installed")
            << QStringLiteral("Plotviewer.application")
            << QStringLiteral(
                   "The automation server \"Plotviewer.application\" is not installed (looked in ");
        QTest::newRow("does not load") << QStringLiteral(
            "Test.broken") << QStringLiteral("The automation server \"Test.broken\" could not be loaded: ");
        QTest::newRow("loads but serves nothing")
            << QStringLiteral("Test.notaserver") << QStringLiteral("is not an automation server");
        QTest::newRow("refuses to make the object")
            << QStringLiteral("Test.refusing")
            << QStringLiteral("The automation server \"Test.refusing\" could not create an object: the "
                              "licence has expired");
    }
    void pluginServers()
    {
        QFETCH(QString, progId);
        QFETCH(QString, outcome);
        AutomationRegistry &registry = AutomationRegistry::instance();
        const QStringList saved = registry.searchFolders();
        registry.setSearchFolders(
            { QStringLiteral("/nonexistent/servers"), QStringLiteral(TEST_SERVER_DIR) });
        const QString result = failureOf([&] {
            const AutomationObject object = AutomationObject::create(progId);
            throw AutomationError(object.call("Echo", { QStringLiteral("echo") }).toString());
        });
        registry.setSearchFolders(saved);
        QVERIFY2(result.contains(outcome), qPrintable(result));
    }

    void loadFailureSaysWhy()
    {
        AutomationRegistry &registry = AutomationRegistry::instance();
        const QStringList saved = registry.searchFolders();
        registry.setSearchFolders({ QStringLiteral(TEST_SERVER_DIR) });
        const QString result = failureOf([] { AutomationObject::create(QStringLiteral("Test.broken")); });
        registry.setSearchFolders(saved);
        QVERIFY2(result.contains(QLatin1String("symbolThatNoLibraryDefines")), qPrintable(result));
    }

    void defaultSearchFolders()
    {
        QStringList folders = AutomationRegistry::defaultSearchFolders();
        QVERIFY(!folders.isEmpty());
        QCOMPARE(folders.first(), QCoreApplication::applicationDirPath() + QStringLiteral("/servers"));
        QCOMPARE(folders.removeDuplicates(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_Automation)
#include "tst_automation.moc"
