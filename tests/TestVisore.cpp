#include "TestSupport.h"

#include "animation/Formani.h"
#include "animation/Visore.h"
#include "app/Fscelt.h"
#include "app/Sessione.h"
#include "lessons/Forarg.h"
#include "ui/Interpolazione.h"
#include "ui/Jpeg.h"
#include "ui/Pictures.h"
#include "ui/Screens.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QTest>


namespace {
Formani* viewer()
{
    return qobject_cast<Formani*>(ui::Screens::instance().find(QStringLiteral("Formani")));
}

// Picture k of a sequence is one flat colour that spells k in steps of 32 per channel, read back after JPEG
// and scaling.
QColor coloreDi(int k)
{
    return QColor(16 + 32 * (k % 8), 16 + 32 * (k / 8 % 8), 16 + 32 * (k / 64));
}

// Writes the pictures of a sequence as the course's are: JPEG, 642 x 498, 192 dpi.
void scriviSequenza(const QStringList& foto)
{
    for (int k = 0; k < foto.size(); ++k) {
        QImage image(642, 498, QImage::Format_RGB32);
        image.fill(coloreDi(k));
        image.setDotsPerMeterX(7559);
        image.setDotsPerMeterY(7559);
        const QString path = ui::Pictures::locate(foto.at(k));
        QDir().mkpath(QFileInfo(path).absolutePath());
        QImageWriter(path, "jpeg").write(image);
    }
}

// Which picture of the sequence an image shows, by its colour; -1 for an empty image.
int quale(const QImage& image)
{
    const QColor c = image.isNull() ? QColor() : image.pixelColor(image.width() / 2, image.height() / 2);
    return image.isNull() ? -1 : c.red() / 32 + 8 * (c.green() / 32) + 64 * (c.blue() / 32);
}

// What the picture control shows agrees with the file it names, and, once a tick or a step has shown it,
// at the size it is shown (the opening picture is loaded with the screen and scaled when painted).
QString coerente(const ui::Picture* image, const QStringList& foto, bool preparata = true)
{
    const int k = int(foto.indexOf(image->fileName())), mostra = quale(image->image());
    if (mostra != k)
        return QStringLiteral("%1 shows picture %2").arg(image->fileName()).arg(mostra + 1);
    if (preparata && image->image().size() != image->size())
        return QStringLiteral("%1 prepared at another size").arg(image->fileName());
    return {};
}

// The viewer on sequence `n`, opened over the menu as a lesson page opens it.
Formani* mostra(int n)
{
    TestSupport::sessione().numanimazione = qint16(n);
    TestSupport::sessione().numargomento = 5;
    return qobject_cast<Formani*>(ui::Screens::instance().show(QStringLiteral("Formani")));
}
}  // namespace

class TestVisore : public QObject {
    Q_OBJECT
private slots:
    void init() { TestSupport::prepara(); }
    void cleanup() { TestSupport::chiudiTutto(); }

