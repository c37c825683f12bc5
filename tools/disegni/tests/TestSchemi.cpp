#include "Schemi.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QSet>
#include <QTest>

using namespace disegni;
using namespace disegni::schema;

// The helpers of the lesson pictures, and the catalogue against the pictures the lessons name.
class TestSchemi : public QObject
{
    Q_OBJECT

private slots:
    void settoreCopreSoloLAnello_data()
    {
        QTest::addColumn<double>("r0");
        QTest::addColumn<double>("r1");
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("span");
        QTest::newRow("mezzo anello in alto") << 50.0 << 100.0 << 0.0 << 180.0;
        QTest::newRow("spicchio dal centro") << 0.0 << 80.0 << 30.0 << 60.0;
        QTest::newRow("quarto in alto a destra") << 20.0 << 60.0 << 0.0 << 90.0;
        QTest::newRow("percorso all'indietro") << 40.0 << 90.0 << 90.0 << -90.0;
    }
    void settoreCopreSoloLAnello()
    {
        QFETCH(double, r0);
        QFETCH(double, r1);
        QFETCH(double, start);
        QFETCH(double, span);
        const QPointF c(200, 200);
        const QPainterPath s = settore(c, r0, r1, start, span);
        const double mezzo = start + span / 2;
        QVERIFY(s.contains(suCerchio(c, (r0 + r1) / 2, mezzo)));
        QVERIFY(!s.contains(suCerchio(c, r1 + 3, mezzo)));
        if (r0 > 0)
            QVERIFY(!s.contains(suCerchio(c, r0 - 3, mezzo)));
        QVERIFY(!s.contains(suCerchio(c, (r0 + r1) / 2, start + span + (span > 0 ? 20 : -20))));
        // angles go counter-clockwise on screen: 90 degrees is straight up
        QVERIFY(suCerchio(c, 10, 90).y() < c.y());
    }

    void scriviMetteIlTestoDoveDetto_data()
    {
        QTest::addColumn<int>("allineamento");
        QTest::addColumn<QPointF>("angolo"); // which point of the box lands on the anchor, 0..1
        QTest::newRow("in alto a sinistra") << int(Qt::AlignLeft | Qt::AlignTop) << QPointF(0, 0);
        QTest::newRow("in basso a destra") << int(Qt::AlignRight | Qt::AlignBottom) << QPointF(1, 1);
        QTest::newRow("al centro") << int(Qt::AlignCenter) << QPointF(0.5, 0.5);
        QTest::newRow("centrato sopra") << int(Qt::AlignHCenter | Qt::AlignBottom) << QPointF(0.5, 1);
        QTest::newRow("a destra, a metà altezza") << int(Qt::AlignRight | Qt::AlignVCenter) << QPointF(1, 0.5);
    }
    void scriviMetteIlTestoDoveDetto()
    {
        QFETCH(int, allineamento);
        QFETCH(QPointF, angolo);
        QImage image(400, 200, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter p(&image);
        const QPointF at(200, 100);
        const QString testo = QStringLiteral("dorsale\nmedio-oceanica");
        const QRectF box = scrivi(p, at, testo, Qt::Alignment(allineamento));
        p.end();
        QVERIFY(box.width() > 20 && box.height() > 20);
        const QPointF punto(box.left() + box.width() * angolo.x(), box.top() + box.height() * angolo.y());
        QVERIFY2(std::abs(punto.x() - at.x()) < 0.5 && std::abs(punto.y() - at.y()) < 0.5,
                 qPrintable(QStringLiteral("%1,%2").arg(punto.x()).arg(punto.y())));
        QCOMPARE(misura(testo, Qt::Alignment(allineamento), at), box);
        // something was written inside the box and nothing far outside it
        bool scritto = false;
        for (int y = int(box.top()); y < int(box.bottom()) && !scritto; ++y)
            for (int x = int(box.left()); x < int(box.right()) && !scritto; ++x)
                scritto = image.pixelColor(x, y).lightness() < 128;
        QVERIFY(scritto);
    }

    void sequenzaSempreUguale()
    {
        Sequenza a(2024), b(2024), c(7), zero(0);
        bool diversa = false;
        QSet<int> valoriZero;
        for (int i = 0; i < 200; ++i) {
            const double x = a.next();
            QCOMPARE(b.next(), x);
            QVERIFY(x >= 0 && x < 1);
            diversa |= c.next() != x;
            valoriZero.insert(int(zero.next() * 1000));
        }
        QVERIFY(diversa);
        // a seed of 0 must not get stuck on one value
        QVERIFY(valoriZero.size() > 50);
    }

    // Every lesson picture committed under immagini/altre and immagini/origini is one the program
    // draws, so that running it again reproduces it.
    void catalogoCopreLeLezioni()
    {
        QProcess elenco;
        elenco.start(QStringLiteral(DISEGNI_EXE), {QStringLiteral("--elenco")});
        QVERIFY(elenco.waitForFinished(60000));
        QCOMPARE(elenco.exitCode(), 0);
        QSet<QString> catalogo;
        for (const QByteArray &riga : elenco.readAllStandardOutput().split('\n'))
            if (!riga.trimmed().isEmpty())
                catalogo.insert(QString::fromUtf8(riga.split('\t').first()).toLower());

        const QDir repository(QStringLiteral(DISEGNI_REPOSITORY));
        QSet<QString> presenti;
        for (const QString &cartella : {QStringLiteral("altre"), QStringLiteral("origini")})
            for (const QString &f : QDir(repository.filePath(QStringLiteral("immagini/") + cartella)).entryList(QDir::Files))
                presenti.insert((cartella + QLatin1Char('/') + f).toLower());

        int controllate = 0;
        const QDir lezioni(repository.filePath(QStringLiteral("lessons/argomenti")));
        for (const QString &nome : lezioni.entryList({QStringLiteral("argomento*.json")}, QDir::Files)) {
            QFile f(lezioni.filePath(nome));
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QJsonArray pagine = QJsonDocument::fromJson(f.readAll()).object().value(QStringLiteral("pagine")).toArray();
            for (const QJsonValue &v : pagine) {
                for (const char *campo : {"immagine", "immagineIndietro"}) {
                    QString p = v.toObject().value(QLatin1String(campo)).toString().toLower();
                    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
                    if (!p.startsWith(QLatin1String("immagini/")))
                        continue;
                    p = p.mid(9);
                    if (!presenti.contains(p))
                        continue;
                    ++controllate;
                    QVERIFY2(catalogo.contains(p), qPrintable(nome + QStringLiteral(": ") + p + QStringLiteral(" non è nel catalogo")));
                }
            }
        }
        QVERIFY(controllate > 0);
    }
};

QTEST_MAIN(TestSchemi)
#include "TestSchemi.moc"
