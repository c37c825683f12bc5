// The picture series of the animated synthesis: every frame the synthesis names is committed and
// decodes at one size, and what the pictures show agrees with the statements of its four tests, read
// from the program's own data file animation/sintesi/prove.json.

#include "Serie.h"
#include "Sequenze.h"
#include "Sezione.h"

#include "animation/ProvaSintesi.h"
#include "animation/SerieSintesi.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QHash>
#include <QSet>
#include <QTest>

#include <QPainterPathStroker>

#include <algorithm>
#include <functional>

using namespace disegni;

namespace {

const QDir immagini(QDir(QStringLiteral(DISEGNI_REPOSITORY)).filePath(QStringLiteral("immagini")));

// The colours of the committed pictures of a sequence, read pixel by pixel down a column of land and
// a column of sea.
struct Misure {
    bool continentaleGiallaVerde = true; // a green skin over yellow crust
    bool oceanicaRossa = true;           // red crust on the sea floor
    bool oceanicaPiuSottile = true;      // the red band thinner than the yellow one
    bool mantelloSottoCrosta = true;     // the hot mantle under the plates
    bool altroSottoMantello = false;     // along the bottom edge, something other than that mantle
};

// The colour language of the pictures, and a pixel's nearest word in it (GIF colours are approximate).
enum Tinta { Cielo, Mare, Verde, Giallo, Rosso, Marrone, Mantello, Altro };
Tinta tinta(QRgb px)
{
    using namespace sezione;
    const std::pair<QColor, Tinta> lingua[] = {
        {colore::cielo(), Cielo},        {colore::cieloAlto(), Cielo},        {colore::mare(), Mare},
        {colore::mareProfondo(), Mare},  {colore::verde(), Verde},            {colore::continentale(), Giallo},
        {colore::oceanica(), Rosso},     {colore::litosfera(), Marrone},      {colore::astenosfera(), Mantello},
        {colore::astenosferaProfonda(), Mantello},
    };
    Tinta migliore = Altro;
    int distanza = 40 * 40 * 3;
    for (const auto &[c, t] : lingua) {
        const int dr = qRed(px) - c.red(), dg = qGreen(px) - c.green(), db = qBlue(px) - c.blue();
        if (dr * dr + dg * dg + db * db < distanza) {
            distanza = dr * dr + dg * dg + db * db;
            migliore = t;
        }
    }
    // the mantle's gradient runs between its two shades
    if (migliore == Altro && qRed(px) > 0xD8 && qGreen(px) > 0x90 && qGreen(px) < 0xC0 && qBlue(px) > 0x50 && qBlue(px) < 0x88)
        migliore = Mantello;
    return migliore;
}

// The runs of one colour down a column, top to bottom.
QList<std::pair<Tinta, int>> strati(const QImage &image, int x)
{
    QList<std::pair<Tinta, int>> out;
    for (int y = 0; y < image.height(); ++y) {
        const Tinta t = tinta(image.pixel(x, y));
        if (!out.isEmpty() && out.last().first == t)
            ++out.last().second;
        else
            out.append({t, 1});
    }
    // a few pixels of outline or blended edge between two runs are not a layer
    QList<std::pair<Tinta, int>> pulito;
    for (const auto &r : out) {
        if (r.second < 3)
            continue;
        if (!pulito.isEmpty() && pulito.last().first == r.first)
            pulito.last().second += r.second;
        else
            pulito.append(r);
    }
    return pulito;
}

int dopo(const QList<std::pair<Tinta, int>> &s, Tinta prima, Tinta poi)
{
    for (qsizetype i = 0; i + 1 < s.size(); ++i)
        if (s[i].first == prima && s[i + 1].first == poi)
            return int(i + 1);
    return -1;
}

Misure misure(int prova)
{
    static QHash<int, Misure> lette;
    if (lette.contains(prova))
        return lette.value(prova);
    Misure m;
    int quante = 0;
    for (const QString &nome : serie::nomi()) {
        if (serie::sequenzaDi(nome) != prova || serie::velata(nome))
            continue;
        ++quante;
        const QImage image = QImage(immagini.filePath(nome)).convertToFormat(QImage::Format_RGB32);
        // a column through the continent on the right and one through the ocean left of the first trench
        const auto terra = strati(image, 1060), mare = strati(image, 400);
        const int giallo = dopo(terra, Verde, Giallo);
        const int rosso = dopo(mare, Mare, Rosso);
        m.continentaleGiallaVerde = m.continentaleGiallaVerde && giallo > 0;
        m.oceanicaRossa = m.oceanicaRossa && rosso > 0;
        m.oceanicaPiuSottile = m.oceanicaPiuSottile && giallo > 0 && rosso > 0 && mare[rosso].second < terra[giallo].second;
        m.mantelloSottoCrosta = m.mantelloSottoCrosta && dopo(terra, Marrone, Mantello) > 0 && dopo(mare, Marrone, Mantello) > 0;
        int bordo = 0;
        for (int x = 0; x < image.width(); ++x)
            bordo += tinta(image.pixel(x, image.height() - 3)) == Mantello;
        m.altroSottoMantello = m.altroSottoMantello || bordo < image.width() * 8 / 10;
    }
    if (quante == 0)
        m = {false, false, false, false, true};
    lette.insert(prova, m);
    return m;
}

// What the close-up played before the test of sequence `prova` shows (nothing for the first one).
sequenze::Riassunto ingrandimento(int prova)
{
    static QHash<int, sequenze::Riassunto> visti;
    if (visti.contains(prova))
        return visti.value(prova);
    for (int f = 1; f <= SerieSintesi::numfotogrammi; ++f) {
        const QStringList zoom = SerieSintesi::ingrandimentoA(f);
        if (!zoom.isEmpty() && SerieSintesi::provaA(f + 1) == prova)
            return visti[prova] = sequenze::riassunto(sequenze::storia(zoom.first().section(QLatin1Char('\\'), 1, 1).toLower()));
    }
    return visti[prova] = {};
}

// A statement of test `prova`, slot `slot` (its place in the data file, from 0), the opening words it
// must have there, and what that sequence makes of it: the facts drawn in its main pictures, the
// colours measured in them, and the close-up that played before the test.
struct Controllo {
    int prova;
    int slot;
    const char *inizio;
    std::function<bool(const serie::Fatti &, const Misure &, const sequenze::Riassunto &)> visto;
};

QList<Controllo> controlli()
{
    using F = serie::Fatti;
    using M = Misure;
    using Z = sequenze::Riassunto;
    return {
        {1, 0, "vengono mostrate 2 fosse marine", [](const F &f, const M &, const Z &) { return f.fosse == 2 && f.dorsali == 1 && f.catene == 1; }},
        {1, 1, "sotto il mantello superiore si vedono", [](const F &, const M &m, const Z &) { return m.altroSottoMantello; }},
        {1, 2, "si possono distinguere, grazie ai colori", [](const F &f, const M &, const Z &) { return f.placche == 6; }},
        {1, 3, "la crosta continentale è gialla", [](const F &, const M &m, const Z &) { return m.continentaleGiallaVerde; }},
        {1, 4, "la crosta oceanica è rappresentata", [](const F &, const M &m, const Z &) { return m.oceanicaRossa; }},
        {1, 5, "si vede che sta nascendo una nuova placca", [](const F &f, const M &, const Z &) { return f.faglia && f.nuovaPlacca; }},
        {1, 6, "sotto la dorsale oceanica subduce", [](const F &f, const M &, const Z &) { return f.subduzioneSottoDorsale; }},
        {1, 7, "sotto la crosta c'è il mantello", [](const F &, const M &m, const Z &) { return m.mantelloSottoCrosta; }},
        {1, 8, "sotto la placca nr 4", [](const F &f, const M &, const Z &) { return f.terremotoSottoPlacca4; }},
        {1, 9, "vengono rappresentate 4 placche", [](const F &f, const M &, const Z &) { return f.placche == 4; }},
        {1, 10, "è ben visibile il fatto", [](const F &, const M &m, const Z &) { return !m.oceanicaPiuSottile; }},
        {1, 11, "nel mantello ci sono 3 celle", [](const F &f, const M &, const Z &) { return f.celle == 3; }},
        {2, 0, "In questa sequenza animata si assiste", [](const F &f, const M &, const Z &z) { return f.archiInsulari || z.isoleVulcaniche; }},
        {2, 1, "la cella convettiva più attiva", [](const F &f, const M &, const Z &) { return f.attivaSoloDestra; }},
        {2, 2, "la cella di destra provoca una faglia", [](const F &f, const M &, const Z &) { return f.fagliaSopraCellaDestra; }},
        {2, 3, "grazie alla faglia, nasce una nuova placca", [](const F &f, const M &, const Z &) { return f.nuovaPlacca; }},
        {2, 4, "lungo la faglia, appena si è formata", [](const F &f, const M &, const Z &) { return f.vulcaniFaglia; }},
        {2, 5, "l'attività vulcanica lungo la faglia", [](const F &f, const M &, const Z &) { return f.vulcaniDaCompressione; }},
        {2, 6, "la faglia è stata provocata", [](const F &f, const M &, const Z &) { return f.fagliaDaSpinta; }},
        {2, 7, "la faglia viene sostituita", [](const F &f, const M &, const Z &) { return f.faglia && f.fondaleInEspansione; }},
        {2, 8, "la crosta continentale della nuova placca", [](const F &f, const M &, const Z &) { return f.continentaleSubduce; }},
        {2, 9, "sotto la placca4", [](const F &f, const M &, const Z &) { return f.terremotoSottoPlacca4; }},
        {2, 10, "l'ingrandimento mostra la formazione degli archi", [](const F &, const M &, const Z &z) { return z.isoleVulcaniche && z.archiSuFossa; }},
        {2, 11, "l'ingrandimento conferma che lo scontro", [](const F &, const M &, const Z &z) { return z.collisione && z.catena; }},
        {3, 0, "si può prevedere che stiano per terminare", [](const F &f, const M &, const Z &) { return f.subduzioni == 2 && f.subduzioniInEsaurimento; }},
        {3, 1, "l'espansione dei fondali oceanici è provocata", [](const F &f, const M &, const Z &) { return f.fondaleInEspansione && f.celleControrotanti; }},
        {3, 2, "al centro di un oceano in espansione", [](const F &f, const M &, const Z &) { return f.fondaleInEspansione && f.dorsali >= 1; }},
        {3, 3, "la dorsale oceanica si forma", [](const F &f, const M &, const Z &) { return f.dorsaleTraPlaccheConvergenti; }},
        {3, 4, "l'ingrandimento mostra la formazione degli archi", [](const F &, const M &, const Z &z) { return z.isoleVulcaniche && z.archiSuFossa; }},
        {3, 5, "gli archi insulari si formano al confine", [](const F &, const M &, const Z &z) { return z.archiDivergenti; }},
        {3, 6, "lungo gli archi insulari si formano vulcani", [](const F &, const M &, const Z &z) { return z.isoleVulcaniche && !z.terremotiArchi; }},
        {3, 7, "accanto agli archi insulari", [](const F &, const M &, const Z &z) { return z.archiSuFossa; }},
        {3, 8, "la fossa marina si forma", [](const F &, const M &, const Z &z) { return z.fossaDaDivergenza; }},
        {3, 9, "negli archi, il materiale espulso", [](const F &, const M &, const Z &z) { return z.isoleVulcaniche && !z.magmaDallaLastra; }},
        {3, 10, "Gli archi insulari si formano quando", [](const F &, const M &, const Z &z) { return z.archiOceanici && z.archiConvergenti; }},
        {3, 11, "gli archi insulari sono formati", [](const F &, const M &, const Z &z) { return z.isoleVulcaniche; }},
        {4, 0, "ora sono rimaste due celle", [](const F &f, const M &, const Z &) { return f.celleAttive == 2; }},
        {4, 1, "la cella convettiva di destra", [](const F &f, const M &, const Z &) { return f.faglia; }},
        {4, 2, "la cella convettiva di sinistra", [](const F &f, const M &, const Z &) { return f.subduzioni > 0; }},
        {4, 3, "Non ci sono più subduzioni; al loro posto", [](const F &f, const M &, const Z &) { return f.subduzioni == 0 && f.fosseRimaste; }},
        {4, 4, "Non ci sono più subduzioni; l'immersione", [](const F &f, const M &, const Z &) { return f.subduzioni == 0 && f.terremotiSubduzioni; }},
        {4, 5, "l'ingrandimento mostra la compressione", [](const F &, const M &, const Z &z) { return z.compressione; }},
        {4, 6, "l'ingrandimento mostra una dorsale", [](const F &, const M &, const Z &z) { return z.dorsale && z.espansione; }},
        {4, 7, "ora si vedono solo tre placche", [](const F &f, const M &, const Z &) { return f.placche == 3 && f.primeDueMiste; }},
        {4, 8, "ora si vedono tre placche:", [](const F &f, const M &, const Z &) { return f.placche == 3 && f.placcheSoloOceaniche == 1; }},
        {4, 9, "a destra, il confine", [](const F &f, const M &, const Z &) { return f.catenaConfineDestro; }},
        {4, 10, "tra le due placche, l'espansione", [](const F &f, const M &, const Z &) { return f.oceanoVasto && f.fondaleInEspansione; }},
        {4, 11, "l'espansione dei fondali oceanici è accompagnata", [](const F &f, const M &, const Z &) { return f.vulcaniEspansione; }},
    };
}

// The statements of the four tests, read from the very file the program is built with.
struct Prove {
    ProvaSintesi::Tabelle tabelle;
    QString errore;
};
const Prove &prove()
{
    static const Prove lette = [] {
        Prove p;
        ProvaSintesi::leggi(QStringLiteral(PLACCHE_PROVE_SINTESI), &p.tabelle, &p.errore);
        return p;
    }();
    return lette;
}

// The pictures in the order the synthesis plays them, each once where a frame repeats the one before.
QStringList inOrdine()
{
    QStringList nomi;
    for (int f = 1; f <= SerieSintesi::numfotogrammi; ++f) {
        const QString nome = SerieSintesi::fotogrammi(f).section(QLatin1Char('\\'), 1).toLower();
        if (nomi.isEmpty() || nomi.last() != nome)
            nomi << nome;
    }
    return nomi;
}

const serie::Quadro::Numero *numero(const serie::Quadro &q, const QString &n)
{
    for (const auto &k : q.placche)
        if (k.numero == n)
            return &k;
    return nullptr;
}

bool vicino(const std::vector<double> &xs, double x, double entro)
{
    return std::any_of(xs.begin(), xs.end(), [&](double y) { return std::abs(x - y) <= entro; });
}

// How far apart two consecutive pictures may put the same thing, px of 1102: a small step.
constexpr double kPasso = 45;
// How close a ridge or a shore must have come to a trench before the trench may go.
constexpr double kArrivo = 12;

// Blue sea pixels along one row between the two right-hand continents of a committed picture: the
// ocean still open before the right trench.
int mareADestra(const QImage &image)
{
    int n = 0;
    for (int x = 860; x < 1000; ++x)
        n += tinta(image.pixel(x, 256)) == Mare;
    return n;
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

    // Two pictures in a row are never the same: even the still sequence has something new each time.
    void nessunaRipetizione()
    {
        const QStringList nomi = serie::nomi();
        QImage prima;
        for (const QString &nome : nomi) {
            const QImage image(immagini.filePath(nome));
            QVERIFY2(image != prima, qPrintable(nome));
            prima = image;
        }
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

    // From one picture to the next as they are played, a pupil can follow every change: the same
    // plate keeps its number and its place, a plate that is counted again says which it was, a plate
    // goes only down its trench and is born only at a fault; a ridge goes only into a trench and is
    // born at the fault; a trench closes only once its ridge or the continent behind it has reached
    // it; the chain of a collision rises from low, where the ocean had just closed.
    void storyboard_data()
    {
        QTest::addColumn<QString>("prima");
        QTest::addColumn<QString>("dopo");
        const QStringList nomi = inOrdine();
        for (qsizetype i = 1; i < nomi.size(); ++i)
            QTest::addRow("%s > %s", qPrintable(nomi.at(i - 1)), qPrintable(nomi.at(i))) << nomi.at(i - 1) << nomi.at(i);
    }
    void storyboard()
    {
        QFETCH(QString, prima);
        QFETCH(QString, dopo);
        const serie::Quadro a = serie::quadro(prima), b = serie::quadro(dopo);

        for (const auto &k : b.placche) {
            const QString dove = QStringLiteral("placca %1 in %2").arg(k.numero, dopo);
            if (!k.prima.isEmpty()) {
                const auto *stessa = numero(a, k.numero);
                if (stessa && stessa->prima == k.prima)
                    continue; // the note stays one more picture
                for (const QString &n : k.prima)
                    QVERIFY2(numero(a, n), qPrintable(dove + QStringLiteral(": era la %1, che non c'era").arg(n)));
                continue;
            }
            if (a.placche.empty())
                continue; // the numbers are written for the first time
            const auto *era = numero(a, k.numero);
            if (!era) { // a new plate, born where the picture before had the fault
                QVERIFY2(a.faglia >= 0 && std::abs(k.x0 - a.faglia) <= kPasso, qPrintable(dove + QStringLiteral(": nata dal nulla")));
                continue;
            }
            // the same plate, moved a little or split by the fault: most of it lies where it was
            const double comune = std::min(k.x1, era->x1) - std::max(k.x0, era->x0);
            QVERIFY2(comune > 0.5 * std::min(k.x1 - k.x0, era->x1 - era->x0),
                     qPrintable(dove + QStringLiteral(": lo stesso numero su un'altra placca")));
        }
        for (const auto &k : a.placche) {
            bool resta = false;
            for (const auto &n : b.placche)
                resta = resta || (n.prima.isEmpty() || n.prima == k.prima ? n.numero == k.numero : n.prima.contains(k.numero));
            const bool inghiottita = k.x1 - k.x0 <= kArrivo && vicino(a.fosse, k.x1, kArrivo);
            QVERIFY2(resta || inghiottita || b.placche.empty(),
                     qPrintable(QStringLiteral("placca %1 di %2 sparita senza scendere nella fossa").arg(k.numero, prima)));
        }

        for (double d : a.dorsali) {
            if (vicino(b.dorsali, d, kPasso))
                continue;
            QVERIFY2(vicino(a.fosse, d, kArrivo), qPrintable(QStringLiteral("la dorsale di %1 sparisce lontano da una fossa").arg(prima)));
        }
        for (double d : b.dorsali)
            QVERIFY2(vicino(a.dorsali, d, kPasso) || (a.faglia >= 0 && std::abs(d - a.faglia) <= kPasso),
                     qPrintable(QStringLiteral("la dorsale di %1 nasce dal nulla").arg(dopo)));
        for (double x : a.fosse) {
            if (vicino(b.fosse, x, 1))
                continue;
            const bool dorsale = vicino(a.dorsali, x, kArrivo);
            const bool continente = x > 900 && a.mareTraContinenti <= kArrivo;
            QVERIFY2(dorsale || continente, qPrintable(QStringLiteral("la fossa di %1 si chiude senza che nulla l'abbia raggiunta").arg(prima)));
        }
        for (double x : b.fosse)
            QVERIFY2(vicino(a.fosse, x, 1), qPrintable(QStringLiteral("una fossa nasce in %1").arg(dopo)));

        if (b.catena > 0 && a.catena == 0) {
            QVERIFY2(a.mareTraContinenti > 0 && a.mareTraContinenti <= kArrivo,
                     qPrintable(QStringLiteral("la catena di %1 nasce dove l'oceano era ancora aperto").arg(dopo)));
            QVERIFY2(b.catena <= 35, qPrintable(QStringLiteral("la catena di %1 è già alta").arg(dopo)));
        }
        QVERIFY2(std::abs(b.catena - a.catena) <= 25 || a.catena == 0 || b.catena == 0,
                 qPrintable(QStringLiteral("la catena salta da %1 a %2").arg(a.catena).arg(b.catena)));
        QVERIFY2(std::abs(b.mareTraContinenti - a.mareTraContinenti) <= kPasso,
                 qPrintable(QStringLiteral("l'oceano a destra salta da %1 a %2").arg(a.mareTraContinenti).arg(b.mareTraContinenti)));
    }

    // The magma of this section rises from the hot mantle, at the fault and at the spreading ridge:
    // no drop is drawn on a sinking plate, where it would read as coming from it.
    void magmaLontanoDalleLastre_data()
    {
        QTest::addColumn<QString>("nome");
        for (const QString &nome : serie::nomi())
            if (!serie::quadro(nome).magma.empty())
                QTest::newRow(qPrintable(nome)) << nome;
    }
    void magmaLontanoDalleLastre()
    {
        QFETCH(QString, nome);
        const serie::Quadro q = serie::quadro(nome);
        for (const QPainterPath &g : q.magma)
            for (const QPolygonF &l : q.lastre) {
                QPainterPath lastra;
                lastra.addPolygon(l);
                // a margin of a few pixels, so that they do not even touch
                QPainterPathStroker bordo;
                bordo.setWidth(12);
                QVERIFY2(!g.united(bordo.createStroke(g)).intersects(lastra), qPrintable(nome));
            }
    }

    // The committed pictures show the right-hand ocean closing: along the sea floor between the two
    // continents the blue narrows picture by picture and is gone from the first picture of the
    // collision on, when the chain starts to rise.
    void oceanoSiChiudeNeiFotogrammi()
    {
        const QStringList nomi = inOrdine();
        int primaCatena = -1;
        QList<int> mare;
        for (qsizetype i = 0; i < nomi.size(); ++i) {
            const QImage image = QImage(immagini.filePath(nomi.at(i))).convertToFormat(QImage::Format_RGB32);
            QVERIFY2(!image.isNull(), qPrintable(nomi.at(i)));
            mare << mareADestra(image);
            if (primaCatena < 0 && serie::quadro(nomi.at(i)).catena > 0)
                primaCatena = int(i);
        }
        QVERIFY(primaCatena > 0);
        QVERIFY2(mare.at(primaCatena - 1) > 0, qPrintable(nomi.at(primaCatena - 1)));
        for (qsizetype i = primaCatena; i < nomi.size(); ++i)
            QVERIFY2(mare.at(i) == 0, qPrintable(nomi.at(i)));
        // from the fault on, the continent on the left of that ocean only comes closer
        const int faglia = int(nomi.indexOf(QStringLiteral("new-16.gif")));
        for (int i = faglia + 1; i < primaCatena; ++i)
            QVERIFY2(mare.at(i) <= mare.at(i - 1) + 2, qPrintable(QStringLiteral("%1: %2 > %3").arg(nomi.at(i)).arg(mare.at(i)).arg(mare.at(i - 1))));
    }

    // Every statement of the four tests is held against the pictures, none twice.
    void tutteLeAffermazioni()
    {
        QVERIFY2(prove().errore.isEmpty(), qPrintable(prove().errore));
        QSet<std::pair<int, int>> viste;
        for (const Controllo &c : controlli())
            QVERIFY2(!viste.contains({c.prova, c.slot}), qPrintable(QStringLiteral("%1/%2").arg(c.prova).arg(c.slot)));
        for (const Controllo &c : controlli())
            viste.insert({c.prova, c.slot});
        QCOMPARE(viste.size(), 48);
    }

    // What the pictures show against the true and false statements of the tests.
    void affermazioni_data()
    {
        QTest::addColumn<int>("prova");
        QTest::addColumn<int>("slot");
        for (const Controllo &c : controlli())
            QTest::addRow("prova %d, affermazione %d: %s", c.prova, c.slot, c.inizio) << c.prova << c.slot;
    }
    void affermazioni()
    {
        QFETCH(int, prova);
        QFETCH(int, slot);
        QVERIFY2(prove().errore.isEmpty(), qPrintable(prove().errore));
        for (const Controllo &c : controlli()) {
            if (c.prova != prova || c.slot != slot)
                continue;
            const ProvaSintesi::Affermazione &a = prove().tabelle.at(size_t(prova - 1)).affermazioni.at(size_t(slot));
            // The check is tied to the statement by its place in the file: moved, the check says so.
            QVERIFY2(a.testo.startsWith(QString::fromUtf8(c.inizio)),
                     qPrintable(QStringLiteral("the check is for \"%1...\", the file has \"%2\" in its place")
                                    .arg(QString::fromUtf8(c.inizio), a.testo)));
            QVERIFY2(c.visto(serie::fatti(prova), misure(prova), ingrandimento(prova)) == a.vera,
                     qPrintable(a.testo));
        }
    }
};

QTEST_MAIN(TestSerie)
#include "TestSerie.moc"
