// The plugin as the program sees it: loaded from the build's server folder, members called by name.

#include "FixedPrinterLookup.h"
#include "OtherFiles.h"
#include "PdfProbe.h"
#include "PictureInk.h"
#include "PlotServerPlugin.h"
#include "contract/AutomationInterfaces.h"
#include "contract/PlotViewerContract.h"
#include "plotviewer/document/PlotLoader.h"
#include "plotviewer/document/PrintJob.h"
#include "plotviewer/document/PrinterSelection.h"

#include <QApplication>
#include <QColor>
#include <QDialog>
#include <QFile>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonObject>
#include <QMetaMethod>
#include <QPluginLoader>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace plotviewer;
using namespace plotviewer::test;

namespace {

QString dataFile(const char *name)
{
    return QStringLiteral(TARNWICK_SERVER_TEST_DATA "/%1").arg(QLatin1String(name));
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}

} // namespace

class tst_PlotViewerPlugin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void metadataDeclaresTheProgId();
    void factoryMakesOnlyItsProgId_data();
    void factoryMakesOnlyItsProgId();
    void membersHaveTheContractSignatures_data();
    void membersHaveTheContractSignatures();
    void openFails_data();
    void openFails();
    void setColorMode_data();
    void setColorMode();
    void saveToWritesAFittedJpeg_data();
    void saveToWritesAFittedJpeg();
    void pagesAreThePrintedSheets_data();
    void pagesAreThePrintedSheets();
    void savePageToRefusesAMissingPage_data();
    void savePageToRefusesAMissingPage();
    void saveToReplacesAnExistingPicture();
    void saveToFailureKeepsTheOldPicture();
    void errorsAreAboutTheLastCallOnly();
    void documentKeepsTheWarnings();
    void penTableIsReadForEveryOpen();
    void documentsBelongToTheCaller();
    void printSetupShowsThePrintDialog();
    void doPrintWithoutAnyPrinterSaysSo();

private:
    std::unique_ptr<QObject> open(const QString &path);

    std::unique_ptr<QObject> m_server;
    QTemporaryDir m_dir;
};

void tst_PlotViewerPlugin::initTestCase()
{
    QVERIFY2(QFile::exists(plotServerPluginPath()), qPrintable(plotServerPluginPath()));
}

void tst_PlotViewerPlugin::init()
{
    QString error;
    m_server = createPlotServer(&error);
    QVERIFY2(m_server, qPrintable(error));
}

