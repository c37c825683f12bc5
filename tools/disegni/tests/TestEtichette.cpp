#include "Catalogue.h"
#include "GeoData.h"
#include "Labels.h"
#include "Output.h"

#include <QDir>
#include <QHash>
#include <QTest>

using namespace disegni;

namespace {

// The course shows its design area (800 x 600 pixels, 15 twips each) scaled uniformly into the
// screen: on the commonest school display, 1366 x 768, that is 768 / 600 = 1.28 times.
constexpr double kDesignSulloSchermo = 768.0 / 600.0;
// The smallest name a pupil can read there, in pixels of the screen.
constexpr double kMinimoSchermo = 11.0;
// The synthesis stretches its GIFs (which state no density) into its main picture, 8265 x 5940 twips.
constexpr double kAltezzaSintesi = 5940.0 / 15.0;

// Pixels of the screen per pixel of the file, where the picture is shown smallest: a page shows it at
// its design size (the density the file will state: 192 dpi, or the higher one a finer picture states,
// as savePicture() writes it); the viewers only ever stretch pictures to the same height or taller,
// and the synthesis stretches its GIFs into its main picture.
double schermoPerPixel(const QString &path, const QImage &image)
{
    if (path.endsWith(QLatin1String(".gif"), Qt::CaseInsensitive))
        return kAltezzaSintesi / image.height() * kDesignSulloSchermo;
    const int dpi = std::max(dpiOf(image), kDpi);
    return double(kAssumedDpi) / dpi * kDesignSulloSchermo;
}

QString geoFolder()
{
    return QStringLiteral(DISEGNI_GEO);
}

QString descrivi(const DrawnText &t)
{
    return QStringLiteral("\"%1\" (%2 px, %3,%4 %5x%6)")
        .arg(QString(t.text).replace(QLatin1Char('\n'), QLatin1Char(' ')))
        .arg(t.pixelSize, 0, 'f', 1)
        .arg(t.box.x(), 0, 'f', 0)
        .arg(t.box.y(), 0, 'f', 0)
        .arg(t.box.width(), 0, 'f', 0)
        .arg(t.box.height(), 0, 'f', 0);
}

} // namespace

