#include "TestSupport.h"

#include "ui/Fonts.h"
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

void writePicture(const QString& path, QSize pixels, int dpi)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    image.setDotsPerMeterX(int(dpi / 0.0254 + 0.5));
    image.setDotsPerMeterY(int(dpi / 0.0254 + 0.5));
    QImageWriter writer(path, "JPG");
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
        QTest::newRow("folder case") << "IMMAGINI\\SUBDUZIO\\subduz17.jpg" << "immagini/subduzio/subduz17.jpg";
        QTest::newRow("forward slashes") << "immagini/ALTRE/PLACCHE2.JPG" << "immagini/altre/placche2.jpg";
        QTest::newRow("missing") << "immagini\\altre\\nessuna.jpg" << "";
        QTest::newRow("folder, not a file") << "immagini\\altre" << "";
    }
    void pictureLookupIgnoresCase()
    {
        QFETCH(QString, nome);
        QFETCH(QString, trovato);
        QTemporaryDir root;
        for (const char* f : {"altre/prima.jpg", "altre/placche2.jpg", "subduzio/subduz17.jpg"})
            writePicture(root.filePath(QStringLiteral("immagini/") + QLatin1String(f)), {4, 4}, 96);
        ui::Pictures::setRoot(root.path());
        const QString resolved = ui::Pictures::resolve(nome);
        QCOMPARE(resolved, trovato.isEmpty() ? QString() : root.filePath(trovato));
    }

    // A picture records its resolution: at 192 dpi it shows at half its pixels, crisp when enlarged. A missing
    // or broken one leaves the control empty at its design size, and everything else goes on.
    void pictureDesignSize_data()
    {
        QTest::addColumn<int>("dpi");  // 0: not a picture; -1: no file
        QTest::addColumn<QSize>("twips");
        QTest::newRow("96 dpi: 15 twips a pixel") << 96 << QSize(3000, 1500);
        QTest::newRow("192 dpi: drawn twice as fine") << 192 << QSize(1500, 750);
        QTest::newRow("missing") << -1 << QSize(900, 900);
        QTest::newRow("not a picture") << 0 << QSize(900, 900);
    }
    void pictureDesignSize()
    {
        QFETCH(int, dpi);
        QFETCH(QSize, twips);
        QTemporaryDir root;
        const QString file = root.filePath(QStringLiteral("immagini/altre/prova.jpg"));
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile rotta(file);
        if (dpi > 0)
            writePicture(file, {200, 100}, dpi);
        else if (dpi == 0)
            QVERIFY(rotta.open(QIODevice::WriteOnly) && rotta.write("not a jpeg at all") > 0);
        rotta.close();
        ui::Pictures::setRoot(root.path());
        QCOMPARE(ui::Pictures::load(QStringLiteral("immagini\\altre\\PROVA.jpg")).twips, dpi > 0 ? twips : QSize());

        ProvaForm form(QStringLiteral("f"));
        QCOMPARE(form.immagine->load(QStringLiteral("immagini\\altre\\prova.jpg"), true), dpi > 0);
        QCOMPARE(form.immagine->image().isNull(), dpi <= 0);
        QCOMPARE(form.designRect(form.immagine), QRect(QPoint(1160, 720), twips));
        form.immagine->grab();  // paints with or without a picture
    }

    void scaleFitsAndCentres_data()
    {
        QTest::addColumn<QSize>("finestra");
        QTest::addColumn<double>("fattore");
        QTest::addColumn<QRect>("bottone");  // the design rectangle 1680, 960, 3855, 615 in pixels
        QTest::newRow("800 x 600") << QSize(800, 600) << 1.0 << QRect(112, 64, 257, 41);
        QTest::newRow("1366 x 768") << QSize(1366, 768) << 1.28 << QRect(171 + 143, 82, 329, 52);
        QTest::newRow("1920 x 1080") << QSize(1920, 1080) << 1.8 << QRect(240 + 202, 115, 462, 74);
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
        // The design area stays whole inside the window, and controls side by side stay touching.
        const ui::Scala& s = form->scala();
        QVERIFY(QRect(QPoint(0, 0), finestra).contains(s.rect(QRect(0, 0, ui::kDesignWidth, ui::kDesignHeight))));
        QCOMPARE(s.rect(QRect(2040, 5880, 2535, 615)).right() + 1, s.rect(QRect(4575, 5880, 2895, 615)).left());
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
        form.testo->setCaption(form.testo->caption() + QStringLiteral("\r<b>tre</b>"));
        QCOMPARE(form.testo->text(), QStringLiteral("riga uno\nriga due\n<b>tre</b>"));
        QCOMPARE(form.testo->textFormat(), Qt::PlainText);
    }

    // Letters too tall for Qt's masks are kept painted by the label: what it shows is what Qt paints.
    void largeLettersPaintAsQt_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QSize>("misura");
        QTest::addColumn<bool>("centrata");
        QTest::addColumn<bool>("aCapo");
        QTest::addColumn<bool>("corsivo");
        QTest::addColumn<bool>("attiva");
        QTest::addColumn<QString>("bordo");  // "cornice", "margine", "rientro" or none
        QTest::newRow("counter, centred, framed") << "528" << QSize(230, 150) << true << true << false << true << "cornice";
        QTest::newRow("framed, at the top left") << "528" << QSize(400, 150) << false << true << false << true << "cornice";
        QTest::newRow("title in italics after blanks, one line")
            << "                 Teoria delle placche illustrata con 4 sequenze animate" << QSize(2855, 734) << false
            << false << true << true << "";
        QTest::newRow("wrapped over lines, margin") << "una frase che va a capo" << QSize(420, 400) << false << true
                                                     << false << true << "margine";
        QTest::newRow("disabled") << "12" << QSize(230, 150) << true << true << false << false << "";
        QTest::newRow("indented") << "  rientrata" << QSize(900, 150) << false << false << false << true << "rientro";
    }
    void largeLettersPaintAsQt()
    {
        QFETCH(QString, testo);
        QFETCH(QSize, misura);
        QFETCH(bool, centrata);
        QFETCH(bool, aCapo);
        QFETCH(bool, corsivo);
        QFETCH(bool, attiva);
        QFETCH(QString, bordo);
        const QFont font = ui::Fonts::font({QStringLiteral("Times New Roman"), 18, true, corsivo}, 86.0 / 18);
        QVERIFY(QFontInfo(font).pixelSize() > 64);
        QWidget sfondo;
        sfondo.resize(misura.width() * 2, misura.height());
        ui::Label nostra(QString(), &sfondo);
        QLabel qt(&sfondo);
        qt.setTextFormat(Qt::PlainText);
        qt.move(misura.width(), 0);
        nostra.setCentred(centrata);
        if (!aCapo) {
            nostra.setWordWrap(false);
            nostra.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        }
        qt.setWordWrap(aCapo);
        qt.setAlignment(nostra.alignment());
        for (QLabel* l : {static_cast<QLabel*>(&nostra), &qt}) {
            l->setFont(font);
            l->resize(misura);
            l->setEnabled(attiva);
            if (bordo == QLatin1String("cornice"))
                l->setFrameShape(QFrame::Box);
            l->setMargin(bordo == QLatin1String("margine") ? 7 : 0);
            l->setIndent(bordo == QLatin1String("rientro") ? 12 : -1);
        }
        QPalette blu = qt.palette();
        blu.setColor(QPalette::WindowText, Qt::darkBlue);
        qt.setPalette(blu);
        nostra.setForeColor(Qt::darkBlue);
        auto confronta = [&](const char* dopo) {
            const QImage attesa = qt.grab().toImage(), vista = nostra.grab().toImage();
            QCOMPARE(vista.size(), attesa.size());
            int diversi = 0;
            for (int y = 0; y < attesa.height(); ++y)
                for (int x = 0; x < attesa.width(); ++x) {
                    const QRgb a = attesa.pixel(x, y), v = vista.pixel(x, y);
                    diversi += std::max({std::abs(qRed(a) - qRed(v)), std::abs(qGreen(a) - qGreen(v)),
                                         std::abs(qBlue(a) - qBlue(v))}) > 2;
                }
            QVERIFY2(diversi == 0, qPrintable(QStringLiteral("%1 pixels differ after %2").arg(diversi).arg(dopo)));
        };
        // Shown twice with another caption between: the second time comes from what was kept.
        for (const QString& caption : {testo, QStringLiteral("altro"), testo}) {
            nostra.setCaption(caption);
            qt.setText(caption);
            confronta("a caption");
            if (QTest::currentTestFailed())
                return;
        }
        // What was kept is dropped when the colour, the letters or the size change.
        nostra.setForeColor(Qt::red);
        blu.setColor(QPalette::WindowText, Qt::red);
        qt.setPalette(blu);
        confronta("a new colour");
        QFont grande = font;
        grande.setPixelSize(font.pixelSize() + 9);
        nostra.setFont(grande);
        qt.setFont(grande);
        confronta("new letters");
        nostra.resize(misura + QSize(60, 30));
        qt.resize(misura + QSize(60, 30));
        confronta("a new size");
    }

    // Load runs Form_Load once; hide keeps the state; unload forgets it; one screen in front.
    void screenLifecycle()
    {
        ui::Window window;
        window.resize(800, 600);
        window.show();
        auto& screens = ui::Screens::instance();
        screens.setWindow(&window);
        for (const QString& n : {QStringLiteral("a"), QStringLiteral("b")})
            screens.registerScreen(n, [n] { return new ProvaForm(n); });

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
    // disabled. The keyboard reaches it by Tab and presses it, unless it is disabled.
    void buttonPressedByHandlerOrKeys_data()
    {
        QTest::addColumn<int>("tasto");  // 0: press() from a handler
        QTest::addColumn<bool>("nascosto");
        QTest::addColumn<bool>("abilitato");
        QTest::addColumn<int>("clic");
        QTest::newRow("press, visible") << 0 << false << true << 1;
        QTest::newRow("press, hidden") << 0 << true << true << 1;
        QTest::newRow("press, disabled") << 0 << false << false << 1;
        QTest::newRow("Enter") << int(Qt::Key_Return) << false << true << 1;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << false << true << 1;
        QTest::newRow("Space") << int(Qt::Key_Space) << false << true << 1;
        QTest::newRow("Enter, disabled") << int(Qt::Key_Return) << false << false << 0;
        QTest::newRow("Space, disabled") << int(Qt::Key_Space) << false << false << 0;
    }
    void buttonPressedByHandlerOrKeys()
    {
        QFETCH(int, tasto);
        QFETCH(bool, nascosto);
        QFETCH(bool, abilitato);
        QFETCH(int, clic);
        ProvaForm form(QStringLiteral("f"));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.altro->setFocus();
        QTest::keyClick(&form, Qt::Key_Backtab);
        QVERIFY(form.conta->hasFocus());
        QCOMPARE(form.conta->accessibleName(), QStringLiteral("Conta"));
        form.conta->setVisible(!nascosto);
        form.conta->setEnabled(abilitato);
        if (tasto)
            QTest::keyClick(form.conta, Qt::Key(tasto));
        else
            form.conta->press();
        QCOMPARE(form.clic, clic);
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

    // Only while a clock of a few milliseconds runs does the interface thread ask to be woken on time.
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
        QSet<int> seen;
        for (int i = 0; i < 1000; ++i) {
            first << ui::Random::next();
            QVERIFY(first.last() >= 0.0 && first.last() < 1.0);
            seen.insert(int(first.last() * 10 + 1));
        }
        QCOMPARE(seen.size(), 10);  // Int(u * 10 + 1) reaches every whole number 1 to 10
        ui::Random::seedFromClock();
        for (int i = 0; i < 1000; ++i)
            QCOMPARE(ui::Random::next(), first[i]);
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