void tst_PlotViewerPlugin::cleanup()
{
    m_server.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

std::unique_ptr<QObject> tst_PlotViewerPlugin::open(const QString &path)
{
    QString error;
    std::unique_ptr<QObject> document
        = callForObject(*m_server, PlotViewer::Open, Q_ARG(QString, path), &error);
    if (!error.isEmpty())
        qWarning("Open(%s): %s", qPrintable(path), qPrintable(error));
    return document;
}

void tst_PlotViewerPlugin::metadataDeclaresTheProgId()
{
    const QJsonObject metaData = QPluginLoader(plotServerPluginPath()).metaData();
    QCOMPARE(metaData.value(QLatin1String("IID")).toString(), QLatin1String(AutomationServerFactory_iid));
    const QJsonArray progIds
        = metaData.value(QLatin1String("MetaData")).toObject().value(QLatin1String("ProgIDs")).toArray();
    QCOMPARE(progIds, QJsonArray { QLatin1String(PlotViewer::ProgId) });
}

void tst_PlotViewerPlugin::factoryMakesOnlyItsProgId_data()
{
    QTest::addColumn<QString>("progId");
    QTest::addColumn<bool>("made");

    QTest::newRow("its own ProgID") << QStringLiteral("Plotviewer.application") << true;
    QTest::newRow("ProgIDs ignore case") << QStringLiteral("PLOTVIEWER.Application") << true;
    QTest::newRow("someone else's") << QStringLiteral("Word.Application") << false;
    QTest::newRow("empty") << QString() << false;
}

void tst_PlotViewerPlugin::factoryMakesOnlyItsProgId()
{
    QFETCH(QString, progId);
    QFETCH(bool, made);
    QPluginLoader loader(plotServerPluginPath());
    auto *factory = qobject_cast<AutomationServerFactory *>(loader.instance());
    QVERIFY2(factory, qPrintable(loader.errorString()));
    QString error;
    const std::unique_ptr<QObject> object(factory->createObject(progId, &error));
    QCOMPARE(bool(object), made);
    QCOMPARE(error.isEmpty(), made);
    if (made) {
        QVERIFY(qobject_cast<AutomationErrorSource *>(object.get()));
        QVERIFY(!object->parent());
    } else {
        QVERIFY2(error.contains(progId), qPrintable(error));
    }
}

void tst_PlotViewerPlugin::membersHaveTheContractSignatures_data()
{
    QTest::addColumn<bool>("onDocument");
    QTest::addColumn<QByteArray>("signature");
    QTest::addColumn<QByteArray>("returnType");

    QTest::newRow("Open") << false << QByteArray("Open(QString)") << QByteArray("QObject*");
    QTest::newRow("PrintSetup") << false << QByteArray("PrintSetup()") << QByteArray("void");
    QTest::newRow("SetPenTable") << false << QByteArray("SetPenTable(QString)") << QByteArray("void");
    QTest::newRow("SetColorMode") << true << QByteArray("SetColorMode(short)") << QByteArray("void");
    QTest::newRow("ActualSize") << true << QByteArray("ActualSize()") << QByteArray("void");
    QTest::newRow("DoPrint") << true << QByteArray("DoPrint()") << QByteArray("void");
    QTest::newRow("SaveTo") << true << QByteArray("SaveTo(QString)") << QByteArray("void");
    QTest::newRow("PageCount") << true << QByteArray("PageCount()") << QByteArray("int");
    QTest::newRow("PreviewPage") << true << QByteArray("PreviewPage()") << QByteArray("int");
    QTest::newRow("SavePageTo") << true << QByteArray("SavePageTo(int,QString)") << QByteArray("void");
}

void tst_PlotViewerPlugin::membersHaveTheContractSignatures()
{
    QFETCH(bool, onDocument);
    QFETCH(QByteArray, signature);
    QFETCH(QByteArray, returnType);
    const std::unique_ptr<QObject> document = open(dataFile("landscape.plt"));
    QVERIFY(document);
    QObject &object = onDocument ? *document : *m_server;
    QVERIFY(qobject_cast<AutomationErrorSource *>(&object));
    const int index = object.metaObject()->indexOfMethod(signature.constData());
    QVERIFY2(index >= 0, signature.constData());
    const QMetaMethod method = object.metaObject()->method(index);
    QCOMPARE(method.access(), QMetaMethod::Public);
    QCOMPARE(method.methodType(), QMetaMethod::Method);
    QCOMPARE(QByteArray(method.typeName()), returnType);
}

void tst_PlotViewerPlugin::openFails_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("error");

    const QString missing = m_dir.filePath(QStringLiteral("missing.plt"));
    QTest::newRow("missing file")
        << missing << QStringLiteral("Cannot open the plot file \"%1\": it does not exist.").arg(missing);
    QTest::newRow("a folder")
        << m_dir.path()
        << QStringLiteral("Cannot open the plot file \"%1\": it is a folder, not a file.").arg(m_dir.path());
    const QString nothing = QStringLiteral("The plot file \"%1\" holds nothing to draw: ");
    const QString empty = writeFile(m_dir, QStringLiteral("empty.plt"), {});
    QTest::newRow("empty file") << empty << nothing.arg(empty);
    const QString prose
        = writeFile(m_dir, QStringLiteral("prose.plt"), "Dear plotter, please draw nothing.\n");
    QTest::newRow("text") << prose
                          << QStringLiteral("\"%1\" does not look like a plot file: only ").arg(prose);
    const QString picture = writeFile(m_dir, QStringLiteral("picture.plt"), pngPicture());
    QTest::newRow("a picture named as a plot")
        << picture << QStringLiteral("\"%1\" is a PNG image, not a plot file.").arg(picture);
    const QString penUpOnly
        = writeFile(m_dir, QStringLiteral("pen-up.plt"), "IN;SP1;PU100,100;PU2000,2000;SP0;");
    QTest::newRow("pen never down") << penUpOnly << nothing.arg(penUpOnly);
}

