// The picture series of the animated synthesis: every frame the synthesis names is committed and
// decodes at one size, and what the pictures show agrees with the statements of its four tests.

#include "Serie.h"

#include "animation/ProvaSintesi.h"
#include "animation/SerieSintesi.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QTest>

#include <functional>

using namespace disegni;

namespace {

const QDir immagini(QDir(QStringLiteral(DISEGNI_REPOSITORY)).filePath(QStringLiteral("immagini")));

// A statement of test `prova`, slot `slot`, and what the pictures of that sequence make of it.
struct Controllo {
    int prova;
    int slot;
    std::function<bool(const serie::Fatti &)> visto;
};

QList<Controllo> controlli()
{
    using F = serie::Fatti;
    return {
        {1, 0, [](const F &f) { return f.fosse == 2 && f.dorsali == 1 && f.catene == 1; }},
        {1, 1, [](const F &f) { return f.mantelloInferiore; }},
        {1, 2, [](const F &f) { return f.placche == 6; }},
        {1, 3, [](const F &f) { return f.continentaleGiallaVerde; }},
        {1, 4, [](const F &f) { return f.oceanicaRossa; }},
        {1, 5, [](const F &f) { return f.faglia && f.nuovaPlacca; }},
        {1, 7, [](const F &f) { return f.mantelloSuperiore; }},
        {1, 8, [](const F &f) { return f.terremotoSottoPlacca4; }},
        {1, 9, [](const F &f) { return f.placche == 4; }},
        {1, 10, [](const F &f) { return !f.oceanicaPiuSottile; }},
        {1, 11, [](const F &f) { return f.celle == 3; }},
        {2, 0, [](const F &f) { return f.archiInsulari; }},
        {2, 1, [](const F &f) { return f.attivaSoloDestra; }},
        {2, 2, [](const F &f) { return f.fagliaSopraCellaDestra; }},
        {2, 3, [](const F &f) { return f.nuovaPlacca; }},
        {2, 4, [](const F &f) { return f.vulcaniFaglia; }},
        {2, 5, [](const F &f) { return f.vulcaniDaCompressione; }},
        {2, 6, [](const F &f) { return f.fagliaDaSpinta; }},
        {2, 7, [](const F &f) { return f.faglia && f.fondaleInEspansione; }},
        {2, 8, [](const F &f) { return f.continentaleSubduce; }},
        {2, 9, [](const F &f) { return f.terremotoSottoPlacca4; }},
        {3, 0, [](const F &f) { return f.subduzioni == 2 && f.subduzioniInEsaurimento; }},
        {3, 1, [](const F &f) { return f.fondaleInEspansione && f.celleControrotanti; }},
        {3, 2, [](const F &f) { return f.fondaleInEspansione && f.dorsali >= 1; }},
        {4, 0, [](const F &f) { return f.celleAttive == 2; }},
        {4, 1, [](const F &f) { return f.faglia; }},
        {4, 2, [](const F &f) { return f.subduzioni > 0; }},
        {4, 3, [](const F &f) { return f.subduzioni == 0 && f.fosseRimaste; }},
        {4, 4, [](const F &f) { return f.subduzioni == 0 && f.terremotiSubduzioni; }},
        {4, 7, [](const F &f) { return f.placche == 3 && f.primeDueMiste; }},
        {4, 8, [](const F &f) { return f.placche == 3 && f.placcheSoloOceaniche == 1; }},
        {4, 9, [](const F &f) { return f.catenaConfineDestro; }},
        {4, 10, [](const F &f) { return f.oceanoVasto && f.fondaleInEspansione; }},
        {4, 11, [](const F &f) { return f.vulcaniEspansione; }},
    };
}

} // namespace

class TestSerie : public QObject
{
    Q_OBJECT

private slots:
    void fotogrammiPresenti_data()
    {
        QTest::addColumn<QString>("nome");
        for (const QString &nome : serie::nomi())
            QTest::newRow(qPrintable(nome)) << nome;
    }
    void fotogrammiPresenti()
    {
        QFETCH(QString, nome);
        QImageReader reader(immagini.filePath(nome));
        QCOMPARE(reader.format(), QByteArray("gif"));
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.size(), QSize(1102, 792));
    }

    // Every frame the synthesis plays is one of the pictures drawn, under the name it asks for.
    void serieCompleta()
    {
        const QStringList disegnate = serie::nomi();
        QCOMPARE(disegnate.size(), 46);
        for (int f = 1; f <= SerieSintesi::numfotogrammi; ++f) {
            const QString nome = SerieSintesi::fotogrammi(f).section(QLatin1Char('\\'), 1).toLower();
            QVERIFY2(disegnate.contains(nome), qPrintable(nome));
            QVERIFY2(QFileInfo::exists(immagini.filePath(nome)), qPrintable(nome));
        }
    }

    // The frames of each test's sequence are the pictures of that sequence in the story.
    void sequenze_data()
    {
        QTest::addColumn<int>("prova");
        QTest::addColumn<int>("primo");
        QTest::addColumn<int>("ultimo");
        QTest::newRow("1") << 1 << 1 << 30;
        QTest::newRow("2") << 2 << 31 << 45;
        QTest::newRow("3") << 3 << 46 << 51;
        QTest::newRow("4") << 4 << 52 << 59;
    }
    void sequenze()
    {
        QFETCH(int, prova);
        QFETCH(int, primo);
        QFETCH(int, ultimo);
        QCOMPARE(SerieSintesi::provaA(ultimo), prova);
        for (int f = primo; f <= ultimo; ++f)
            QCOMPARE(serie::sequenzaDi(SerieSintesi::fotogrammi(f).section(QLatin1Char('\\'), 1)), prova);
    }

    // What the pictures show against the true and false statements of the tests. The statements
    // about the close-ups and the general ones of test 3 are not about the main picture.
    void affermazioni_data()
    {
        QTest::addColumn<int>("prova");
        QTest::addColumn<int>("slot");
        for (const Controllo &c : controlli())
            QTest::addRow("prova %d, affermazione %d", c.prova, c.slot) << c.prova << c.slot;
    }
    void affermazioni()
    {
        QFETCH(int, prova);
        QFETCH(int, slot);
        for (const Controllo &c : controlli()) {
            if (c.prova != prova || c.slot != slot)
                continue;
            const ProvaSintesi::Affermazione &a = ProvaSintesi::tabella(prova).affermazioni.at(size_t(slot));
            QVERIFY2(c.visto(serie::fatti(prova)) == a.vera, qPrintable(a.testo));
        }
    }
};

QTEST_GUILESS_MAIN(TestSerie)
#include "TestSerie.moc"
