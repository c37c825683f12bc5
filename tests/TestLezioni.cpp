#include "TestSupport.h"
#include "TestiCitati.h"

#include "app/Fscelt.h"
#include "app/Sessione.h"
#include "lessons/Argomento.h"
#include "lessons/Forarg.h"
#include "lessons/MotorePagine.h"
#include "ui/MessageBox.h"
#include "ui/Screens.h"

#include <QFontMetrics>
#include <QTest>

#include <algorithm>
#include <optional>

namespace {
const Argomento& argomento(int n)
{
    const Argomento* a = Argomenti::argomento(n);
    if (!a)
        qFatal("lesson data: %s", qPrintable(Argomenti::errore()));
    return *a;
}

void vaiA(MotorePagine& m, int pagina)
{
    while (m.vista().numpagina < pagina)
        m.avanti();
    while (m.vista().numpagina > pagina)
        m.indietro();
}

QString blank(const QString& text)
{
    return text.trimmed();
}

Forarg* lezione()
{
    return qobject_cast<Forarg*>(ui::Screens::instance().front());
}

Fscelt* menu()
{
    return qobject_cast<Fscelt*>(ui::Screens::instance().find(QStringLiteral("Fscelt")));
}

// The text must fit the panel it is shown in, as the pupil sees it: the panel's font at design size,
// word wrapped inside the panel less its one-pixel box and its margin.
// When a button stands on the panel (topic 2 shows GUARDO L'ANIMAZIONE inside it), the text must end
// above the button, or its last lines hide under it.
bool entra(const QString& text, const QRect& panelTwips, QString* why, std::optional<QRect> bottone = {})
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(16);
    const QFontMetrics fm(font);
    const int w = panelTwips.width() / 15 - 10;
    int h = panelTwips.height() / 15 - 10;
    if (bottone && bottone->intersects(panelTwips.adjusted(75, 75, -75, -75)))  // the text area, 5 px in
        h = std::min(h, (bottone->top() - panelTwips.top()) / 15 - 5);
    QString shown = text;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QRect needed = fm.boundingRect(QRect(0, 0, w, 100000), Qt::TextWordWrap, shown);
    *why = QStringLiteral("needs %1 px of %2").arg(needed.height()).arg(h);
    return needed.height() <= h && needed.width() <= w;
}
}  // namespace

class TestLezioni : public QObject {
    Q_OBJECT
private slots:
    void init() { TestSupport::prepara(); }
    void cleanup() { TestSupport::chiudiTutto(); }

    void allTopicsLoad()
    {
        QVERIFY2(Argomenti::errore().isEmpty(), qPrintable(Argomenti::errore()));
        for (int n = 1; n <= 6; ++n)
            QVERIFY(Argomenti::argomento(n));
    }