void tst_PlotViewerPlugin::openFails()
{
    QFETCH(QString, path);
    QFETCH(QString, error);
    QString reported;
    const std::unique_ptr<QObject> document
        = callForObject(*m_server, PlotViewer::Open, Q_ARG(QString, path), &reported);
    QVERIFY(!document);
    QVERIFY2(reported.startsWith(error), qPrintable(reported));
    QVERIFY2(reported.size() > error.size() || error.endsWith(QLatin1Char('.')), "the reason is given");
}

void tst_PlotViewerPlugin::setColorMode_data()
{
    QTest::addColumn<short>("mode");
    QTest::addColumn<QString>("error");

    const QString unknown
        = QStringLiteral("%1 is not a colour mode; use 0 (black and white), 1 (colour) or 2 (grey "
                         "scale).");
    QTest::newRow("black and white") << short(0) << QString();
    QTest::newRow("colour") << short(1) << QString();
    QTest::newRow("grey scale") << short(2) << QString();
    QTest::newRow("three") << short(3) << unknown.arg(3);
    QTest::newRow("negative") << short(-1) << unknown.arg(-1);
    QTest::newRow("largest short") << short(32767) << unknown.arg(32767);
}

void tst_PlotViewerPlugin::setColorMode()
{
    QFETCH(short, mode);
    QFETCH(QString, error);
    const std::unique_ptr<QObject> document = open(dataFile("landscape.plt"));
    QVERIFY(document);
    QCOMPARE(callMember(*document, PlotViewer::SetColorMode, Q_ARG(short, mode)), error);
}

void tst_PlotViewerPlugin::saveToWritesAFittedJpeg_data()
{
    QTest::addColumn<QString>("plot");
    QTest::addColumn<double>("aspect");
    QTest::addColumn<short>("mode");

    // The plots' frames with a margin of 3% of their longer side all round.
    QTest::newRow("wide plot in colour") << dataFile("landscape.plt") << 8501.0 / 4501 << short(1);
    QTest::newRow("tall plot in grey") << dataFile("portrait.plt") << 4501.0 / 8501 << short(2);
    QTest::newRow("labels in black and white") << dataFile("labels.plt") << 6372.0 / 4372 << short(0);
}

void tst_PlotViewerPlugin::saveToWritesAFittedJpeg()
{
    QFETCH(QString, plot);
    QFETCH(double, aspect);
    QFETCH(short, mode);
    const std::unique_ptr<QObject> document = open(plot);
    QVERIFY(document);
    QCOMPARE(callMember(*document, PlotViewer::SetColorMode, Q_ARG(short, mode)), QString());
    const QString picture = m_dir.filePath(QStringLiteral("~plt000.jpg"));
    QCOMPARE(callMember(*document, PlotViewer::SaveTo, Q_ARG(QString, picture)), QString());
    QImageReader reader(picture);
    QCOMPARE(reader.format(), QByteArray("jpeg"));
    const QImage image = reader.read();
    QVERIFY(image.width() <= 1024 && image.height() <= 768);
    QVERIFY(image.width() == 1024 || image.height() == 768);
    QVERIFY2(std::abs(double(image.width()) / image.height() - aspect) < 0.01 * aspect,
        qPrintable(QStringLiteral("%1 x %2").arg(image.width()).arg(image.height())));
    QVERIFY(inkedPixelCount(image) > 1000);
    QCOMPARE(colouredPixelCount(image, 40) > 0, mode == 1);
}

void tst_PlotViewerPlugin::pagesAreThePrintedSheets_data()
{
    QTest::addColumn<QByteArray>("plot");
    QTest::addColumn<QString>("colours"); // each page's: r(ed), g(reen), b(lue)

    const QByteArray red = "SP2;PA0,0;RA4000,3000;";
    const QByteArray green = "SP3;PA0,0;RA3000,4000;";
    const QByteArray blue = "SP5;PA0,0;RA4000,4000;";
    QTest::newRow("one plot") << "IN;" + red << "r";
    QTest::newRow("PG between plots") << "IN;" + red + "PG;" + green + "PG;" + blue + "PG;"
                                      << "rgb";
    QTest::newRow("FR between plots") << "IN;" + blue + "FR;" + red + "FR;" + green << "brg";
    QTest::newRow("empty pages skipped") << "PG;IN;" + red + "PG;PG;FR;" + green + "PG;"
                                         << "rg";
    QTest::newRow("PCL paper source ejects") << "\x1b"
                                                "E\x1b%0BIN;"
            + green + "\x1b%0A\x1b&l0H\x1b%0BIN;" + red
            + "\x1b%0A\x1b"
              "E"
                                             << "gr";
    QTest::newRow("PCL form feeds, one on an empty page")
        << "\x1b%0BIN;" + red + "\x1b%0A\f\f\x1b%0BIN;" + blue + "\x1b%0A\f"
        << "rb";
}

