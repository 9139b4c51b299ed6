// Plots that programs write are opened and drawn, none refused as no plot: gnuplot, plotutils,
// Ghostscript's PCL printer drivers, KiCad's and Inkscape's plotters, each run here where it is
// installed (a row is skipped, saying which package brings it, where it is not).

#include "plotviewer/document/PlotLoader.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace plotviewer;

namespace {

constexpr int generatorTimeoutMs = 120000;

// What the generators draw from: a PostScript page, a picture description, a drawing, and a
// script that has KiCad's own plotter plot one layer of a board.
const QByteArray page = "%!PS\n/Helvetica findfont 24 scalefont setfont 72 700 moveto (Plot test page) show\n"
                        "newpath 72 72 moveto 540 720 lineto 3 setlinewidth stroke\n"
                        "1 0 0 setrgbcolor newpath 300 400 100 0 360 arc fill\n"
                        "0 0 1 setrgbcolor 100 150 200 80 rectfill showpage\n";
const QByteArray picture = ".PS\nbox \"Reader\"; arrow; box \"Interpreter\"; arrow; circle \"Output\"\n.PE\n";
const QByteArray svg
    = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"200mm\" height=\"100mm\" viewBox=\"0 0 200 100\">"
      "<path d=\"M 10 10 L 190 10 L 190 90 L 10 90 Z\" stroke=\"black\" fill=\"none\"/>"
      "<circle cx=\"100\" cy=\"50\" r=\"30\" stroke=\"red\" fill=\"none\"/>"
      "<path d=\"M 20 80 C 50 20, 150 20, 180 80\" stroke=\"blue\" fill=\"none\"/></svg>\n";
const QByteArray kicadPlot = "import pcbnew, sys\n"
                             "board = pcbnew.LoadBoard(sys.argv[1])\n"
                             "plotter = pcbnew.PLOT_CONTROLLER(board)\n"
                             "plotter.GetPlotOptions().SetOutputDirectory(sys.argv[2])\n"
                             "plotter.SetLayer(getattr(pcbnew, sys.argv[3]))\n"
                             "plotter.OpenPlotfile('layer', pcbnew.PLOT_FORMAT_HPGL, 'layer')\n"
                             "plotter.PlotLayer()\n"
                             "plotter.ClosePlot()\n";
const QString kicadBoard = QStringLiteral("/usr/share/kicad/demos/pic_programmer/pic_programmer.kicad_pcb");

struct Generator
{
    const char *row;
    const char *program;
    const char *package;
    /// The shell command; {dir} is the working folder, {out} the plot it writes.
    const char *command;
};

const Generator generators[] = {
    { "gnuplot HP-GL", "gnuplot", "gnuplot-nox",
        "gnuplot -e \"set terminal hpgl; set output '{out}'; set title 'Sine'; plot sin(x), cos(x) with "
        "points\"" },
    { "gnuplot HP-GL surface", "gnuplot", "gnuplot-nox",
        "gnuplot -e \"set terminal hpgl; set output '{out}'; set isosamples 30; splot x*y\"" },
    { "gnuplot PCL 5", "gnuplot", "gnuplot-nox",
        "gnuplot -e \"set terminal pcl5; set output '{out}'; set xlabel 'x'; plot sin(x) title 'sin'\"" },
    { "plotutils graph HP-GL", "graph", "plotutils", "seq 0 0.1 10 | graph -T hpgl -L Sine > {out}" },
    { "plotutils graph PCL", "graph", "plotutils", "seq 0 0.1 10 | graph -T pcl > {out}" },
    { "plotutils plot HP-GL", "plot", "plotutils", "seq 0 0.1 10 | graph -T meta | plot -T hpgl > {out}" },
    { "plotutils pic2plot HP-GL", "pic2plot", "plotutils", "pic2plot -T hpgl {dir}/picture.pic > {out}" },
    { "plotutils pic2plot PCL", "pic2plot", "plotutils", "pic2plot -T pcl {dir}/picture.pic > {out}" },
    { "Ghostscript ljet4", "gs", "ghostscript",
        "gs -q -dBATCH -dNOPAUSE -dSAFER -r100 -sDEVICE=ljet4 -sOutputFile={out} {dir}/page.ps" },
    { "Ghostscript laserjet", "gs", "ghostscript",
        "gs -q -dBATCH -dNOPAUSE -dSAFER -r100 -sDEVICE=laserjet -sOutputFile={out} {dir}/page.ps" },
    { "Ghostscript deskjet", "gs", "ghostscript",
        "gs -q -dBATCH -dNOPAUSE -dSAFER -r100 -sDEVICE=deskjet -sOutputFile={out} {dir}/page.ps" },
    { "Ghostscript cdj550", "gs", "ghostscript",
        "gs -q -dBATCH -dNOPAUSE -dSAFER -r100 -sDEVICE=cdj550 -sOutputFile={out} {dir}/page.ps" },
    { "Ghostscript paintjet", "gs", "ghostscript",
        "gs -q -dBATCH -dNOPAUSE -dSAFER -r100 -sDEVICE=paintjet -sOutputFile={out} {dir}/page.ps" },
    { "Ghostscript pjxl300", "gs", "ghostscript",
        "gs -q -dBATCH -dNOPAUSE -dSAFER -r100 -sDEVICE=pjxl300 -sOutputFile={out} {dir}/page.ps" },
    { "Ghostscript cljet5", "gs", "ghostscript",
        "gs -q -dBATCH -dNOPAUSE -dSAFER -r100 -sDEVICE=cljet5 -sOutputFile={out} {dir}/page.ps" },
    // KiCad's Python module is the system Python's, whatever python3 comes first on the path.
    { "KiCad front copper", "kicad", "kicad and kicad-demos",
        "/usr/bin/python3 {dir}/kicad_plot.py {board} {dir} F_Cu && mv {dir}/*-layer.plt {out}" },
    { "KiCad silkscreen", "kicad", "kicad and kicad-demos",
        "/usr/bin/python3 {dir}/kicad_plot.py {board} {dir} F_SilkS && mv {dir}/*-layer.plt {out}" },
    // Inkscape's output extensions run on the system's python3 with its lxml.
    { "Inkscape HP-GL", "inkscape", "inkscape with python3-lxml, python3-cssselect and python3-tinycss2",
        "PATH=/usr/bin:/bin:$PATH inkscape --export-type=hpgl --export-filename={dir}/drawing.hpgl "
        "{dir}/drawing.svg "
        "&& mv {dir}/drawing.hpgl {out}" },
};

} // namespace