    void sequences_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("numfoto");
        QTest::addColumn<QString>("prima");
        QTest::addColumn<QString>("ultima");
        QTest::addColumn<int>("anni");
        QTest::newRow("1 origins") << 1 << 14 << "immagini\\origini\\orig1.jpg" << "immagini\\origini\\orig2h.jpg" << 0;
        QTest::newRow("2 spreading") << 2 << 14 << "immagini\\allontan\\ESPANS.jpg" << "immagini\\allontan\\ESPANS14.jpg" << 0;
        QTest::newRow("3 drift") << 3 << 45 << "immagini\\deriva\\new-1.jpg" << "immagini\\deriva\\new-45.jpg" << 528;
        QTest::newRow("4 subduction") << 4 << 15 << "immagini\\SUBDUZIO\\subduz1.jpg" << "immagini\\SUBDUZIO\\subduz15.jpg" << 0;
        QTest::newRow("5 collision") << 5 << 12 << "immagini\\avvici\\avvic1.jpg" << "immagini\\avvici\\avvic12.jpg" << 0;
        QTest::newRow("6 ocean-ocean") << 6 << 11 << "immagini\\oceoce\\oceoce1.jpg" << "immagini\\oceoce\\oceoce11.jpg" << 0;
        QTest::newRow("7 recent drift") << 7 << 12 << "immagini\\deriva\\new-34.jpg" << "immagini\\deriva\\new-45.jpg" << 132;
    }
    // The automatic run shows pictures 2 ... N with their years (the last is today), then stands still until
    // restarted from picture 1; the manual run wraps around, years included. On the screen the years show
    // only for the drift, the timer drives Image2 and the manual step Image1.
    void sequences()
    {
        QFETCH(int, n);
        QFETCH(int, numfoto);
        QFETCH(QString, prima);
        QFETCH(QString, ultima);
        QFETCH(int, anni);
        Visore v, manuale;
        v.carica(n);
        manuale.carica(n);
        const Sequenza& s = v.sequenza();
        QCOMPARE(v.numfoto(), numfoto);
        QCOMPARE(s.foto.first(), prima);
        QCOMPARE(s.foto.last(), ultima);
        QCOMPARE(s.anniIniziali, anni);
        QCOMPARE(QSet<QString>(s.foto.cbegin(), s.foto.cend()).size(), numfoto);
        auto passo = [&](const Visore::Passo& p, int k) {
            QVERIFY(p.mostra);
            QCOMPARE(p.numero, k);
            QCOMPARE(p.foto, s.foto.at(k - 1));
            if (anni)
                QCOMPARE(p.anni, anni - 12 * (k - 1));
        };
        for (int k = 2; k <= numfoto; ++k)
            passo(v.tick(), k);
        QVERIFY(!anni || anni == 12 * (numfoto - 1));
        for (int i = 0; i < 5; ++i)
            QVERIFY(!v.tick().mostra);
        v.riavvia();
        passo(v.tick(), 1);
        for (int k = 1; k <= 2 * numfoto; ++k)
            passo(manuale.passoManuale(), (k - 1) % numfoto + 1);

        TestSupport::CartellaProgramma folder;
        QVERIFY(TestSupport::apriMenu());
        Formani* f = mostra(n);
        QCOMPARE(f->window()->windowTitle(), QStringLiteral("ANIMAZIONI"));
        QCOMPARE(f->Label4->caption(), QString());  // the opening picture stands without its number
        QCOMPARE(f->Label3->isVisible(), anni > 0);
        QCOMPARE(f->Label2->isVisible(), anni > 0);
        QCOMPARE(f->Label2->caption(), QStringLiteral("    milioni di anni fa"));
        QCOMPARE(f->Label3->caption(), anni ? QString::number(anni) : QString());
        QCOMPARE(f->Image1->fileName(), prima);
        QCOMPARE(f->Image2->fileName(), prima);
        QVERIFY(f->Timer1->isEnabled());
        f->Timer1->fire();
        QCOMPARE(f->Image1->fileName(), prima);
        QCOMPARE(f->designRect(f->Image2), s.image2);
        if (anni)  // hidden otherwise
            QCOMPARE(f->Label3->caption(), QString::number(anni - 12));
        f->Command1->click();
        QCOMPARE(f->Label4->caption(), QStringLiteral("1"));
    }

    // "+" is "Maggiore", "-" is "Minore", clicked in this order from the start.
    void speed_data()
    {
        QTest::addColumn<QString>("clic");
        QTest::addColumn<int>("intervallo");
        QTest::addColumn<int>("livello");
        QTest::addColumn<bool>("maggiore");  // "Maggiore" enabled after the clicks
        QTest::addColumn<bool>("minore");
        QTest::newRow("start") << "" << 701 << 11 << true << true;
        QTest::newRow("seven faster") << "+++++++" << 1 << 18 << true << true;
        QTest::newRow("eight faster: clamped") << "++++++++" << 1 << 19 << false << true;
        QTest::newRow("eight faster, one slower") << "++++++++-" << 101 << 18 << true << true;
        QTest::newRow("ten slower") << "----------" << 1701 << 1 << true << true;
        QTest::newRow("eleven slower: clamped") << "-----------" << 1800 << 0 << true << false;
        QTest::newRow("eleven slower, one faster") << "-----------+" << 1700 << 1 << true << true;
        QTest::newRow("twelve slower: the level still moves") << "------------" << 1800 << -1 << true << false;
    }
    void speed()
    {
        QFETCH(QString, clic);
        QFETCH(int, intervallo);
        QFETCH(int, livello);
        QFETCH(bool, maggiore);
        QFETCH(bool, minore);
        TestSupport::CartellaProgramma folder;
        QVERIFY(TestSupport::apriMenu());
        Formani* f = mostra(3);
        for (QChar c : clic)
            (c == QLatin1Char('+') ? f->cmdmaxvel : f->cmdminvel)->press();
        QCOMPARE(f->Timer1->interval(), intervallo);
        QCOMPARE(f->Labvel->caption(), QString::number(livello));
        QCOMPARE(f->cmdmaxvel->isEnabled(), maggiore);
        QCOMPARE(f->cmdminvel->isEnabled(), minore);
    }

    // The pictures the ticks and clicks name, prepared or caught mid-way. t tick, r "Avvio l'animazione",
    // + "Maggiore", - "Minore", m the manual step. A missing or broken picture is left empty by the tick that
    // shows it, with one line on stderr (none while it is only prepared), and the run goes on.
    void readAheadFollowsTheTicks_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("azioni");
        QTest::addColumn<bool>("attendi");
        QTest::addColumn<int>("guasta");  // the picture missing or broken, from 1; 0: none
        QTest::addColumn<bool>("rotta");
        for (bool attendi : {true, false}) {
            const char* come = attendi ? "prepared" : "caught mid-way";
            for (const auto& [nome, n, azioni] :
                 {std::tuple{"restart mid-run", 5, "ttttrtttttrt"},
                  {"to the end, past it and restart", 6, "ttttttttttttrtt"},
                  {"speed change mid-sequence", 3, "ttt++++++++tttt-tt+tttt--t"},
                  {"manual run wraps around", 2, "mmmmmmmtmmmmmmmmmtm"},
                  {"both runs at 1 ms", 4, "++++++++tmtmttmmrtmtttttttttttttttmm"}})
                QTest::addRow("%s, %s", nome, come) << n << QString::fromLatin1(azioni) << attendi << 0 << false;
            for (bool rotta : {false, true})
                QTest::addRow("picture 4 %s, %s", rotta ? "broken" : "missing", come)
                    << 5 << "ttttt" << attendi << 4 << rotta;
        }
    }
    void readAheadFollowsTheTicks()
    {
        QFETCH(int, n);
        QFETCH(QString, azioni);
        QFETCH(bool, attendi);
        QFETCH(int, guasta);
        QFETCH(bool, rotta);
        TestSupport::CartellaProgramma folder;
        const QStringList foto = Sequenze::sequenza(n).foto;
        scriviSequenza(foto);
        const QString nomeGuasta = foto.value(guasta - 1);
        const QString breve = nomeGuasta.section(QLatin1Char('\\'), -1).section(QLatin1Char('.'), 0, 0);
        if (guasta) {
            QFile file(ui::Pictures::locate(nomeGuasta));
            QVERIFY(file.remove());
            if (rotta)
                QVERIFY(file.open(QIODevice::WriteOnly)
                        && file.write(QByteArray("\xff\xd8\xff\xe0 non una fotografia", 24)) == 24);
        }
        QVERIFY(TestSupport::apriMenu());
        ui::Screens::instance().front()->window()->resize(1024, 768);
        Formani* f = mostra(n);
        TestSupport::Stderr err;
        Visore atteso;  // what the ticks name
        atteso.carica(n);
        bool mosso1 = false, mosso2 = false;
        for (int i = 0; i < azioni.size(); ++i) {
            if (attendi) {
                QVERIFY(ui::Pictures::ReadAhead::waitForIdle(10000));
                QCOMPARE(err.righe(), QStringList());
            }
            const QChar a = azioni.at(i);
            bool mostrataGuasta = false;
            if (a == QLatin1Char('t')) {
                const Visore::Passo p = atteso.tick();
                f->Timer1->fire();
                if (p.mostra) {
                    QCOMPARE(f->Image2->fileName(), p.foto);
                    QCOMPARE(f->Label4->caption(), QString::number(p.numero));
                }
                mosso2 = mosso2 || p.mostra;
                mostrataGuasta = p.mostra && p.numero == guasta;
            } else if (a == QLatin1Char('m')) {
                const Visore::Passo p = atteso.passoManuale();
                f->Command1->click();
                QCOMPARE(f->Image1->fileName(), p.foto);
                mosso1 = true;
            } else if (a == QLatin1Char('r')) {
                atteso.riavvia();
                f->Cmdanim->click();
            } else {
                (a == QLatin1Char('+') ? f->cmdmaxvel : f->cmdminvel)->click();
            }
            const QStringList righe = err.righe();
            if (mostrataGuasta) {
                QVERIFY(f->Image2->image().isNull());
                QCOMPARE(righe.size(), 1);
                QVERIFY2(righe.first().contains(rotta ? QStringLiteral("illeggibile") : QStringLiteral("non trovata")),
                         qPrintable(righe.first()));
                QVERIFY(righe.first().contains(breve, Qt::CaseInsensitive));
            } else {
                QCOMPARE(righe, QStringList());
            }
            if (f->Image2->fileName() != nomeGuasta)
                QCOMPARE(coerente(f->Image2, foto, mosso2), QString());
            QCOMPARE(coerente(f->Image1, foto, mosso1), QString());
            // Bounded: a few pictures ahead, all of them still to come.
            const QStringList avanti = f->anticipoAutomatico().pending();
            QVERIFY(avanti.size() <= 4);
            for (const QString& nome : avanti)
                QVERIFY(atteso.prossimeAutomatiche(4).contains(nome));
            QVERIFY(f->anticipoManuale().pending().size() <= 1);
        }
        QApplication::processEvents();
        TestSupport::fotografa(f->window(), QStringLiteral("Formani-sequenza-%1").arg(n));
    }

    // Told wrong about what comes next, a take still gives the picture and size asked. "p" plans the names up
    // to ";", a number is taken, "@" changes the size, "w" waits until the helpers are idle.
    void readAheadGivesWhatIsAsked_data()
    {
        QTest::addColumn<QString>("passi");
        QTest::newRow("as planned") << "p 1 2 3 ; 1 2 3 4";
        QTest::newRow("out of order") << "p 1 2 3 ; w 3 1 2";
        QTest::newRow("never planned") << "p 1 2 ; w 5 6 1";
        QTest::newRow("plan changed under way") << "p 1 2 3 4 ; p 7 8 ; 2 7 w 8";
        QTest::newRow("same picture again") << "p 2 2 3 ; w 2 2 3 3";
        QTest::newRow("another size") << "p 1 2 3 ; w @ 1 2 p 3 4 ; w @ 3 4";
    }
    void readAheadGivesWhatIsAsked()
    {
        QFETCH(QString, passi);
        TestSupport::CartellaProgramma folder(false);
        const QStringList foto = Sequenze::sequenza(4).foto;
        scriviSequenza(foto);
        QList<QSize> sizes{QSize(300, 233), QSize(200, 155), QSize(700, 500)};
        int size = 0;
        ui::Pictures::ReadAhead anticipo(3);
        const QStringList tokens = passi.split(QLatin1Char(' '));
        for (int i = 0; i < tokens.size(); ++i) {
            const QString& t = tokens.at(i);
            const auto target = ui::Pictures::Target::stretched(sizes.at(size));
            if (t == QLatin1String("p")) {
                QStringList names;
                while (tokens.at(++i) != QLatin1String(";"))
                    names << foto.at(tokens.at(i).toInt() - 1);
                anticipo.plan(names, target);
                QVERIFY(anticipo.pending().size() <= anticipo.depth());
            } else if (t == QLatin1String("w")) {
                QVERIFY(ui::Pictures::ReadAhead::waitForIdle(10000));
            } else if (t == QLatin1String("@")) {
                size = (size + 1) % sizes.size();
            } else {
                const int k = t.toInt() - 1;
                const ui::Pictures::Loaded l = anticipo.take(foto.at(k), target);
                QCOMPARE(quale(l.image), k);
                QCOMPARE(l.image.size(), sizes.at(size));
                QVERIFY(!anticipo.pending().contains(foto.at(k)));
            }
        }
    }

    // Leaving while pictures are being prepared, then opening another sequence: only the new one's pictures,
    // ticked by hand and then on the real clock at 1 ms, where every picture painted is the one its name and
    // counter say, in order, to the last.
    void leavingMidPreparation_data()
    {
        QTest::addColumn<int>("prima");
        QTest::addColumn<int>("dopo");
        QTest::newRow("drift, then the recent drift") << 3 << 7;
        QTest::newRow("recent drift, then the drift") << 7 << 3;
        QTest::newRow("collision, then ocean against ocean") << 5 << 6;
    }
    void leavingMidPreparation()
    {
        QFETCH(int, prima);
        QFETCH(int, dopo);
        TestSupport::CartellaProgramma folder;
        // The two drift sequences share files: they are told apart by the drift's colours.
        const bool deriva = dopo == 3 || dopo == 7;
        const QStringList colori = Sequenze::sequenza(deriva ? 3 : dopo).foto;
        scriviSequenza(Sequenze::sequenza(prima).foto);
        scriviSequenza(colori);
        const QStringList foto = Sequenze::sequenza(dopo).foto;
        QVERIFY(TestSupport::apriMenu());
        Formani* f = mostra(prima);
        for (int i = 0; i < 8; ++i)
            f->cmdmaxvel->click();
        f->Timer1->fire();
        f->Command1->click();
        QVERIFY(!f->anticipoAutomatico().pending().isEmpty());
        f->Cmdtorna->click();  // the helpers are still at work
        QVERIFY(!viewer());
        f = mostra(dopo);
        for (int i = 0; i < 3; ++i) {
            f->Timer1->fire();
            QCOMPARE(f->Image2->fileName(), foto.at(i + 1));
            QCOMPARE(coerente(f->Image2, colori), QString());
        }
        struct Pitture : QObject {
            Formani* f;
            QStringList foto, colori, errori;
            int ultima = 4;
            bool eventFilter(QObject*, QEvent* e) override
            {
                if (e->type() == QEvent::Paint && f->Image2->fileName() != foto.value(ultima - 1)) {
                    const int k = int(foto.indexOf(f->Image2->fileName())) + 1;
                    if (k < ultima || f->Label4->caption() != QString::number(k) || !coerente(f->Image2, colori).isEmpty())
                        errori << QStringLiteral("%1 painted after %2 with %3").arg(k).arg(ultima).arg(f->Label4->caption());
                    ultima = k;
                }
                return false;
            }
        } pitture;
        pitture.f = f;
        pitture.foto = foto;
        pitture.colori = colori;
        f->Image2->installEventFilter(&pitture);
        for (int i = 0; i < 8; ++i)
            f->cmdmaxvel->click();
        ui::Timer::setManual(false);
        f->Timer1->setInterval(f->Timer1->interval());  // the clock starts
        QTRY_VERIFY_WITH_TIMEOUT(f->visore().contanim() > f->visore().numfoto(), 20000);
        ui::Timer::setManual(true);
        QTRY_COMPARE(pitture.ultima, int(foto.size()));
        QCOMPARE(pitture.errori.join(QLatin1String("; ")), QString());
        QCOMPARE(f->Image2->fileName(), foto.last());
        QCOMPARE(coerente(f->Image2, colori), QString());
        QVERIFY(ui::Pictures::ReadAhead::waitForIdle(10000));
        f->Command1->click();
        QCOMPARE(f->Image1->fileName(), foto.first());
    }

    // Every way of preparing gives the whole picture the right way round, at the size asked and in the
    // display's format, edges and transparent parts included.
    void everyWayGivesThePictureAtItsSize_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("way");
        QTest::addColumn<bool>("trasparente");
        using W = ui::Pictures::Way;
        const QList<QPair<const char*, QSize>> sizes{{"half", {321, 249}}, {"nine tenths", {578, 448}},
            {"just under a half", {300, 240}}, {"under a quarter", {150, 110}}, {"larger", {1156, 896}}};
        for (const auto& s : sizes) {
            for (const auto& [nome, w] : {std::pair{"measured", W::Auto}, {"whole", W::Whole}, {"direct", W::Direct},
                                          {"reduced", W::Reduced}})
                QTest::addRow("%s, %s", s.first, nome) << s.second << int(w) << false;
            QTest::addRow("%s, transparent on the left", s.first) << s.second << int(W::Auto) << true;
        }
    }
    void everyWayGivesThePictureAtItsSize()
    {
        QFETCH(QSize, size);
        QFETCH(int, way);
        QFETCH(bool, trasparente);
        TestSupport::CartellaProgramma folder(false);
        QImage image(642, 498, trasparente ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        image.fill(trasparente ? QColor(Qt::transparent) : QColor(Qt::red));
        QPainter(&image).fillRect(321, 0, 321, 498, Qt::blue);
        image.setDotsPerMeterX(7559);
        image.setDotsPerMeterY(7559);
        const QString nome = trasparente ? QStringLiteral("immagini\\prova.png") : QStringLiteral("immagini\\prova.jpg");
        QVERIFY(QImageWriter(ui::Pictures::locate(nome), trasparente ? "png" : "jpeg").write(image));
        ui::Pictures::forgetMeasures();
        const int w = size.width() - 1, h = size.height() - 1;
        for (int volta = 0; volta < 8; ++volta) {  // the measured way tries each way, then keeps one
            const ui::Pictures::Loaded l = ui::Pictures::prepare(nome, ui::Pictures::Target::stretched(size),
                                                                 ui::Pictures::Way(way));
            QCOMPARE(l.error, QString());
            QCOMPARE(l.image.size(), size);
            QCOMPARE(l.image.format(), trasparente ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
            QCOMPARE(l.twips, QSize(4815, 3735));
            for (const QPoint& p : {QPoint(w / 4, h / 2), {0, 0}, {0, h}, {w * 3 / 4, h / 2}, {w, 0}, {w, h}}) {
                const QColor c = l.image.pixelColor(p);
                if (p.x() > w / 2)
                    QVERIFY2(c.blue() > 200 && c.red() < 60 && c.alpha() == 255, qPrintable(c.name()));
                else if (trasparente)
                    QCOMPARE(c.alpha(), 0);
                else
                    QVERIFY2(c.red() > 200 && c.blue() < 60, qPrintable(c.name()));
            }
        }
    }

    // Our JPEG decoder gives Qt's reader's pixels and resolution; what it cannot read (no whole header, no
    // JPEG, a fraction libjpeg lacks) gives nothing, and the course's picture is then read by Qt's reader.
    void jpegReadAsQtReadsIt_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("grigio");
        QTest::addColumn<bool>("progressivo");
        QTest::addColumn<int>("taglio");  // bytes kept of the file; 0: all of it; -1: written as PNG
        QTest::addColumn<int>("frazione");
        for (int d : {1, 2, 4, 8}) {
            QTest::addRow("colour, 1/%d", d) << QSize(640, 496) << false << false << 0 << d;
            QTest::addRow("odd size, 1/%d", d) << QSize(37, 23) << false << false << 0 << d;
        }
        QTest::newRow("grey") << QSize(200, 150) << true << false << 0 << 1;
        QTest::newRow("grey, 1/4") << QSize(200, 150) << true << false << 0 << 4;
        QTest::newRow("progressive") << QSize(300, 200) << false << true << 0 << 1;
        QTest::newRow("cut short") << QSize(300, 200) << false << false << 3000 << 1;
        QTest::newRow("only the start") << QSize(300, 200) << false << false << 100 << 1;
        QTest::newRow("a third") << QSize(300, 200) << false << false << 0 << 3;
        QTest::newRow("a PNG named .jpg") << QSize(30, 20) << false << false << -1 << 1;
    }
    void jpegReadAsQtReadsIt()
    {
        QFETCH(QSize, size);
        QFETCH(bool, grigio);
        QFETCH(bool, progressivo);
        QFETCH(int, taglio);
        QFETCH(int, frazione);
        TestSupport::CartellaProgramma folder(false);
        QImage image(size, QImage::Format_RGB32);
        QRandomGenerator caso(size.width());
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                image.setPixel(x, y, qRgb(x * 255 / size.width(), int(caso.bounded(256)), y * 255 / size.height()));
        if (grigio)
            image = image.convertToFormat(QImage::Format_Grayscale8);
        image.setDotsPerMeterX(7559);
        image.setDotsPerMeterY(3780);
        const QString file = ui::Pictures::locate(QStringLiteral("immagini\\prova.jpg"));
        QImageWriter writer(file, taglio < 0 ? "png" : "jpeg");
        writer.setProgressiveScanWrite(progressivo);
        QVERIFY(writer.write(image));
        if (taglio > 0)
            QVERIFY(QFile(file).resize(taglio));

        const QImage mio = ui::Jpeg::read(file, frazione);
        QImageReader qt(file);
        qt.setScaledSize(QSize((size.width() + frazione - 1) / frazione, (size.height() + frazione - 1) / frazione));
        const QImage loro = qt.read().convertToFormat(QImage::Format_RGB32);
        if (taglio == 100 || taglio < 0 || frazione == 3) {
            QVERIFY(mio.isNull());
            if (taglio < 0)
                QCOMPARE(ui::Pictures::prepare(QStringLiteral("immagini\\prova.jpg"), {}).image.size(), size);
            return;
        }
        QVERIFY(!loro.isNull());
        QCOMPARE(mio.format(), QImage::Format_RGB32);
        QCOMPARE(mio.size(), loro.size());
        // Asked for a size that is no exact fraction, Qt's reader decodes a larger one and averages it down.
        if (size.width() % frazione == 0 && size.height() % frazione == 0)
            QVERIFY(mio == loro);
        QCOMPARE(QSize(mio.dotsPerMeterX(), mio.dotsPerMeterY()), QSize(loro.dotsPerMeterX(), loro.dotsPerMeterY()));
        for (int y = 0; y < mio.height(); ++y)  // the unused byte of each pixel is full, as Qt's
            for (int x = 0; x < mio.width(); ++x)
                QCOMPARE(reinterpret_cast<const QRgb*>(mio.constScanLine(y))[x] >> 24, 0xffu);  // pixel() would set it
    }

    // Down to half or enlarged: within 1.5 levels of the exact interpolation (a flat picture exactly), the
    // same pixels with every instruction set, and transparent pictures validly premultiplied.
    void interpolationAsThePainterDoes_data()
    {
        QTest::addColumn<QSize>("from");
        QTest::addColumn<QSize>("to");
        QTest::addColumn<bool>("trasparente");
        QTest::newRow("nine tenths") << QSize(642, 498) << QSize(578, 448) << false;
        QTest::newRow("half") << QSize(642, 498) << QSize(321, 249) << false;
        QTest::newRow("1.8 times") << QSize(642, 498) << QSize(1155, 897) << false;
        QTest::newRow("3.1 times, odd sizes") << QSize(97, 61) << QSize(301, 190) << false;
        QTest::newRow("odd widths both") << QSize(641, 3) << QSize(999, 5) << false;
        QTest::newRow("one pixel wide") << QSize(1, 50) << QSize(3, 80) << false;
        QTest::newRow("one pixel") << QSize(1, 1) << QSize(5, 5) << false;
        QTest::newRow("two by two") << QSize(2, 2) << QSize(7, 7) << false;
        QTest::newRow("transparent, enlarged") << QSize(200, 150) << QSize(333, 251) << true;
        QTest::newRow("transparent, smaller") << QSize(200, 150) << QSize(117, 90) << true;
    }
    void interpolationAsThePainterDoes()
    {
        QFETCH(QSize, from);
        QFETCH(QSize, to);
        QFETCH(bool, trasparente);
        const QImage::Format format = trasparente ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
        QImage rumore(from, format);
        QRandomGenerator caso(from.width() * 7919 + to.width());
        for (int y = 0; y < from.height(); ++y)
            for (int x = 0; x < from.width(); ++x) {
                const int a = trasparente ? int(caso.bounded(256)) : 255;
                rumore.setPixel(x, y, qRgba(int(caso.bounded(a + 1)), int(caso.bounded(a + 1)), int(caso.bounded(a + 1)), a));
            }
        QImage piatto(from, format);
        piatto.fill(trasparente ? qRgba(30, 60, 90, 128) : qRgb(200, 17, 90));

        for (const auto& [sorgente, tolleranza] : {std::pair{rumore, 1.5}, {piatto, 0.5}}) {
            const QImage mio = ui::interpolated(sorgente, to);
            QCOMPARE(mio.size(), to);
            QCOMPARE(mio.format(), format);
            QVERIFY(!ui::interpolatedWith(sorgente, to, ui::Instructions::Plain).isNull());
            for (const auto istruzioni : {ui::Instructions::Plain, ui::Instructions::Sse2, ui::Instructions::Avx2}) {
                const QImage con = ui::interpolatedWith(sorgente, to, istruzioni);
                QVERIFY(con.isNull() || con == mio);
            }
            // Interpolated exactly: pixel centres on pixel centres, the edges held, as Qt's painter does.
            auto dove = [](int d, int da, int a) {
                const double f = std::clamp((d + 0.5) * da / a - 0.5, 0.0, double(da - 1));
                return std::pair<int, double>(int(f), f - int(f));
            };
            for (int y = 0; y < to.height(); ++y)
                for (int x = 0; x < to.width(); ++x) {
                    const auto [x0, fx] = dove(x, from.width(), to.width());
                    const auto [y0, fy] = dove(y, from.height(), to.height());
                    const int x1 = std::min(x0 + 1, from.width() - 1), y1 = std::min(y0 + 1, from.height() - 1);
                    const QRgb m = mio.pixel(x, y);
                    for (int canale = 0; canale < 4; ++canale) {
                        auto c = [&](int px, int py) { return double((sorgente.pixel(px, py) >> (8 * canale)) & 0xff); };
                        const double esatto = (c(x0, y0) * (1 - fx) + c(x1, y0) * fx) * (1 - fy) + (c(x0, y1) * (1 - fx) + c(x1, y1) * fx) * fy;
                        QVERIFY(std::abs(int((m >> (8 * canale)) & 0xff) - esatto) <= tolleranza);
                    }
                    if (trasparente)
                        QVERIFY(qRed(m) <= qAlpha(m) && qGreen(m) <= qAlpha(m) && qBlue(m) <= qAlpha(m));
                }
        }
    }

    // Made smaller than half, one-pixel stripes come out as tones of grey, never a stripe hit or missed whole.
    void thinLinesSurviveAStrongReduction_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("just under a half") << QSize(289, 224);
        QTest::newRow("a third") << QSize(214, 166);
        QTest::newRow("a fifth") << QSize(128, 100);
    }
    void thinLinesSurviveAStrongReduction()
    {
        QFETCH(QSize, size);
        TestSupport::CartellaProgramma folder(false);
        QImage image(642, 498, QImage::Format_RGB32);
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                image.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        QVERIFY(image.save(ui::Pictures::locate(QStringLiteral("immagini\\righe.png"))));
        const ui::Pictures::Loaded l = ui::Pictures::prepare(QStringLiteral("immagini\\righe.png"),
                                                             ui::Pictures::Target::stretched(size));
        QCOMPARE(l.image.size(), size);
        int chiaro = 0, scuro = 255;
        for (int x = 1; x < size.width() - 1; ++x) {
            chiaro = std::max(chiaro, qGray(l.image.pixel(x, size.height() / 2)));
            scuro = std::min(scuro, qGray(l.image.pixel(x, size.height() / 2)));
        }
        // Each pixel covers two or more stripes: none is as dark or as light as a stripe alone.
        QVERIFY2(scuro > 60 && chiaro < 195, qPrintable(QStringLiteral("tones from %1 to %2").arg(scuro).arg(chiaro)));
    }

    // From a lesson page to the viewer and back: same page, no animation button, a fresh viewer next time.
    void fromTheLessonAndBack()
    {
        TestSupport::CartellaProgramma folder;
        QVERIFY(TestSupport::apriMenu());
        auto* menu = qobject_cast<Fscelt*>(ui::Screens::instance().find(QStringLiteral("Fscelt")));
        menu->Command1[1]->click();
        auto* lesson = qobject_cast<Forarg*>(ui::Screens::instance().front());
        for (int i = 1; i < 5; ++i)
            lesson->cmdAVANTI->click();
        QCOMPARE(int(TestSupport::sessione().numanimazione), 2);
        lesson->cmdanimazione->click();
        QCOMPARE(ui::Screens::instance().front(), viewer());
        QVERIFY(!ui::Screens::instance().isVisible(QStringLiteral("forarg2")));
        QVERIFY(ui::Screens::instance().isLoaded(QStringLiteral("forarg2")));
        QCOMPARE(viewer()->visore().numanimazione(), 2);
        viewer()->cmdmaxvel->click();
        viewer()->Cmdtorna->click();
        QCOMPARE(ui::Screens::instance().front(), lesson);
        QVERIFY(!ui::Screens::instance().isLoaded(QStringLiteral("Formani")));
        QCOMPARE(lesson->numpagina(), 5);
        QVERIFY(lesson->cmdanimazione->isHidden());
        lesson->cmdAVANTI->click();
        lesson->Cmdindietro->click();
        lesson->cmdanimazione->click();
        QCOMPARE(viewer()->Timer1->interval(), 701);
        QCOMPARE(viewer()->Labvel->caption(), QStringLiteral("11"));
    }
};

QTEST_MAIN(TestVisore)
#include "TestVisore.moc"