void tst_PlotViewerPlugin::pagesAreThePrintedSheets()
{
    QFETCH(QByteArray, plot);
    QFETCH(QString, colours);
    const QString path = writeFile(m_dir, QStringLiteral("pages.plt"), plot);
    const std::unique_ptr<QObject> document = open(path);
    QVERIFY(document);
    int pages = 0;
    int saved = 0;
    QVERIFY(QMetaObject::invokeMethod(document.get(), PlotViewer::PageCount, Q_RETURN_ARG(int, pages)));
    QVERIFY(QMetaObject::invokeMethod(document.get(), PlotViewer::PreviewPage, Q_RETURN_ARG(int, saved)));
    QCOMPARE(pages, colours.size());
    QCOMPARE(saved, 1);

    // The colour most of the ink has: a page's rectangle, wherever the page puts it.
    const auto colourOf = [](const QImage &picture) {
        int red = 0, green = 0, blue = 0;
        for (int y = 0; y < picture.height(); y += 2) {
            for (int x = 0; x < picture.width(); x += 2) {
                const QColor c = picture.pixelColor(x, y);
                red += c.red() > 180 && c.green() < 90 && c.blue() < 90;
                green += c.green() > 150 && c.red() < 90 && c.blue() < 90;
                blue += c.blue() > 180 && c.red() < 90 && c.green() < 90;
            }
        }
        const int most = std::max({ red, green, blue });
        return most < 20 ? u'?' : most == red ? u'r' : most == green ? u'g' : u'b';
    };
    QString previewed;
    QList<QImage> pictures;
    for (int page = 1; page <= pages; ++page) {
        const QString picture = m_dir.filePath(QStringLiteral("page%1.jpg").arg(page));
        QString error;
        QVERIFY(QMetaObject::invokeMethod(
            document.get(), PlotViewer::SavePageTo, Q_ARG(int, page), Q_ARG(QString, picture)));
        QCOMPARE(qobject_cast<AutomationErrorSource *>(document.get())->takeError(), QString());
        pictures << QImage(picture);
        previewed += colourOf(pictures.last());
    }
    QCOMPARE(previewed, colours);
    // SaveTo still saves the first page with ink.
    const QString first = m_dir.filePath(QStringLiteral("~plt000.jpg"));
    QCOMPARE(callMember(*document, PlotViewer::SaveTo, Q_ARG(QString, first)), QString());
    QCOMPARE(QImage(first), pictures.first());

    // The print run prints the same pages in the same order.
    if (const QString missing = PdfProbe::missingTools(); !missing.isEmpty())
        QSKIP(qPrintable(missing));
    PlotLoader::Result loaded = PlotLoader::load(path);
    QVERIFY(loaded.document);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_dir.filePath(QStringLiteral("pages.pdf")));
    PrinterSelection printers(std::make_shared<FixedPrinterLookup>(QString()), nullptr);
    QString error;
    QVERIFY2(PrintJob(*loaded.document, printers).runOn(printer, &error), qPrintable(error));
    PdfProbe pdf;
    QVERIFY2(pdf.open(printer.outputFileName(), &error), qPrintable(error));
    QString printed;
    for (int sheet = 0; sheet < pdf.pageCount(); ++sheet) {
        const QImage picture = pdf.renderPage(sheet, 20, &error);
        QVERIFY2(!picture.isNull(), qPrintable(error));
        printed += colourOf(picture);
    }
    QCOMPARE(printed, colours);
}

void tst_PlotViewerPlugin::savePageToRefusesAMissingPage_data()
{
    QTest::addColumn<QByteArray>("plot");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("error");

    const QByteArray one = "IN;SP1;PA0,0;PD1000,1000;";
    const QByteArray three = one + "PG;" + one + "PG;" + one;
    QTest::newRow("page 0") << three << 0 << QStringLiteral("There is no page 0: the plot has 3 pages.");
    QTest::newRow("past the last") << three << 4
                                   << QStringLiteral("There is no page 4: the plot has 3 pages.");
    QTest::newRow("negative") << three << -1 << QStringLiteral("There is no page -1: the plot has 3 pages.");
    QTest::newRow("one page") << one << 2 << QStringLiteral("There is no page 2: the plot has 1 page.");
}