class tst_GeneratedPlots : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void drawn_data();
    void drawn();

private:
    QTemporaryDir m_dir;
};

void tst_GeneratedPlots::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const struct
    {
        const char *name;
        const QByteArray &bytes;
    } inputs[] = { { "page.ps", page }, { "picture.pic", picture }, { "drawing.svg", svg },
        { "kicad_plot.py", kicadPlot } };
    for (const auto &input : inputs) {
        QFile file(m_dir.filePath(QLatin1String(input.name)));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(input.bytes) == input.bytes.size());
    }
}

void tst_GeneratedPlots::drawn_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("package");
    QTest::addColumn<QString>("command");
    for (const Generator &generator : generators)
        QTest::newRow(generator.row) << QString::fromLatin1(generator.program)
                                     << QString::fromLatin1(generator.package)
                                     << QString::fromLatin1(generator.command);
}

void tst_GeneratedPlots::drawn()
{
    QFETCH(QString, program);
    QFETCH(QString, package);
    QFETCH(QString, command);
    if (QStandardPaths::findExecutable(program).isEmpty())
        QSKIP(qPrintable(QStringLiteral("%1 is not installed (%2)").arg(program, package)));
    if (program == QLatin1String("kicad") && !QFile::exists(kicadBoard))
        QSKIP(qPrintable(QStringLiteral("KiCad's demo board %1 is missing (kicad-demos)").arg(kicadBoard)));
    const QString out
        = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'-') + ".plt");
    command.replace(QLatin1String("{dir}"), m_dir.path())
        .replace(QLatin1String("{out}"), out)
        .replace(QLatin1String("{board}"), kicadBoard);
    QProcess generator;
    generator.setProcessChannelMode(QProcess::MergedChannels);
    generator.start(QStringLiteral("sh"), { QStringLiteral("-c"), command });
    QVERIFY(generator.waitForFinished(generatorTimeoutMs));
    const QString said = QString::fromLocal8Bit(generator.readAll());
    // A generator that runs but cannot plot here (a module of its own missing) is its own trouble.
    if (generator.exitCode() != 0 || !QFileInfo(out).size())
        QSKIP(qPrintable(QStringLiteral("%1 wrote no plot here: %2").arg(program, said.right(300))));

    const PlotLoader::Result loaded = PlotLoader::load(out);
    QVERIFY2(loaded.document, qPrintable(loaded.error));
}

QTEST_MAIN(tst_GeneratedPlots)
#include "tst_generatedplots.moc"
