#include "TestSupport.h"

#include "ui/Form.h"
#include "ui/MessageBox.h"
#include "ui/Pictures.h"
#include "ui/Random.h"
#include "ui/Screens.h"
#include "ui/Timer.h"
#include "ui/Twips.h"
#include "ui/Window.h"

#include <QDir>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>

#if defined(Q_OS_LINUX)
#include <sys/prctl.h>
#endif

namespace {
// A screen with a little of everything, counting its loads and clicks.
class ProvaForm : public ui::Form {
public:
    explicit ProvaForm(const QString& name) : ui::Form(name)
    {
        setCaption(QStringLiteral("schermo ") + name);
        conta = addButton(QStringLiteral("conta"), QStringLiteral("Conta"), {1680, 960, 3855, 615},
                          {QStringLiteral("Arial"), 12, true});
        altro = addButton(QStringLiteral("altro"), QStringLiteral("Altro"), {1680, 2280, 3855, 615});
        testo = addLabel(QStringLiteral("testo"), QStringLiteral("riga uno\rriga due"), {4320, 720, 6255, 4575},
                         {QStringLiteral("MS Sans Serif"), 12});
        immagine = addPicture(QStringLiteral("Image1"), {1160, 720, 900, 900});
        connect(conta, &ui::Button::clicked, this, [this] { ++clic; });
    }
    void Form_Load() override { ++caricamenti; }

    ui::Button* conta;
    ui::Button* altro;
    ui::Label* testo;
    ui::Picture* immagine;
    int caricamenti = 0;
    int clic = 0;
};

void writePicture(const QString& path, QSize pixels, int dpi, const char* format = "JPG")
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    image.setDotsPerMeterX(int(dpi / 0.0254 + 0.5));
    image.setDotsPerMeterY(int(dpi / 0.0254 + 0.5));
    QImageWriter writer(path, format);
    QVERIFY(writer.write(image));
}
}  // namespace