void tst_PlotViewerPlugin::savePageToRefusesAMissingPage()
{
    QFETCH(QByteArray, plot);
    QFETCH(int, page);
    QFETCH(QString, error);
    const std::unique_ptr<QObject> document = open(writeFile(m_dir, QStringLiteral("pages.plt"), plot));
    QVERIFY(document);
    const QString picture = m_dir.filePath(QStringLiteral("page.jpg"));
    QVERIFY(QMetaObject::invokeMethod(
        document.get(), PlotViewer::SavePageTo, Q_ARG(int, page), Q_ARG(QString, picture)));
    QCOMPARE(qobject_cast<AutomationErrorSource *>(document.get())->takeError(), error);
    QVERIFY(!QFileInfo::exists(picture));
}

void tst_PlotViewerPlugin::saveToReplacesAnExistingPicture()
{
    const QString picture = writeFile(m_dir, QStringLiteral("replaced.jpg"), QByteArray(50000, 'x'));
    const std::unique_ptr<QObject> document = open(dataFile("portrait.plt"));
    QVERIFY(document);
    QCOMPARE(callMember(*document, PlotViewer::SaveTo, Q_ARG(QString, picture)), QString());
    QVERIFY(!QImage(picture).isNull());
    QCOMPARE(callMember(*document, PlotViewer::SaveTo, Q_ARG(QString, picture)), QString());
    QVERIFY(!QImage(picture).isNull());
}

void tst_PlotViewerPlugin::saveToFailureKeepsTheOldPicture()
{
    const std::unique_ptr<QObject> document = open(dataFile("landscape.plt"));
    QVERIFY(document);
    // A folder where the picture should go cannot be replaced by it.
    const QString blocked = m_dir.filePath(QStringLiteral("blocked.jpg"));
    QVERIFY(QDir().mkpath(blocked + QStringLiteral("/inside")));
    const QString error = callMember(*document, PlotViewer::SaveTo, Q_ARG(QString, blocked));
    QVERIFY2(error.startsWith(QStringLiteral("Cannot write the picture \"%1\": ").arg(blocked)),
        qPrintable(error));
    QVERIFY(QFileInfo(blocked + QStringLiteral("/inside")).isDir());
    const QString missingFolder = m_dir.filePath(QStringLiteral("no/such/folder/picture.jpg"));
    QVERIFY(!callMember(*document, PlotViewer::SaveTo, Q_ARG(QString, missingFolder)).isEmpty());
}

void tst_PlotViewerPlugin::documentKeepsTheWarnings()
{
    // A PCL job without a page size that draws left of the page it is assumed to have.
    const QString path = writeFile(m_dir, QStringLiteral("outside.pcl"),
        "\x1b"
        "E\x1b%0BIN;SP1;PA-3000,1000;PD-1000,1000,-1000,3000;PU;\x1b%0A\x1b"
        "E");
    const std::unique_ptr<QObject> document = open(path);
    QVERIFY(document);
    QStringList warnings;
    QVERIFY(QMetaObject::invokeMethod(document.get(), "Warnings", Q_RETURN_ARG(QStringList, warnings)));
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings.front().contains(QLatin1String("beyond the page")), qPrintable(warnings.front()));
}