// Every picture of the catalogue drawn once, with what it writes on itself: names large enough to
// read on a school display, none covering another or the credit line.
class TestEtichette : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!QDir(geoFolder()).exists())
            QSKIP("shared geographic data not found");
        m_data = std::make_unique<GeoData>(geoFolder());
        PictureContext context(*m_data);
        for (const Picture &p : catalogue()) {
            drawnTexts::open();
            const QImage image = p.draw(context);
            m_scritte.insert(p.path, drawnTexts::close());
            m_dimensioni.insert(p.path, image.size());
            m_scala.insert(p.path, schermoPerPixel(p.path, image));
            m_ordine.append(p.path);
        }
    }

    void formulaDelloSchermo_data()
    {
        QTest::addColumn<QString>("immagine");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("altezza");
        QTest::addColumn<double>("scala");
        // twice the design size: a name of 14 file pixels is 9 screen pixels, one of 18 is 11.5
        QTest::newRow("192 dpi") << QStringLiteral("altre/placche2.jpg") << 192 << 920 << 0.64;
        // a picture that states no density is still saved at 192 dpi
        QTest::newRow("senza densità") << QStringLiteral("altre/icona.png") << 96 << 256 << 0.64;
        // the birth of the Earth, 300 dpi, at natural size on topic 1's pages
        QTest::newRow("300 dpi") << QStringLiteral("origini/orig1.jpg") << 300 << 498 << 0.4096;
        // the synthesis GIFs, 792 pixels stretched into 396 design pixels
        QTest::newRow("gif della sintesi") << QStringLiteral("new-1.gif") << 192 << 792 << 0.64;
    }
    void formulaDelloSchermo()
    {
        QFETCH(QString, immagine);
        QFETCH(int, dpi);
        QFETCH(int, altezza);
        QFETCH(double, scala);
        QImage image(10, altezza, QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
        QVERIFY(qAbs(schermoPerPixel(immagine, image) - scala) < 1e-3);
        QVERIFY(kReadablePixelSize * 0.64 >= kMinimoSchermo);
        QVERIFY(14 * 0.64 < kMinimoSchermo);
    }

    void scritteLeggibili_data()
    {
        QTest::addColumn<QString>("immagine");
        for (const QString &path : m_ordine)
            QTest::newRow(qPrintable(path)) << path;
    }
    void scritteLeggibili()
    {
        QFETCH(QString, immagine);
        QStringList piccole;
        const double scala = m_scala.value(immagine);
        for (const DrawnText &t : m_scritte.value(immagine)) {
            if (!t.credit && t.pixelSize * scala < kMinimoSchermo - 1e-9)
                piccole.append(descrivi(t) + QStringLiteral(" = %1 px sullo schermo").arg(t.pixelSize * scala, 0, 'f', 1));
        }
        QVERIFY2(piccole.isEmpty(), qPrintable(QStringLiteral("scritte troppo piccole: ") + piccole.join(QStringLiteral("; "))));
    }

    void scritteNonSovrapposte_data()
    {
        scritteLeggibili_data();
    }
    void scritteNonSovrapposte()
    {
        QFETCH(QString, immagine);
        const QList<DrawnText> scritte = m_scritte.value(immagine);
        const QRectF quadro(QPointF(0, 0), QSizeF(m_dimensioni.value(immagine)));
        QStringList sovrapposte;
        for (qsizetype i = 0; i < scritte.size(); ++i) {
            const DrawnText &a = scritte.at(i);
            if (!quadro.contains(a.box.adjusted(1, 1, -1, -1)))
                sovrapposte.append(descrivi(a) + QStringLiteral(" esce dall'immagine"));
            for (qsizetype j = i + 1; j < scritte.size(); ++j) {
                const DrawnText &b = scritte.at(j);
                // the boxes take the whole line height: touching lines of one key do not count
                if (a.box.adjusted(1, 1, -1, -1).intersects(b.box.adjusted(1, 1, -1, -1)))
                    sovrapposte.append(descrivi(a) + QStringLiteral(" e ") + descrivi(b));
            }
        }
        QVERIFY2(sovrapposte.isEmpty(), qPrintable(QStringLiteral("scritte sovrapposte: ") + sovrapposte.join(QStringLiteral("; "))));
    }

    // The labelling test sets ten boxes over the edges of its pictures (5175 x 4095 twips at 840, 720):
    // nothing a picture writes, credit line included, may stand under one.
    void caselleLibere_data()
    {
        QTest::addColumn<QString>("immagine");
        for (const QString &path : m_ordine) {
            if (path.startsWith(QLatin1String("questim/")) && !path.endsWith(QLatin1String("sfondo.jpg")))
                QTest::newRow(qPrintable(path)) << path;
        }
    }
    void caselleLibere()
    {
        QFETCH(QString, immagine);
        static const QRectF caselle[10] = {{6000, 3840, 495, 495}, {6000, 2520, 495, 495}, {6000, 1080, 495, 495},
                                           {4200, 360, 615, 375},  {1800, 360, 615, 375},  {360, 1080, 495, 495},
                                           {360, 2520, 495, 495},  {360, 3840, 495, 495},  {1800, 4800, 615, 375},
                                           {4320, 4800, 615, 375}};
        const double k = m_dimensioni.value(immagine).width() / 5175.0;
        QVERIFY(k > 0);
        QStringList coperte;
        for (const DrawnText &t : m_scritte.value(immagine)) {
            for (int i = 0; i < 10; ++i) {
                const QRectF &c = caselle[i];
                const QRectF box((c.x() - 840) * k, (c.y() - 720) * k, c.width() * k, c.height() * k);
                if (box.intersects(t.box))
                    coperte.append(QStringLiteral("%1 sotto la casella %2").arg(descrivi(t)).arg(i));
            }
        }
        QVERIFY2(coperte.isEmpty(), qPrintable(coperte.join(QStringLiteral("; "))));
    }

    void ogniImmagineHaScritteRegistrate()
    {
        // the record works: the plate map of the topic names its plates and carries its credit
        const QList<DrawnText> placche = m_scritte.value(QStringLiteral("altre/placche2.jpg"));
        QVERIFY(std::any_of(placche.begin(), placche.end(), [](const DrawnText &t) { return t.text == QLatin1String("PACIFICA"); }));
        QVERIFY(std::any_of(placche.begin(), placche.end(), [](const DrawnText &t) { return t.credit; }));
    }

private:
    std::unique_ptr<GeoData> m_data;
    QHash<QString, QList<DrawnText>> m_scritte;
    QHash<QString, QSize> m_dimensioni;
    QHash<QString, double> m_scala;
    QStringList m_ordine;
};

QTEST_MAIN(TestEtichette)
#include "TestEtichette.moc"