class TestScreenLayer : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        TestSupport::prepara();
        ui::Screens::instance().reset();
    }
    void cleanup()
    {
        ui::Screens::instance().reset();
        ui::Screens::instance().setWindow(nullptr);
        ui::Pictures::setRoot({});
    }

    void pictureLookupIgnoresCase_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("trovato");
        QTest::newRow("as written") << "immagini\\altre\\prima.jpg" << "immagini/altre/prima.jpg";
        QTest::newRow("other case") << "immagini\\altre\\Prima.jpg" << "immagini/altre/prima.jpg";
        QTest::newRow("folder case") << "IMMAGINI\\SUBDUZIO\\subduz17.jpg" << "immagini/subduzio/subduz17.jpg";
        QTest::newRow("mixed name") << "immagini\\altre\\croOCEAN.jpg" << "immagini/altre/croocean.jpg";
        QTest::newRow("forward slashes") << "immagini/ALTRE/PLACCHE2.JPG" << "immagini/altre/placche2.jpg";
        QTest::newRow("missing") << "immagini\\altre\\nessuna.jpg" << "";
        QTest::newRow("folder, not a file") << "immagini\\altre" << "";
    }
    void pictureLookupIgnoresCase()
    {
        QFETCH(QString, nome);
        QFETCH(QString, trovato);
        QTemporaryDir root;
        for (const char* f : {"immagini/altre/prima.jpg", "immagini/altre/croocean.jpg", "immagini/altre/placche2.jpg",
                              "immagini/subduzio/subduz17.jpg"})
            writePicture(root.filePath(QString::fromLatin1(f)), {4, 4}, 96);
        ui::Pictures::setRoot(root.path());
        const QString resolved = ui::Pictures::resolve(nome);
        QCOMPARE(resolved, trovato.isEmpty() ? QString() : root.filePath(trovato));
    }

    // A picture records its resolution; 192 dots an inch shows at half its pixels, crisp when enlarged.
    void pictureDesignSizeFollowsResolution_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<QSize>("twips");
        QTest::newRow("96 dpi: 15 twips a pixel") << 96 << QSize(3000, 1500);
        QTest::newRow("192 dpi: drawn twice as fine") << 192 << QSize(1500, 750);
    }
    void pictureDesignSizeFollowsResolution()
    {
        QFETCH(int, dpi);
        QFETCH(QSize, twips);
        QTemporaryDir root;
        writePicture(root.filePath(QStringLiteral("immagini/altre/prova.jpg")), {200, 100}, dpi);
        ui::Pictures::setRoot(root.path());
        const auto loaded = ui::Pictures::load(QStringLiteral("immagini\\altre\\PROVA.jpg"));
        QVERIFY(!loaded.isNull());
        QCOMPARE(loaded.twips, twips);

        ProvaForm form(QStringLiteral("f"));
        QVERIFY(form.immagine->load(QStringLiteral("immagini\\altre\\prova.jpg"), true));
        QCOMPARE(form.designRect(form.immagine), QRect(QPoint(1160, 720), twips));
    }

    // A missing or broken picture leaves the control empty and everything else goes on.
    void missingPictureLeavesControlEmpty_data()
    {
        QTest::addColumn<bool>("rotta");
        QTest::newRow("missing") << false;
        QTest::newRow("not a picture") << true;
    }
    void missingPictureLeavesControlEmpty()
    {
        QFETCH(bool, rotta);
        QTemporaryDir root;
        if (rotta) {
            QDir().mkpath(root.filePath(QStringLiteral("immagini/altre")));
            QFile f(root.filePath(QStringLiteral("immagini/altre/rotta.jpg")));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("not a jpeg at all");
        }
        ui::Pictures::setRoot(root.path());
        ProvaForm form(QStringLiteral("f"));
        QVERIFY(!form.immagine->load(QStringLiteral("immagini\\altre\\rotta.jpg"), true));
        QVERIFY(form.immagine->image().isNull());
        QCOMPARE(form.designRect(form.immagine), QRect(1160, 720, 900, 900));
        form.immagine->grab();  // paints without a picture
    }

    void scaleFitsAndCentres_data()
    {
        QTest::addColumn<QSize>("finestra");
        QTest::addColumn<double>("fattore");
        QTest::addColumn<QRect>("bottone");  // the design rectangle 1680, 960, 3855, 615 in pixels
        QTest::newRow("800 x 600") << QSize(800, 600) << 1.0 << QRect(112, 64, 257, 41);
        QTest::newRow("1366 x 768") << QSize(1366, 768) << 1.28 << QRect(171 + 143, 82, 329, 52);
        QTest::newRow("1920 x 1080") << QSize(1920, 1080) << 1.8 << QRect(240 + 202, 115, 462, 74);
        QTest::newRow("3840 x 2160") << QSize(3840, 2160) << 3.6 << QRect(480 + 403, 230, 925, 148);
        QTest::newRow("tall 1024 x 1280") << QSize(1024, 1280) << 1.28 << QRect(143, 256 + 82, 329, 52);
    }
    void scaleFitsAndCentres()
    {
        QFETCH(QSize, finestra);
        QFETCH(double, fattore);
        QFETCH(QRect, bottone);
        ui::Window window;
        ui::Screens::instance().setWindow(&window);
        ui::Screens::instance().registerScreen(QStringLiteral("prova"), [] { return new ProvaForm(QStringLiteral("prova")); });
        auto* form = static_cast<ProvaForm*>(ui::Screens::instance().show(QStringLiteral("prova")));
        window.resize(finestra);
        window.show();
        QCOMPARE(form->size(), finestra);
        QCOMPARE(form->scala().factor(), fattore);
        QCOMPARE(form->conta->geometry(), bottone);
        // Fonts grow with the layout: 12 points are 16 pixels at design size.
        QCOMPARE(form->testo->font().pixelSize(), int(std::lround(16 * fattore)));
        QCOMPARE(form->testo->font().family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(form->conta->font().family(), QStringLiteral("Liberation Sans"));
        // The design area stays whole inside the window.
        const QRect area = form->scala().rect(QRect(0, 0, ui::kDesignWidth, ui::kDesignHeight));
        QVERIFY(QRect(QPoint(0, 0), finestra).contains(area));
    }

    void adjacentControlsStayAdjacent()
    {
        const ui::Scala s = ui::Scala::perArea(QSize(1366, 768));
        const QRect a = s.rect(QRect(2040, 5880, 2535, 615));
        const QRect b = s.rect(QRect(4575, 5880, 2895, 615));
        QCOMPARE(a.right() + 1, b.left());
    }

    void fontFamiliesMapToTwins_data()
    {
        QTest::addColumn<QString>("progetto");
        QTest::addColumn<QString>("installato");
        QTest::newRow("Arial") << "Arial" << "Liberation Sans";
        QTest::newRow("Times New Roman") << "Times New Roman" << "Liberation Serif";
        QTest::newRow("Courier New") << "Courier New" << "Liberation Mono";
        QTest::newRow("MS Sans Serif") << "MS Sans Serif" << "Liberation Sans";
        QTest::newRow("unknown") << "Wingdings" << "Liberation Sans";
    }
    void fontFamiliesMapToTwins()
    {
        QFETCH(QString, progetto);
        QFETCH(QString, installato);
        QCOMPARE(ui::Fonts::faceFor(progetto), installato);
        QCOMPARE(QFontInfo(ui::Fonts::font({progetto, 12}, 4.0 / 3)).family(), installato);
    }

    void labelShowsCarriageReturnsAsLines()
    {
        ProvaForm form(QStringLiteral("f"));
        QCOMPARE(form.testo->text(), QStringLiteral("riga uno\nriga due"));
        form.testo->setCaption(form.testo->caption() + QStringLiteral("\r<b>tre</b>"));
        QCOMPARE(form.testo->caption(), QStringLiteral("riga uno\rriga due\r<b>tre</b>"));
        QCOMPARE(form.testo->textFormat(), Qt::PlainText);
    }

    // Load runs Form_Load once; hide keeps the state; unload forgets it; one screen in front.
    void screenLifecycle()
    {
        ui::Window window;
        window.resize(800, 600);
        window.show();
        auto& screens = ui::Screens::instance();
        screens.setWindow(&window);
        screens.registerScreen(QStringLiteral("a"), [] { return new ProvaForm(QStringLiteral("a")); });
        screens.registerScreen(QStringLiteral("b"), [] { return new ProvaForm(QStringLiteral("b")); });

        auto* a = static_cast<ProvaForm*>(screens.show(QStringLiteral("a")));
        QCOMPARE(a->caricamenti, 1);
        QCOMPARE(window.windowTitle(), QStringLiteral("schermo a"));
        a->conta->click();
        QCOMPARE(a->clic, 1);

        // The only visible screen cannot be hidden: the window never goes blank.
        screens.hide(QStringLiteral("a"));
        QCOMPARE(screens.front(), a);
        QVERIFY(a->isVisible());

        auto* b = static_cast<ProvaForm*>(screens.show(QStringLiteral("b")));
        screens.hide(QStringLiteral("a"));
        QCOMPARE(screens.front(), b);
        QVERIFY(!a->isVisible());
        QCOMPARE(window.windowTitle(), QStringLiteral("schermo b"));

        QCOMPARE(screens.show(QStringLiteral("a")), a);  // hidden, not unloaded: the same screen, state kept
        QCOMPARE(a->caricamenti, 1);
        QCOMPARE(a->clic, 1);
        QCOMPARE(screens.visibleScreens(), (QStringList{QStringLiteral("b"), QStringLiteral("a")}));

        screens.unload(QStringLiteral("a"));
        QCOMPARE(screens.front(), b);
        QVERIFY(!screens.isLoaded(QStringLiteral("a")));
        auto* fresh = static_cast<ProvaForm*>(screens.show(QStringLiteral("a")));
        QCOMPARE(fresh->caricamenti, 1);
        QCOMPARE(fresh->clic, 0);

        // A screen nobody makes yet is simply not there.
        QVERIFY(!screens.show(QStringLiteral("FSommati")));
        QCOMPARE(screens.front(), fresh);
    }

    // A handler may press another screen's button: its click handler runs even while it is hidden or
    // disabled, as a click would run it.
    void pressRunsTheHandler_data()
    {
        QTest::addColumn<bool>("nascosto");
        QTest::addColumn<bool>("disabilitato");
        QTest::newRow("visible") << false << false;
        QTest::newRow("hidden") << true << false;
        QTest::newRow("disabled") << false << true;
    }
    void pressRunsTheHandler()
    {
        QFETCH(bool, nascosto);
        QFETCH(bool, disabilitato);
        ProvaForm form(QStringLiteral("f"));
        form.show();
        form.conta->setVisible(!nascosto);
        form.conta->setEnabled(!disabilitato);
        form.conta->press();
        QCOMPARE(form.clic, 1);
    }

    void keyboardPressesButtons_data()
    {
        QTest::addColumn<int>("tasto");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
        QTest::newRow("Space") << int(Qt::Key_Space);
    }
    void keyboardPressesButtons()
    {
        QFETCH(int, tasto);
        ProvaForm form(QStringLiteral("f"));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.altro->setFocus();
        QTest::keyClick(&form, Qt::Key_Backtab);
        QVERIFY(form.conta->hasFocus());
        QTest::keyClick(form.conta, Qt::Key(tasto));
        QCOMPARE(form.clic, 1);
        QCOMPARE(form.conta->accessibleName(), QStringLiteral("Conta"));
        form.conta->setEnabled(false);
        QTest::keyClick(form.conta, Qt::Key(tasto));
        QCOMPARE(form.clic, 1);
    }

    void timerTicksOnlyWhenEnabled()
    {
        ui::Timer timer;
        int ticks = 0;
        connect(&timer, &ui::Timer::tick, this, [&] { ++ticks; });
        timer.setInterval(100);
        timer.fire();
        QCOMPARE(ticks, 0);
        timer.setEnabled(true);
        timer.fire();
        timer.fire();
        QCOMPARE(ticks, 2);
        QTest::qWait(250);  // manual timers never tick by themselves
        QCOMPARE(ticks, 2);
    }

    // While a clock of a few milliseconds runs, and only then, the interface thread asks to be woken on
    // time: a second short clock, one stopped or slowed, one destroyed while it runs.
    void shortClocksWakeOnTime()
    {
#if defined(Q_OS_LINUX)
        const auto ritardo = [] { return prctl(PR_GET_TIMERSLACK, 0UL, 0UL, 0UL, 0UL); };
        const long solito = ritardo();
        ui::Timer::setManual(false);
        {
            ui::Timer veloce, lento;
            lento.setInterval(1000);
            lento.setEnabled(true);
            QCOMPARE(ritardo(), solito);
            veloce.setInterval(1);
            QCOMPARE(ritardo(), solito);  // not enabled yet
            veloce.setEnabled(true);
            QCOMPARE(ritardo(), 1000L);
            lento.setInterval(5);
            veloce.setEnabled(false);
            QCOMPARE(ritardo(), 1000L);
            lento.setInterval(701);
            QCOMPARE(ritardo(), solito);
            veloce.setEnabled(true);
            QCOMPARE(ritardo(), 1000L);
        }
        QCOMPARE(ritardo(), solito);
        ui::Timer::setManual(true);
#else
        QSKIP("only Linux delays wake-ups this way");
#endif
    }

    void randomIsSeededAndInRange()
    {
        ui::Random::setFixedSeed(7u);
        ui::Random::seedFromClock();
        QList<double> first;
        for (int i = 0; i < 1000; ++i) {
            const double u = ui::Random::next();
            QVERIFY(u >= 0.0 && u < 1.0);
            first << u;
        }
        ui::Random::seedFromClock();
        for (int i = 0; i < 1000; ++i)
            QCOMPARE(ui::Random::next(), first[i]);
        // Int(u * 10 + 1) reaches every whole number 1 to 10.
        QSet<int> seen;
        for (double u : first)
            seen.insert(int(u * 10 + 1));
        QCOMPARE(seen.size(), 10);
    }

    void boxesTakeAnswersSetInAdvance()
    {
        ui::MessageBox::setNextAnswer(ui::MessageBox::AnswerYes);
        QCOMPARE(ui::MessageBox::message(QStringLiteral("Cancello?"), ui::MessageBox::YesNo, QStringLiteral("Archivio")),
                 ui::MessageBox::AnswerYes);
        // With no answer left a box closes at once, as if closed, and is counted.
        QCOMPARE(ui::MessageBox::message(QStringLiteral("Ancora?"), ui::MessageBox::YesNo), ui::MessageBox::AnswerNo);
        QCOMPARE(ui::MessageBox::input(QStringLiteral("Nome?")), QString());
        QCOMPARE(ui::MessageBox::unanswered(), 2);
        const auto shown = ui::MessageBox::shown();
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown[0].title, QStringLiteral("Archivio"));
        QCOMPARE(shown[1].title, QStringLiteral("La teoria delle placche"));
    }
};

QTEST_MAIN(TestScreenLayer)
#include "TestScreenLayer.moc"