void tst_PlotViewerPlugin::penTableIsReadForEveryOpen()
{
    // An HP-GL/1 pen 2, 5 mm wide in blue by the table, across pen 1's frame that fixes the picture.
    const QString plot
        = writeFile(m_dir, QStringLiteral("pen.plt"), "IN;SP1;PA0,-2000;EA4000,2000;SP2;PA0,0;PD4000,0;PU;");
    const QString settings
        = writeFile(m_dir, QStringLiteral("tarnwick.ini"), "[Pens]\n2=5 #0000ff\n3=wide\n");
    QCOMPARE(callMember(*m_server, PlotViewer::SetPenTable, Q_ARG(QString, settings)), QString());
    struct Opened
    {
        QImage picture;
        QStringList warnings;
    };
    auto openAndSave = [&](const QString &name) {
        Opened opened;
        const std::unique_ptr<QObject> document = open(plot);
        const QString path = m_dir.filePath(name);
        if (document && callMember(*document, PlotViewer::SaveTo, Q_ARG(QString, path)).isEmpty()) {
            opened.picture = QImage(path);
            QMetaObject::invokeMethod(document.get(), "Warnings", Q_RETURN_ARG(QStringList, opened.warnings));
        }
        return opened;
    };
    const Opened wide = openAndSave(QStringLiteral("wide.jpg"));
    QVERIFY(!wide.picture.isNull());
    QVERIFY(colouredPixelCount(wide.picture, 40) > 0);
    QCOMPARE(wide.warnings.size(), 1);
    QVERIFY2(wide.warnings.front().contains(QLatin1String("line 3 (\"3=wide\") is skipped")),
        qPrintable(wide.warnings.front()));
    // The table is read afresh for every plot: its next state holds for the next Open.
    writeFile(m_dir, QStringLiteral("tarnwick.ini"), "[Pens]\n2=0.1 #000000\n");
    const Opened thin = openAndSave(QStringLiteral("thin.jpg"));
    QVERIFY(!thin.picture.isNull());
    QVERIFY(thin.warnings.isEmpty());
    QCOMPARE(colouredPixelCount(thin.picture, 40), 0);
    // Down the middle: the frame's two sides and the line across.
    auto inkDownTheMiddle = [](const QImage &picture) {
        int inked = 0;
        for (int y = 0; y < picture.height(); ++y)
            inked += QColor(picture.pixel(picture.width() / 2, y)).lightness() < inkLightness;
        return inked;
    };
    QVERIFY2(inkDownTheMiddle(wide.picture) > 4 * inkDownTheMiddle(thin.picture),
        qPrintable(QStringLiteral("%1 against %2")
                       .arg(inkDownTheMiddle(wide.picture))
                       .arg(inkDownTheMiddle(thin.picture))));
}

void tst_PlotViewerPlugin::errorsAreAboutTheLastCallOnly()
{
    const std::unique_ptr<QObject> document = open(dataFile("landscape.plt"));
    QVERIFY(document);
    QVERIFY(QMetaObject::invokeMethod(document.get(), PlotViewer::SetColorMode, Q_ARG(short, 9)));
    auto *errors = qobject_cast<AutomationErrorSource *>(document.get());
    QVERIFY(!errors->takeError().isEmpty());
    QCOMPARE(errors->takeError(), QString());
    // A failure the caller never read does not stick to the next, successful call.
    QVERIFY(QMetaObject::invokeMethod(document.get(), PlotViewer::SetColorMode, Q_ARG(short, 9)));
    QCOMPARE(callMember(*document, PlotViewer::SetColorMode, Q_ARG(short, 2)), QString());
}

void tst_PlotViewerPlugin::documentsBelongToTheCaller()
{
    std::unique_ptr<QObject> document = open(dataFile("portrait.plt"));
    QVERIFY(document);
    QVERIFY(!document->parent());
    QVERIFY(m_server->children().isEmpty());
    // The document outlives its server, as the program may release the server first.
    m_server.reset();
    const QString picture = m_dir.filePath(QStringLiteral("orphan.jpg"));
    QCOMPARE(callMember(*document, PlotViewer::SaveTo, Q_ARG(QString, picture)), QString());
}

void tst_PlotViewerPlugin::printSetupShowsThePrintDialog()
{
    QString closed;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            closed = QString::fromLatin1(dialog->metaObject()->className());
            dialog->reject();
        }
    });
    closer.start(10);
    QCOMPARE(callMember(*m_server, PlotViewer::PrintSetup), QString());
    QVERIFY2(closed.contains(QLatin1String("PrintDialog")),
        qPrintable(QStringLiteral("closed \"%1\"").arg(closed)));
}

void tst_PlotViewerPlugin::doPrintWithoutAnyPrinterSaysSo()
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        QSKIP("a printer is installed here; tst_plotviewerplugin_noscheduler and _noprinter run this without "
              "one");
    const std::unique_ptr<QObject> document = open(dataFile("landscape.plt"));
    QVERIFY(document);
    QCOMPARE(callMember(*document, PlotViewer::DoPrint),
        QStringLiteral(
            "Cannot print \"landscape.plt\": No printer is installed, so there is nothing to print to."));
}

QTEST_MAIN(tst_PlotViewerPlugin)
#include "tst_plotviewerplugin.moc"