    void brokenDataIsRefused_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("errore");
        QTest::newRow("not JSON") << QByteArray("{ nope") << "carattere";
        QTest::newRow("page count") << QByteArray(R"({"argomento":1,"schermo":"forarg1","caption":"c","ultimaPagina":2,
            "sfondoTesto":[1,2,3],"captionUscita":"Esco","progetto":{"Labeltit":[1,1,1,1],"Image1":[1,1,1,1],"Label1":[1,1,1,1],
            "Image2":[1,1,1,1],"rigaPulsanti":{"top":6000,"altezza":495}},"titoli":{},"testi":{},"finestrelle":{},
            "pagine":[{"n":1,"titolo":1,"immagine":"a.jpg","descrizioneImmagine":"d","posizioneImmagine":null,"pannello":null,"finestrelle":{},"animazione":null}]})")
                                    << "pagine: 1 pagine invece di 2";
        QTest::newRow("animation without button") << QByteArray(R"({"argomento":1,"schermo":"forarg1","caption":"c","ultimaPagina":1,
            "sfondoTesto":[1,2,3],"captionUscita":"Esco","progetto":{"Labeltit":[1,1,1,1],"Image1":[1,1,1,1],"Label1":[1,1,1,1],
            "Image2":[1,1,1,1],"rigaPulsanti":{"top":6000,"altezza":495}},"titoli":{},"testi":{},"finestrelle":{},
            "pagine":[{"n":1,"titolo":1,"immagine":"a.jpg","descrizioneImmagine":"d","posizioneImmagine":null,"pannello":null,"finestrelle":{},"animazione":3}]})")
                                                  << "pagina 1: un'animazione";
        QTest::newRow("text entry out of range") << QByteArray(R"({"argomento":1,"schermo":"forarg1","caption":"c","ultimaPagina":1,
            "sfondoTesto":[1,2,3],"captionUscita":"Esco","progetto":{"Labeltit":[1,1,1,1],"Image1":[1,1,1,1],"Label1":[1,1,1,1],
            "Image2":[1,1,1,1],"rigaPulsanti":{"top":6000,"altezza":495}},"titoli":{},"testi":{"51":["x"]},"finestrelle":{},
            "pagine":[{"n":1,"titolo":1,"immagine":"a.jpg","descrizioneImmagine":"d","posizioneImmagine":null,"pannello":null,"finestrelle":{},"animazione":null}]})")
                                         << "testi: voce \"51\"";
        QTest::newRow("blank picture description") << QByteArray(R"({"argomento":1,"schermo":"forarg1","caption":"c","ultimaPagina":1,
            "sfondoTesto":[1,2,3],"captionUscita":"Esco","progetto":{"Labeltit":[1,1,1,1],"Image1":[1,1,1,1],"Label1":[1,1,1,1],
            "Image2":[1,1,1,1],"rigaPulsanti":{"top":6000,"altezza":495}},"titoli":{},"testi":{},"finestrelle":{},
            "pagine":[{"n":1,"titolo":1,"immagine":"a.jpg","descrizioneImmagine":"  ","posizioneImmagine":null,"pannello":null,"finestrelle":{},"animazione":null}]})")
                                         << "pagina 1: manca la descrizione dell'immagine";
        QTest::newRow("no picture description") << QByteArray(R"({"argomento":1,"schermo":"forarg1","caption":"c","ultimaPagina":1,
            "sfondoTesto":[1,2,3],"captionUscita":"Esco","progetto":{"Labeltit":[1,1,1,1],"Image1":[1,1,1,1],"Label1":[1,1,1,1],
            "Image2":[1,1,1,1],"rigaPulsanti":{"top":6000,"altezza":495}},"titoli":{},"testi":{},"finestrelle":{},
            "pagine":[{"n":1,"titolo":1,"immagine":"a.jpg","posizioneImmagine":null,"pannello":null,"finestrelle":{},"animazione":null}]})")
                                         << "pagina 1, descrizioneImmagine";
        // The same file in other letters shares the description; another picture needs its own.
        QTest::newRow("another backward picture undescribed") << QByteArray(R"({"argomento":1,"schermo":"forarg1","caption":"c","ultimaPagina":1,
            "sfondoTesto":[1,2,3],"captionUscita":"Esco","progetto":{"Labeltit":[1,1,1,1],"Image1":[1,1,1,1],"Label1":[1,1,1,1],
            "Image2":[1,1,1,1],"rigaPulsanti":{"top":6000,"altezza":495}},"titoli":{},"testi":{},"finestrelle":{},
            "pagine":[{"n":1,"titolo":1,"immagine":"a.jpg","immagineIndietro":"b.jpg","descrizioneImmagine":"d","posizioneImmagine":null,"pannello":null,"finestrelle":{},"animazione":null}]})")
                                         << "pagina 1: manca la descrizione dell'immagine mostrata tornando indietro";
    }
    void brokenDataIsRefused()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, errore);
        Argomento a;
        QString error;
        QVERIFY(!Argomento::daJson(json, &a, &error));
        QVERIFY2(error.startsWith(errore), qPrintable(error));
    }

    // Topic 1's introduction builds up page by page; going back shows a page's own line only.
    void appendPagesForwardAndBack()
    {
        const Argomento& a = argomento(1);
        MotorePagine m(a);
        for (int i = 0; i < 6; ++i)
            m.avanti();
        QStringList seven;
        for (int p = 1; p <= 7; ++p)
            seven << a.testi[p];
        QCOMPARE(m.vista().testo, seven.join(QLatin1Char('\r')));
        m.indietro();
        m.indietro();
        QCOMPARE(m.vista().numpagina, 5);
        QCOMPARE(m.vista().testo, a.testi[5]);
        m.avanti();
        QCOMPARE(m.vista().testo, a.testi[5] + QLatin1Char('\r') + a.testi[6]);
        vaiA(m, 8);
        QCOMPARE(m.vista().testo, a.testi[8]);
        QVERIFY(a.testi[9].startsWith(QLatin1Char('\r')));  // page 9 opens with an empty line
    }

    void backButtonOnFirstPage_data()
    {
        QTest::addColumn<int>("n");
        for (int n = 1; n <= 6; ++n)
            QTest::addRow("topic %d", n) << n;
    }
    void backButtonOnFirstPage()
    {
        QFETCH(int, n);
        MotorePagine m(argomento(n));
        QVERIFY(!m.vista().indietroAbilitato);
        QVERIFY(!m.vista().rivediAbilitato);
        QVERIFY(m.vista().avantiAbilitato);
        m.avanti();
        m.indietro();
        QCOMPARE(m.vista().numpagina, 1);
        QVERIFY(m.vista().indietroAbilitato);  // reached by going back: still enabled
        QVERIFY(m.vista().rivediAbilitato);
        const QString text = m.vista().testo;
        m.indietro();
        QCOMPARE(m.vista().numpagina, 1);
        QVERIFY(!m.vista().indietroAbilitato);
        QCOMPARE(m.vista().testo, text);
    }

    void lastPageDisablesForward_data() { backButtonOnFirstPage_data(); }
    void lastPageDisablesForward()
    {
        QFETCH(int, n);
        const Argomento& a = argomento(n);
        MotorePagine m(a);
        vaiA(m, a.ultimaPagina - 1);
        QVERIFY(m.vista().avantiAbilitato);
        m.avanti();
        QCOMPARE(m.vista().numpagina, a.ultimaPagina);
        QVERIFY(!m.vista().avantiAbilitato);
        m.avanti();  // a press that cannot happen changes nothing
        QCOMPARE(m.vista().numpagina, a.ultimaPagina);
        m.indietro();
        QVERIFY(m.vista().avantiAbilitato);
    }

    // The hotspot page, reached either way: title hidden (or the topic's literal), hotspots shown,
    // panel blank, each click fills it; leaving hides them again.
    void hotspotPageBothWays_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<bool>("daDietro");
        QTest::addColumn<QString>("titolo");  // empty: strip hidden
        QTest::addColumn<int>("quante");
        for (bool back : {false, true}) {
            const char* way = back ? "backward" : "forward";
            QTest::addRow("topic 1 %s", way) << 1 << back << QString() << 5;
            QTest::addRow("topic 2 %s", way) << 2 << back << QString() << 5;
            QTest::addRow("topic 3 %s", way) << 3 << back << QStringLiteral("CLICCA ALL'INTERNO DELLE FINESTRELLE") << 5;
            QTest::addRow("topic 4 %s", way) << 4 << back << QString() << 5;
            QTest::addRow("topic 5 %s", way) << 5 << back << QString() << 7;
        }
    }
    void hotspotPageBothWays()
    {
        QFETCH(int, n);
        QFETCH(bool, daDietro);
        QFETCH(QString, titolo);
        QFETCH(int, quante);
        const Argomento& a = argomento(n);
        QCOMPARE(a.paginaFinestrelle, a.ultimaPagina - 1);
        MotorePagine m(a);
        vaiA(m, daDietro ? a.ultimaPagina : a.paginaFinestrelle - 1);
        if (daDietro)
            m.indietro();
        else
            m.avanti();
        const MotorePagine::Vista& v = m.vista();
        QCOMPARE(v.numpagina, a.paginaFinestrelle);
        QCOMPARE(v.titoloVisibile, !titolo.isEmpty());
        if (!titolo.isEmpty())
            QCOMPARE(v.titolo, titolo);
        QCOMPARE(int(v.finestrelle.size()), quante);
        QCOMPARE(blank(v.testo), QString());
        for (auto it = a.finestrelle.cbegin(); it != a.finestrelle.cend(); ++it) {
            m.clicFinestrella(it.key());
            QCOMPARE(m.vista().testo, it->testo);
            QVERIFY(!it->testo.trimmed().isEmpty());
        }
        if (daDietro)
            m.indietro();
        else
            m.avanti();
        QVERIFY(m.vista().finestrelle.isEmpty());
        // The last page of topic 5 keeps the map and the strip hidden.
        QCOMPARE(m.vista().titoloVisibile, !(n == 5 && !daDietro));
    }

    // The panel's rectangle: "unchanged" pages keep the last one, some pages have their own backward.
    // The panel and the animation button follow the page's own data: a page without a panel keeps the
    // one before it, a page reached backward takes its backward panel when it has one, and the button
    // shows the page's animation, whichever way the page is reached.
    void panelAndAnimationFollowThePage_data()
    {
        QTest::addColumn<QList<int>>("percorso");  // pages visited in order, starting from 1
        QTest::addColumn<QRect>("pannello");
        QTest::addColumn<int>("animazione");  // 0: button hidden
        const QRect a(100, 100, 1000, 1000), b(200, 200, 2000, 2000), c(300, 300, 3000, 3000), d(400, 400, 4000, 4000);
        QTest::newRow("page 1") << QList<int>{1} << a << 0;
        QTest::newRow("no panel keeps page 1's") << QList<int>{2} << a << 3;
        QTest::newRow("forward takes the panel") << QList<int>{3} << b << 0;
        QTest::newRow("last page") << QList<int>{4} << d << 5;
        QTest::newRow("backward takes the backward panel") << QList<int>{4, 3} << c << 0;
        QTest::newRow("no panel keeps the backward one") << QList<int>{4, 2} << c << 3;
        QTest::newRow("back to page 1") << QList<int>{4, 1} << a << 0;
    }
    void panelAndAnimationFollowThePage()
    {
        QFETCH(QList<int>, percorso);
        QFETCH(QRect, pannello);
        QFETCH(int, animazione);
        const QByteArray json = R"({"argomento":1,"schermo":"forarg1","caption":"c","ultimaPagina":4,
            "sfondoTesto":[1,2,3],"captionUscita":"Esco","progetto":{"Labeltit":[1,1,1,1],"Image1":[1,1,1,1],
            "Label1":[100,100,1000,1000],"Image2":[1,1,1,1],"cmdanimazione":[1,1,1,1],"rigaPulsanti":{"top":6000,"altezza":495}},
            "titoli":{},"testi":{},"finestrelle":{},"pagine":[
            {"n":1,"titolo":1,"immagine":"a.jpg","descrizioneImmagine":"d","posizioneImmagine":null,"pannello":[100,100,1000,1000],"finestrelle":{},"animazione":null},
            {"n":2,"titolo":1,"immagine":"a.jpg","descrizioneImmagine":"d","posizioneImmagine":null,"pannello":null,"finestrelle":{},"animazione":3},
            {"n":3,"titolo":1,"immagine":"a.jpg","descrizioneImmagine":"d","posizioneImmagine":null,"pannello":[200,200,2000,2000],
             "pannelloIndietro":[300,300,3000,3000],"finestrelle":{},"animazione":null},
            {"n":4,"titolo":1,"immagine":"a.jpg","descrizioneImmagine":"d","posizioneImmagine":null,"pannello":[400,400,4000,4000],"finestrelle":{},"animazione":5}]})";
        Argomento a;
        QString error;
        QVERIFY2(Argomento::daJson(json, &a, &error), qPrintable(error));
        MotorePagine m(a);
        for (int p : percorso)
            vaiA(m, p);
        QCOMPARE(m.vista().pannello, pannello);
        QCOMPARE(m.vista().animazioneVisibile, animazione > 0);
        if (animazione)
            QCOMPARE(m.vista().animazione, animazione);
    }

    void backwardPicture_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("avanti");
        QTest::addColumn<QString>("indietro");
        QTest::newRow("topic 3") << 3 << "immagini\\altre\\PLACCHE2.jpg" << "immagini\\altre\\placche2.jpg";
        QTest::newRow("topic 6") << 6 << "immagini\\altre\\prima.jpg" << "immagini\\altre\\Prima.jpg";
    }
    void backwardPicture()
    {
        QFETCH(int, n);
        QFETCH(QString, avanti);
        QFETCH(QString, indietro);
        MotorePagine m(argomento(n));
        QCOMPARE(m.vista().immagine, avanti);
        m.avanti();
        m.indietro();
        QCOMPARE(m.vista().immagine, indietro);
    }

    // A pupil who cannot see the picture hears what it shows: every page of every topic, forward and back,
    // names its picture with the sentence the page data gives, and two different pictures never share one
    // (a sentence copied onto the wrong picture).
    void everyPictureIsDescribed_data()
    {
        QTest::addColumn<int>("n");
        for (int n = 1; n <= 6; ++n)
            QTest::addRow("topic %d", n) << n;
    }
    void everyPictureIsDescribed()
    {
        QFETCH(int, n);
        TestSupport::CartellaProgramma folder;
        QVERIFY(TestSupport::apriMenu());
        menu()->Command1[n - 1]->click();
        Forarg* f = lezione();
        QVERIFY(f);
        const Argomento& a = argomento(n);
        QHash<QString, QString> immagineDi;  // description -> picture, letters folded
        auto controlla = [&](int p) {
            const QString detto = f->Image1->accessibleName();
            if (detto.trimmed().isEmpty())
                return QStringLiteral("page %1: no description").arg(p);
            if (detto != a.pagina(p).descrizioneImmagine)
                return QStringLiteral("page %1: \"%2\" is not the page's description").arg(p).arg(detto);
            const QString file = f->Image1->fileName().toLower();
            const QString altro = immagineDi.value(detto, file);
            if (altro != file)
                return QStringLiteral("page %1: %2 and %3 share \"%4\"").arg(p).arg(file, altro, detto);
            immagineDi.insert(detto, file);
            return QString();
        };
        for (int p = 1;; ++p) {
            const QString errore = controlla(p);
            QVERIFY2(errore.isEmpty(), qPrintable(errore));
            if (p == a.ultimaPagina)
                break;
            f->cmdAVANTI->click();
        }
        for (int p = a.ultimaPagina - 1; p >= 1; --p) {
            f->Cmdindietro->click();
            const QString errore = controlla(p);
            QVERIFY2(errore.isEmpty(), qPrintable(errore));
        }
    }

    // --- the screens ---

    void freshLessonFromTheMenu_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<bool>("animazione");
        for (int n = 1; n <= 6; ++n)
            QTest::addRow("topic %d", n) << n << (n == 4);
    }
    void freshLessonFromTheMenu()
    {
        QFETCH(int, n);
        QFETCH(bool, animazione);
        TestSupport::CartellaProgramma folder;
        QVERIFY(TestSupport::apriMenu());
        TestSupport::sessione().numanimazione = 0;
        menu()->Command1[n - 1]->click();
        Forarg* f = lezione();
        QVERIFY(f);
        QCOMPARE(f->name(), QStringLiteral("forarg%1").arg(n));
        QCOMPARE(f->window()->windowTitle(), argomento(n).caption);
        QVERIFY(!ui::Screens::instance().isVisible(QStringLiteral("Fscelt")));
        QCOMPARE(f->numpagina(), 1);
        QVERIFY(f->cmdAVANTI->isEnabled());
        QVERIFY(!f->Cmdindietro->isEnabled());
        QVERIFY(!f->Cmdrivedi->isEnabled());
        QCOMPARE(f->Labeltit->caption(), argomento(n).titoli[1]);
        QCOMPARE(f->Label1->caption(), argomento(n).testi[1]);
        QCOMPARE(f->cmdanimazione != nullptr, n != 6);
        if (f->cmdanimazione)
            QCOMPARE(f->cmdanimazione->isVisible(), animazione);
        QCOMPARE(int(TestSupport::sessione().numanimazione), animazione ? 2 : 0);
        QCOMPARE(f->cmduscita->caption(), n == 1 ? QStringLiteral("Esco") : QStringLiteral("Esco "));
        for (ui::Label* l : std::as_const(f->finestrelle))
            QVERIFY(!l->isVisible());
        QCOMPARE(f->finestrelle.isEmpty(), n == 6);
    }

    // Topic 1 page 12: the animation button; pressed, it hides itself until a page offers it again.
    void animationButtonAndNumanimazione()
    {
        TestSupport::CartellaProgramma folder;
        QVERIFY(TestSupport::apriMenu());
        menu()->Command1[0]->click();
        Forarg* f = lezione();
        for (int i = 1; i < 12; ++i)
            f->cmdAVANTI->click();
        QVERIFY(f->cmdanimazione->isVisible());
        QCOMPARE(int(TestSupport::sessione().numanimazione), 1);
        f->cmdanimazione->click();
        QVERIFY(f->cmdanimazione->isHidden());
        QCOMPARE(ui::Screens::instance().front()->name(), QStringLiteral("Formani"));
        ui::Screens::instance().front()->findChild<ui::Button*>(QStringLiteral("Cmdtorna"))->click();
        QCOMPARE(lezione(), f);
        QCOMPARE(f->numpagina(), 12);
        QVERIFY(f->cmdanimazione->isHidden());
        f->cmdAVANTI->click();
        QVERIFY(f->cmdanimazione->isHidden());
        f->Cmdindietro->click();
        QVERIFY(f->cmdanimazione->isVisible());
        QCOMPARE(int(TestSupport::sessione().numanimazione), 1);
    }

    void hotspotClickedWithMouseAndKeyboard()
    {
        TestSupport::CartellaProgramma folder;
        QVERIFY(TestSupport::apriMenu());
        menu()->Command1[2]->click();
        Forarg* f = lezione();
        for (int i = 1; i < 7; ++i)
            f->cmdAVANTI->click();
        ui::Label* nazca = f->finestrelle.value(QStringLiteral("Label3"));
        QVERIFY(nazca->isVisible());
        QCOMPARE(nazca->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseClick(nazca, Qt::LeftButton);
        QCOMPARE(f->Label1->caption(), argomento(3).finestrelle.value(QStringLiteral("Label3")).testo);
        ui::Label* dorsale = f->finestrelle.value(QStringLiteral("Label5"));
        dorsale->setFocus();
        QTest::keyClick(dorsale, Qt::Key_Return);
        QCOMPARE(f->Label1->caption(), argomento(3).finestrelle.value(QStringLiteral("Label5")).testo);
    }

    // Restart, the menu and the questionnaire close the lesson: the next opening starts at page 1.
    void closingStartsAgainAtPageOne_data()
    {
        QTest::addColumn<QString>("pulsante");
        QTest::newRow("Ricomincio") << "Cmdrivedi";
        QTest::newRow("Menù") << "cmdscegli";
    }
    void closingStartsAgainAtPageOne()
    {
        QFETCH(QString, pulsante);
        TestSupport::CartellaProgramma folder;
        QVERIFY(TestSupport::apriMenu());
        menu()->Command1[1]->click();
        Forarg* f = lezione();
        f->cmdAVANTI->click();
        f->cmdAVANTI->click();
        f->control<ui::Button>(pulsante)->click();
        if (pulsante == QLatin1String("cmdscegli")) {
            QCOMPARE(ui::Screens::instance().front(), menu());
            QVERIFY(!ui::Screens::instance().isLoaded(QStringLiteral("forarg2")));
            menu()->Command1[1]->click();
        }
        Forarg* again = lezione();
        QVERIFY(again && again != f);
        QCOMPARE(again->numpagina(), 1);
        QVERIFY(!again->Cmdindietro->isEnabled());
        QVERIFY(!again->Cmdrivedi->isEnabled());
        QVERIFY(again->cmdAVANTI->isEnabled());
    }

    void refusedExitKeepsThePage()
    {
        TestSupport::CartellaProgramma folder;
        QVERIFY(TestSupport::apriMenu());
        menu()->Command1[4]->click();
        Forarg* f = lezione();
        f->cmdAVANTI->click();
        ui::MessageBox::setNextAnswer(ui::MessageBox::AnswerCancel);
        f->cmduscita->click();
        QCOMPARE(TestSupport::fineRichiesta(), 0);
        QCOMPARE(lezione(), f);
        QCOMPARE(f->numpagina(), 2);
    }

    // --- the content ---

    void quotedTextsAreIntact_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("dove");
        QTest::addColumn<int>("voce");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<bool>("esatto");
        for (const TestoCitato& t : kTestiCitati)
            QTest::addRow("topic %d %s %d", t.argomento, t.dove, t.voce)
                << t.argomento << QString::fromLatin1(t.dove) << t.voce << QString::fromUtf8(t.testo) << t.esatto;
    }
    void quotedTextsAreIntact()
    {
        QFETCH(int, n);
        QFETCH(QString, dove);
        QFETCH(int, voce);
        QFETCH(QString, testo);
        QFETCH(bool, esatto);
        const Argomento& a = argomento(n);
        const QString actual = dove == QLatin1String("testo") ? a.testi[voce]
                                                              : a.finestrelle.value(QStringLiteral("Label%1").arg(voce)).testo;
        if (esatto) {
            QCOMPARE(actual, testo);
        } else {
            QVERIFY2(actual.startsWith(testo), qPrintable(actual.left(testo.size() + 20)));
            QVERIFY2(actual.size() > testo.size() + 40, "the opening is continued");
        }
    }

    // Every page's text fits the panel it is shown in, walking forward to the end and back again; the
    // hotspot texts fit the hotspot page's panel.
    void textsFitTheirPanels_data() { backButtonOnFirstPage_data(); }
    void textsFitTheirPanels()
    {
        QFETCH(int, n);
        const Argomento& a = argomento(n);
        MotorePagine m(a);
        QString why;
        auto check = [&](const QString& where) {
            const auto bottone = m.vista().animazioneVisibile ? a.progettoAnimazione : std::nullopt;
            QVERIFY2(entra(m.vista().testo, m.vista().pannello, &why, bottone), qPrintable(where + QStringLiteral(": ") + why));
        };
        check(QStringLiteral("page 1"));
        for (int p = 2; p <= a.ultimaPagina; ++p) {
            m.avanti();
            check(QStringLiteral("page %1 forward").arg(p));
            for (auto it = m.vista().finestrelle.cbegin(); it != m.vista().finestrelle.cend(); ++it) {
                m.clicFinestrella(it.key());
                check(QStringLiteral("hotspot %1").arg(it.key()));
            }
        }
        for (int p = a.ultimaPagina - 1; p >= 1; --p) {
            m.indietro();
            check(QStringLiteral("page %1 backward").arg(p));
        }
    }

    // Titles used exist; hotspots and panels lie inside the design area; the button row is free.
    void layoutIsConsistent_data() { backButtonOnFirstPage_data(); }
    void layoutIsConsistent()
    {
        QFETCH(int, n);
        const Argomento& a = argomento(n);
        const QRect area(0, 0, 12000, 9000);
        const QRect row = a.rigaPulsanti();
        QVERIFY(row.width() >= 6 * 1000);
        for (const Pagina& p : a.pagine) {
            if (p.tipoTitolo == Pagina::Titolo::Voce)
                QVERIFY2(!a.titoli[p.voceTitolo].trimmed().isEmpty(), qPrintable(QStringLiteral("page %1").arg(p.numero)));
            for (const auto& r : {p.pannello, p.pannelloIndietro})
                if (r) {
                    QVERIFY(area.contains(*r));
                    QVERIFY2(!r->intersects(row), qPrintable(QStringLiteral("page %1 panel on the buttons").arg(p.numero)));
                }
            for (auto it = p.finestrelle.cbegin(); it != p.finestrelle.cend(); ++it)
                QVERIFY(area.contains(QRect(*it, a.finestrelle.value(it.key()).progetto.size())));
        }
        QCOMPARE(a.mappa.has_value(), n == 5);
    }
};

QTEST_MAIN(TestLezioni)
#include "TestLezioni.moc"
