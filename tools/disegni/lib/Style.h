#pragma once

#include <QColor>
#include <QFont>
#include <QPen>
#include <QString>

namespace disegni {

// One palette for every picture, so that lessons drawn months apart still look like one book:
// flat calm colours, soft pastel plates, dark clean outlines.
namespace style {

QColor ocean();       // open sea
QColor oceanDeep();   // a shade for gradients and far sea
QColor oceanShelf();  // shallow sea near the coast
QColor land();        // beige land
QColor landGreen();   // lowland green
QColor ice();         // ice caps
QColor outline();     // dark slate for outlines and strokes
QColor text();        // dark text
QColor textSoft();    // secondary text
QColor credit();      // small grey credit line
QColor paper();       // warm off-white for panels and bands

QColor ridge();       // divergent margins
QColor trench();      // convergent margins
QColor transform();   // transform margins

// Pastel of one of the major plates (keys of majorPlates()); a neutral pastel for unknown keys.
QColor plate(const QString &key);

// Mixes colour a towards b by t (0 = a, 1 = b).
QColor mix(const QColor &a, const QColor &b, double t);
QColor withAlpha(QColor c, double alpha);

// Liberation Sans at a pixel size of the drawn picture (already doubled).
QFont font(double pixelSize, int weight = QFont::Normal);
// The family the fonts really resolve to, to warn when Liberation Sans is missing.
QString resolvedFamily();

QPen pen(const QColor &colour, double width);

} // namespace style

} // namespace disegni
