#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

QString geoFolder()
{
    return QStringLiteral(DISEGNI_GEO);
}

QDir committed()
{
    return QDir(QStringLiteral(DISEGNI_REPOSITORY "/immagini"));
}

// Every file under a folder, by its path inside it.
QStringList filesUnder(const QDir &dir)
{
    QStringList out;
    QDirIterator it(dir.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        out.append(dir.relativeFilePath(it.next()));
    out.sort();
    return out;
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

// The committed pictures are what the drawing program makes today: every picture is drawn again into
// a folder of its own and compared with the committed file, byte for byte, or pixel for pixel where the
// bytes differ (an encoder may write the same picture differently), density included.
class TestRidisegno : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!QDir(geoFolder()).exists())
            QSKIP("shared geographic data not found");
        m_out = std::make_unique<QTemporaryDir>();
        QVERIFY(m_out->isValid());
        QProcess disegni;
        disegni.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer timer;
        timer.start();
        disegni.start(QStringLiteral(DISEGNI_EXE),
                      {QStringLiteral("--geo"), geoFolder(), QStringLiteral("--out"), m_out->path()});
        QVERIFY2(disegni.waitForFinished(-1), qPrintable(disegni.errorString()));
        QCOMPARE(disegni.exitStatus(), QProcess::NormalExit);
        QCOMPARE(disegni.exitCode(), 0);
        qInfo("%s", qPrintable(QStringLiteral("ridisegnate %1 immagini in %2 s")
                                   .arg(filesUnder(QDir(m_out->path())).size())
                                   .arg(timer.elapsed() / 1000.0, 0, 'f', 1)));
    }

    // nothing committed that the program no longer draws, nothing drawn that is not committed
    void stesseImmagini()
    {
        const QStringList drawn = filesUnder(QDir(m_out->path()));
        const QStringList kept = filesUnder(committed());
        QStringList onlyDrawn, onlyKept;
        for (const QString &f : drawn) {
            if (!kept.contains(f))
                onlyDrawn.append(f);
        }
        for (const QString &f : kept) {
            if (!drawn.contains(f))
                onlyKept.append(f);
        }
        QVERIFY2(onlyDrawn.isEmpty(), qPrintable(QStringLiteral("disegnate ma non nel repository: ") + onlyDrawn.join(QStringLiteral(", "))));
        QVERIFY2(onlyKept.isEmpty(), qPrintable(QStringLiteral("nel repository ma non disegnate: ") + onlyKept.join(QStringLiteral(", "))));
    }

    void immagineUguale_data()
    {
        QTest::addColumn<QString>("immagine");
        if (!m_out)
            return;
        for (const QString &f : filesUnder(QDir(m_out->path())))
            QTest::newRow(qPrintable(f)) << f;
    }
    void immagineUguale()
    {
        QFETCH(QString, immagine);
        const QString drawnPath = QDir(m_out->path()).filePath(immagine);
        const QString keptPath = committed().filePath(immagine);
        if (!QFile::exists(keptPath))
            QSKIP("not committed: reported by stesseImmagini");
        if (bytesOf(drawnPath) == bytesOf(keptPath))
            return;
        const QImage drawn(drawnPath);
        const QImage kept(keptPath);
        QVERIFY2(!drawn.isNull() && !kept.isNull(), qPrintable(immagine + QStringLiteral(": non si legge")));
        QVERIFY2(drawn.size() == kept.size(),
                 qPrintable(QStringLiteral("%1: ridisegnata %2x%3, nel repository %4x%5")
                                .arg(immagine)
                                .arg(drawn.width())
                                .arg(drawn.height())
                                .arg(kept.width())
                                .arg(kept.height())));
        QCOMPARE(drawn.dotsPerMeterX(), kept.dotsPerMeterX());
        QCOMPARE(drawn.dotsPerMeterY(), kept.dotsPerMeterY());
        const QImage a = drawn.convertToFormat(QImage::Format_ARGB32);
        const QImage b = kept.convertToFormat(QImage::Format_ARGB32);
        qint64 differing = 0;
        for (int y = 0; y < a.height(); ++y) {
            const auto *ra = reinterpret_cast<const QRgb *>(a.constScanLine(y));
            const auto *rb = reinterpret_cast<const QRgb *>(b.constScanLine(y));
            for (int x = 0; x < a.width(); ++x)
                differing += ra[x] != rb[x] ? 1 : 0;
        }
        QVERIFY2(differing == 0, qPrintable(QStringLiteral("%1: %2 pixel diversi su %3 (ridisegnare e controllare)")
                                                .arg(immagine)
                                                .arg(differing)
                                                .arg(qint64(a.width()) * a.height())));
    }

private:
    std::unique_ptr<QTemporaryDir> m_out;
};

QTEST_MAIN(TestRidisegno)
#include "TestRidisegno.moc"
