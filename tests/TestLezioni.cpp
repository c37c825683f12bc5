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

// The least a topic's data holds, with `pagine` as its pages.
QByteArray datiArgomento(int ultima, const QByteArray& pagine, const QByteArray& testi = "{}", bool pulsante = true)
{
    return R"({"argomento":1,"schermo":"forarg1","caption":"c","ultimaPagina":)" + QByteArray::number(ultima) +
           R"(,"sfondoTesto":[1,2,3],"captionUscita":"Esco","progetto":{"Labeltit":[1,1,1,1],"Image1":[1,1,1,1],)"
           R"("Label1":[100,100,1000,1000],"Image2":[1,1,1,1],)" +
           (pulsante ? R"("cmdanimazione":[1,1,1,1],)" : "") + R"("rigaPulsanti":{"top":6000,"altezza":495}},)"
           R"("titoli":{},"testi":)" + testi + R"(,"finestrelle":{},"pagine":[)" + pagine + "]}";
}

QByteArray pagina(int n, const QByteArray& campi = R"("descrizioneImmagine":"d","pannello":null,"animazione":null)")
{
    return R"({"n":)" + QByteArray::number(n) +
           R"(,"titolo":1,"immagine":"a.jpg","posizioneImmagine":null,"finestrelle":{},)" + campi + "}";
}

void unaRigaPerArgomento()
{
    QTest::addColumn<int>("n");
    for (int n = 1; n <= 6; ++n)
        QTest::addRow("topic %d", n) << n;
}

Forarg* lezione()
{
    return qobject_cast<Forarg*>(ui::Screens::instance().front());
}

using TestSupport::menu;

// Topic `n`'s lesson opened from the main menu.
Forarg* apriLezione(int n)
{
    if (!TestSupport::apriMenu())
        return nullptr;
    menu()->Command1[n - 1]->click();
    return lezione();
}

