#pragma once
// Whether a file is a plot at all, decided once from its bytes before anything is drawn. Every face
// refuses what this calls no plot: a picture, document, archive or program that was given a plot
// file's name is named as what it is, and anything else whose start reads mostly as something other
// than HP-GL, PCL or PJL is refused as no plot file.

#include <QByteArrayView>
#include <QString>

namespace plotviewer {

class PlotFileCheck
{
public:
    struct Verdict
    {
        bool plot = true;
        /// What the file is instead, with its article ("a PNG image"); empty when no kind is known.
        QString kind;
        /// The share of plot content in the file's start (see hpgl::PlotContentSurvey).
        double plotShare = 1;
    };

    static Verdict examine(QByteArrayView bytes);
};

} // namespace plotviewer