// The text fits the panel as the pupil sees it (design font, word wrap, less box and margin), and ends
// above a button standing on the panel (topic 2's GUARDO L'ANIMAZIONE).
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

    void brokenDataIsRefused_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("errore");
        QTest::newRow("not JSON") << QByteArray("{ nope") << "carattere";
        QTest::newRow("page count") << datiArgomento(2, pagina(1)) << "pagine: 1 pagine invece di 2";
        QTest::newRow("animation without button")
            << datiArgomento(1, pagina(1, R"("descrizioneImmagine":"d","pannello":null,"animazione":3)"), "{}", false)
            << "pagina 1: un'animazione";
        QTest::newRow("text entry out of range") << datiArgomento(1, pagina(1), R"({"51":["x"]})")
                                                 << "testi: voce \"51\"";
        QTest::newRow("blank picture description")
            << datiArgomento(1, pagina(1, R"("descrizioneImmagine":"  ","pannello":null,"animazione":null)"))
            << "pagina 1: manca la descrizione dell'immagine";
        QTest::newRow("no picture description") << datiArgomento(1, pagina(1, R"("pannello":null,"animazione":null)"))
                                                << "pagina 1, descrizioneImmagine";
        // The same file in other letters shares the description; another picture needs its own.
        QTest::newRow("another backward picture undescribed")
            << datiArgomento(1, pagina(1, R"("immagineIndietro":"b.jpg","descrizioneImmagine":"d",)"
                                          R"("pannello":null,"animazione":null)"))
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
        QCOMPARE(m.vista().testo, QStringList(a.testi.begin() + 1, a.testi.begin() + 8).join(QLatin1Char('\r')));
        vaiA(m, 5);
        QCOMPARE(m.vista().testo, a.testi[5]);
        m.avanti();
        QCOMPARE(m.vista().testo, a.testi[5] + QLatin1Char('\r') + a.testi[6]);
        vaiA(m, 8);
        QCOMPARE(m.vista().testo, a.testi[8]);
        QVERIFY(a.testi[9].startsWith(QLatin1Char('\r')));  // page 9 opens with an empty line
    }

    // Page 1 reached back (some topics show the picture's other file then) and the last page; the screen's
    // own test checks page 1 on opening.
    void bothEnds_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("avanti");  // page 1's picture
        QTest::addColumn<QString>("indietro");  // page 1's picture reached back
        for (int n : {1, 2})
            QTest::addRow("topic %d", n) << n << "immagini\\altre\\prima.jpg" << "immagini\\altre\\prima.jpg";
        QTest::newRow("topic 3") << 3 << "immagini\\altre\\PLACCHE2.jpg" << "immagini\\altre\\placche2.jpg";
        QTest::newRow("topic 4") << 4 << "immagini\\allontan\\espans5.jpg" << "immagini\\allontan\\espans5.jpg";
        QTest::newRow("topic 5") << 5 << "immagini\\altre\\ZONE.jpg" << "immagini\\altre\\ZONE.jpg";
        QTest::newRow("topic 6") << 6 << "immagini\\altre\\prima.jpg" << "immagini\\altre\\Prima.jpg";
    }
    void bothEnds()
    {
        QFETCH(int, n);
        QFETCH(QString, avanti);
        QFETCH(QString, indietro);
        const Argomento& a = argomento(n);
        MotorePagine m(a);
        QCOMPARE(m.vista().immagine, avanti);
        m.avanti();
        m.indietro();
        QCOMPARE(m.vista().numpagina, 1);
        QCOMPARE(m.vista().immagine, indietro);
        QVERIFY(m.vista().indietroAbilitato);  // reached by going back: still enabled
        QVERIFY(m.vista().rivediAbilitato);
        const QString text = m.vista().testo;
        m.indietro();
        QCOMPARE(m.vista().numpagina, 1);
        QVERIFY(!m.vista().indietroAbilitato);
        QCOMPARE(m.vista().testo, text);
        vaiA(m, a.ultimaPagina);
        QVERIFY(!m.vista().avantiAbilitato);
        m.avanti();  // a press that cannot happen changes nothing
        QCOMPARE(m.vista().numpagina, a.ultimaPagina);
        m.indietro();
        QVERIFY(m.vista().avantiAbilitato);
    }

    // The hotspot page either way: strip hidden (or topic 3's words), panel blank until a click fills it.
    void hotspotPageBothWays_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<bool>("daDietro");
        for (bool back : {false, true})
            for (int n = 1; n <= 5; ++n)
                QTest::addRow("topic %d %s", n, back ? "backward" : "forward") << n << back;
    }
    void hotspotPageBothWays()
    {
        QFETCH(int, n);
        QFETCH(bool, daDietro);
        // The strip is hidden (empty) but on topic 3.
        const QString titolo = n == 3 ? QStringLiteral("CLICCA ALL'INTERNO DELLE FINESTRELLE") : QString();
        const int quante = n == 5 ? 7 : 5;
        const Argomento& a = argomento(n);
        QCOMPARE(a.paginaFinestrelle, a.ultimaPagina - 1);
        MotorePagine m(a);
        const auto passo = [&] { daDietro ? m.indietro() : m.avanti(); };
        vaiA(m, daDietro ? a.ultimaPagina : a.paginaFinestrelle - 1);
        passo();
        const MotorePagine::Vista& v = m.vista();
        QCOMPARE(v.numpagina, a.paginaFinestrelle);
        QCOMPARE(v.titoloVisibile, !titolo.isEmpty());
        if (!titolo.isEmpty())
            QCOMPARE(v.titolo, titolo);
        QCOMPARE(int(v.finestrelle.size()), quante);
        QVERIFY2(v.testo.trimmed().isEmpty(), qPrintable(v.testo));
        for (auto it = a.finestrelle.cbegin(); it != a.finestrelle.cend(); ++it) {
            m.clicFinestrella(it.key());
            QCOMPARE(m.vista().testo, it->testo);
            QVERIFY(!it->testo.trimmed().isEmpty());
        }
        passo();
        QVERIFY(m.vista().finestrelle.isEmpty());
        // The last page of topic 5 keeps the map and the strip hidden.
        QCOMPARE(m.vista().titoloVisibile, !(n == 5 && !daDietro));
    }

    // A page without a panel keeps the last one, a page reached backward takes its own backward panel.
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
        const QByteArray json = datiArgomento(
            4, pagina(1, R"("descrizioneImmagine":"d","pannello":[100,100,1000,1000],"animazione":null)") + "," +
                   pagina(2, R"("descrizioneImmagine":"d","pannello":null,"animazione":3)") + "," +
                   pagina(3, R"("descrizioneImmagine":"d","pannello":[200,200,2000,2000],)"
                             R"("pannelloIndietro":[300,300,3000,3000],"animazione":null)") + "," +
                   pagina(4, R"("descrizioneImmagine":"d","pannello":[400,400,4000,4000],"animazione":5)"));
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

    // --- the screens ---

    // Opened from the menu the lesson starts fresh; then every page, forward and back, names its picture for a
    // screen reader, and two pictures never share a sentence.
    void lessonFromTheMenu_data() { unaRigaPerArgomento(); }
    void lessonFromTheMenu()
    {
        QFETCH(int, n);
        const bool animazione = n == 4;
        const Argomento& a = argomento(n);
        TestSupport::CartellaProgramma folder;
        Forarg* f = apriLezione(n);
        QVERIFY(f);
        QCOMPARE(f->name(), QStringLiteral("forarg%1").arg(n));
        QCOMPARE(f->window()->windowTitle(), a.caption);
        QVERIFY(!ui::Screens::instance().isVisible(QStringLiteral("Fscelt")));
        QCOMPARE(f->numpagina(), 1);
        QVERIFY(f->cmdAVANTI->isEnabled());
        QVERIFY(!f->Cmdindietro->isEnabled());
        QVERIFY(!f->Cmdrivedi->isEnabled());
        QCOMPARE(f->Labeltit->caption(), a.titoli[1]);
        QCOMPARE(f->Label1->caption(), a.testi[1]);
        QCOMPARE(f->cmdanimazione != nullptr, n != 6);
        if (f->cmdanimazione)
            QCOMPARE(f->cmdanimazione->isVisible(), animazione);
        QCOMPARE(int(TestSupport::sessione().numanimazione), animazione ? 2 : 0);
        QCOMPARE(f->cmduscita->caption(), n == 1 ? QStringLiteral("Esco") : QStringLiteral("Esco "));
        for (ui::Label* l : std::as_const(f->finestrelle))
            QVERIFY(!l->isVisible());
        QCOMPARE(f->finestrelle.isEmpty(), n == 6);
        QHash<QString, QString> immagineDi;  // description -> picture, letters folded
        for (int i = 1; i < 2 * a.ultimaPagina; ++i) {  // forward to the last page, then back to page 1
            const int p = i <= a.ultimaPagina ? i : 2 * a.ultimaPagina - i;
            if (i > 1)
                (i <= a.ultimaPagina ? f->cmdAVANTI : f->Cmdindietro)->click();
            const QString detto = f->Image1->accessibleName();
            const QString file = f->Image1->fileName().toLower();
            const QString dove = QStringLiteral("page %1, %2: \"%3\"").arg(p).arg(file, detto);
            QVERIFY2(!detto.trimmed().isEmpty() && detto == a.pagina(p).descrizioneImmagine, qPrintable(dove));
            const QString altro = immagineDi.value(detto, file);
            QVERIFY2(altro == file, qPrintable(dove + QStringLiteral(" also ") + altro));
            immagineDi.insert(detto, file);
        }
    }

    // Topic 1 page 12: the animation button; pressed, it hides itself until a page offers it again.
    void animationButtonAndNumanimazione()
    {
        TestSupport::CartellaProgramma folder;
        Forarg* f = apriLezione(1);
        QVERIFY(f);
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
        Forarg* f = apriLezione(3);
        QVERIFY(f);
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

    // Restart and the menu close the lesson, so the next opening starts at page 1; a refused exit keeps the page.
    void closingButtons_data()
    {
        QTest::addColumn<QString>("pulsante");
        QTest::addColumn<int>("pagina");  // where the lesson stands afterwards
        QTest::newRow("Ricomincio") << "Cmdrivedi" << 1;
        QTest::newRow("Menù") << "cmdscegli" << 1;
        QTest::newRow("Esco, refused") << "cmduscita" << 3;
    }
    void closingButtons()
    {
        QFETCH(QString, pulsante);
        QFETCH(int, pagina);
        TestSupport::CartellaProgramma folder;
        Forarg* f = apriLezione(2);
        QVERIFY(f);
        f->cmdAVANTI->click();
        f->cmdAVANTI->click();
        if (pulsante == QLatin1String("cmduscita"))
            ui::MessageBox::setNextAnswer(ui::MessageBox::AnswerCancel);
        f->control<ui::Button>(pulsante)->click();
        if (pulsante == QLatin1String("cmdscegli")) {
            QCOMPARE(ui::Screens::instance().front(), menu());
            QVERIFY(!ui::Screens::instance().isLoaded(QStringLiteral("forarg2")));
            menu()->Command1[1]->click();
        }
        Forarg* again = lezione();
        QVERIFY(again);
        QCOMPARE(again == f, pagina != 1);
        QCOMPARE(again->numpagina(), pagina);
        QCOMPARE(again->Cmdindietro->isEnabled(), pagina != 1);
        QCOMPARE(TestSupport::fineRichiesta(), 0);
    }

    // --- the content ---

    void quotedTextsAreIntact_data()
    {
        QTest::addColumn<int>("i");  // in kTestiCitati
        for (int i = 0; i < int(std::size(kTestiCitati)); ++i)
            QTest::addRow("topic %d %s %d", kTestiCitati[i].argomento, kTestiCitati[i].dove, kTestiCitati[i].voce) << i;
    }
    void quotedTextsAreIntact()
    {
        QFETCH(int, i);
        const TestoCitato& t = kTestiCitati[i];
        const Argomento& a = argomento(t.argomento);
        const QString testo = QString::fromUtf8(t.testo);
        const QString actual = QLatin1String(t.dove) == QLatin1String("testo")
                                   ? a.testi[t.voce]
                                   : a.finestrelle.value(QStringLiteral("Label%1").arg(t.voce)).testo;
        if (t.esatto) {
            QCOMPARE(actual, testo);
        } else {
            QVERIFY2(actual.startsWith(testo), qPrintable(actual.left(testo.size() + 20)));
            QVERIFY2(actual.size() > testo.size() + 40, "the opening is continued");
        }
    }

    // Every page's text fits its panel both ways, and every hotspot's text the hotspot page's; titles used
    // exist; hotspots and panels lie inside the design area; the button row is free.
    void layoutAndTextsFit_data() { unaRigaPerArgomento(); }
    void layoutAndTextsFit()
    {
        QFETCH(int, n);
        const Argomento& a = argomento(n);
        MotorePagine m(a);
        QString why;
        auto check = [&](const QString& where) {
            const auto bottone = m.vista().animazioneVisibile ? a.progettoAnimazione : std::nullopt;
            QVERIFY2(entra(m.vista().testo, m.vista().pannello, &why, bottone), qPrintable(where + QStringLiteral(": ") + why));
        };
        for (int i = 1; i < 2 * a.ultimaPagina; ++i) {  // forward to the last page, then back to page 1
            if (i > 1)
                i <= a.ultimaPagina ? m.avanti() : m.indietro();
            check(QStringLiteral("step %1, page %2").arg(i).arg(m.vista().numpagina));
            for (auto it = m.vista().finestrelle.cbegin(); it != m.vista().finestrelle.cend(); ++it) {
                m.clicFinestrella(it.key());
                check(QStringLiteral("hotspot %1").arg(it.key()));
            }
        }
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
