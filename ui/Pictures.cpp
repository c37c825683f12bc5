#include "ui/Pictures.h"

#include "ui/Interpolazione.h"
#include "ui/Jpeg.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QImageIOHandler>
#include <QImageReader>
#include <QMutex>
#include <QPointer>
#include <QThread>
#include <QThreadPool>
#include <QWaitCondition>

#if defined(Q_OS_LINUX)
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace ui {

namespace {
// Pictures are also read on helper threads, so the folder is guarded.
QMutex& rootMutex()
{
    static QMutex mutex;
    return mutex;
}

QString& rootOverride()
{
    static QString folder;
    return folder;
}

QStringList components(const QString& relativePath)
{
    QString p = relativePath;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p.split(QLatin1Char('/'), Qt::SkipEmptyParts);
}

// The entry of `dir` named `name`, the exact name first, else ignoring case.
QString matchEntry(const QDir& dir, const QString& name)
{
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return name;
    if (QFileInfo::exists(dir.filePath(name)))
        return name;
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    return {};
}
}  // namespace

QString Pictures::root()
{
    {
        QMutexLocker lock(&rootMutex());
        if (!rootOverride().isEmpty())
            return rootOverride();
    }
    return QCoreApplication::applicationDirPath();
}

void Pictures::setRoot(const QString& folder)
{
    QMutexLocker lock(&rootMutex());
    rootOverride() = folder;
}

QString Pictures::locate(const QString& relativePath)
{
    QDir dir(root());
    QString path = dir.absolutePath();
    bool found = true;
    for (const QString& part : components(relativePath)) {
        const QString entry = found ? matchEntry(QDir(path), part) : QString();
        found = !entry.isEmpty();
        path = QDir(path).filePath(found ? entry : part);
    }
    return QDir::cleanPath(path);
}

QString Pictures::resolve(const QString& relativePath)
{
    if (components(relativePath).isEmpty())
        return {};
    const QString path = locate(relativePath);
    return QFileInfo(path).isFile() ? path : QString();
}

namespace {
QSize twipsFor(QSize pixels, int dotsPerMeter)
{
    double dpi = dotsPerMeter * 0.0254;
    if (dpi < 24 || dpi > 2400)
        dpi = 96;
    dpi = std::round(dpi);
    return QSize(int(std::lround(pixels.width() * 1440.0 / dpi)), int(std::lround(pixels.height() * 1440.0 / dpi)));
}

// What each way of preparing took, by kind of file, size drawn and size wanted: a few tries of every way,
// taken in turn so that a busy moment of the machine slows one try of each rather than every try of one,
// then the fastest one for good.
class Measures {
public:
    static constexpr int kTries = 3;
    using Way = Pictures::Way;

    static Measures& instance()
    {
        static Measures measures;
        return measures;
    }

    Way choose(const QString& key, const QList<Way>& ways)
    {
        QMutexLocker lock(&m_mutex);
        auto& times = m_times[key];
        Way fewest = ways.first();
        for (Way w : ways)
            if (times[int(w)].size() < times[int(fewest)].size())
                fewest = w;
        if (times[int(fewest)].size() < kTries)
            return fewest;
        Way best = ways.first();
        for (Way w : ways)
            if (fastest(times[int(w)]) < fastest(times[int(best)]))
                best = w;
        return best;
    }
    void record(const QString& key, Way way, qint64 ns)
    {
        QMutexLocker lock(&m_mutex);
        auto& list = m_times[key][int(way)];
        if (list.size() < kTries)
            list << ns;
    }
    void forget()
    {
        QMutexLocker lock(&m_mutex);
        m_times.clear();
    }

private:
    // The quickest try: the others were slowed by whatever else the machine was doing.
    static qint64 fastest(const QList<qint64>& list) { return *std::min_element(list.cbegin(), list.cend()); }

    QMutex m_mutex;
    QHash<QString, std::array<QList<qint64>, 4>> m_times;
};

// The display's own pixel formats, drawn without conversion.
QImage forDisplay(QImage image)
{
    if (image.isNull() || image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32_Premultiplied)
        return image;
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

// Brought to `size`, in the display's format. From half the size up to any enlargement, interpolating
// between the four nearest pixels looks on the course's drawings as averaging every pixel does (compared
// side by side, names included) for a quarter of the work; made smaller than half, a picture needs the
// average, or its thin lines would come and go.
QImage scaledTo(const QImage& image, QSize size)
{
    if (image.isNull() || !size.isValid() || image.size() == size)
        return forDisplay(image);
    QImage scaled;
    if (2 * size.width() >= image.width() && 2 * size.height() >= image.height()) {
        scaled = interpolated(forDisplay(image), size);
    } else {
        scaled = forDisplay(image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    scaled.setDotsPerMeterX(image.dotsPerMeterX());
    scaled.setDotsPerMeterY(image.dotsPerMeterY());
    return scaled;
}

// The size a JPEG decodes to at 1/`d` of its size: each side divided and rounded up.
QSize fraction(QSize full, int d)
{
    return QSize((full.width() + d - 1) / d, (full.height() + d - 1) / d);
}

// A JPEG decodes fast at 1/2, 1/4 and 1/8 of its size: the smallest of those that is still at least `want`
// (2, 4 or 8), or 0 when none is smaller than the picture.
int reducedBy(QSize full, QSize want)
{
    int best = 0;
    for (int d = 2; d <= 8; d *= 2) {
        const QSize s = fraction(full, d);
        if (s.width() < want.width() || s.height() < want.height())
            break;
        best = d;
    }
    return best;
}

// Reads and brings a picture to `target`. With `growToo` false a fixed size only ever makes a picture
// smaller, and only when it is smaller both ways (what a control that scales at paint time wants).
Pictures::Loaded prepareFrom(const QString& relativePath, const Pictures::Target& target, Pictures::Way way,
                             bool growToo)
{
    using Way = Pictures::Way;
    Pictures::Loaded result;
    const QString path = Pictures::resolve(relativePath);
    if (path.isEmpty()) {
        result.error = QStringLiteral("placche: immagine non trovata: %1").arg(relativePath);
        return result;
    }
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QSize full = reader.size();
    // A fixed size is known before reading; a natural one follows from the picture's resolution.
    QSize want = full.isValid() ? target.pixelsFor(QSize()) : QSize();
    if (want.isValid() && !growToo && (want.width() >= full.width() || want.height() >= full.height()))
        want = QSize();
    if (want == full)
        want = QSize();

    QList<Way> ways{Way::Whole};
    int reduced = 0;
    // Only a JPEG decodes faster at a smaller size; other readers that take a size decode whole and scale
    // the way this function would anyway, and some then report the resolution of the smaller picture.
    if (want.isValid() && want.width() <= full.width() && want.height() <= full.height()
        && reader.format() == "jpeg" && reader.supportsOption(QImageIOHandler::ScaledSize)) {
        ways << Way::Direct;
        reduced = reducedBy(full, want);
        if (reduced > 0 && fraction(full, reduced) != want)
            ways << Way::Reduced;
    }
    const QString key = QStringLiteral("%1 %2x%3 %4x%5")
                            .arg(QString::fromLatin1(reader.format()))
                            .arg(full.width())
                            .arg(full.height())
                            .arg(want.width())
                            .arg(want.height());
    if (way == Way::Auto || !ways.contains(way))
        way = ways.size() == 1 ? ways.first() : Measures::instance().choose(key, ways);

    QElapsedTimer clock;
    clock.start();
    // A JPEG is decoded straight into the display's format, unless it is one Qt's reader alone can read.
    QImage image;
    if (reader.format() == "jpeg" && way != Way::Direct)
        image = Jpeg::read(path, way == Way::Reduced ? reduced : 1);
    if (image.isNull()) {
        if (way == Way::Direct)
            reader.setScaledSize(want);
        else if (way == Way::Reduced)
            reader.setScaledSize(fraction(full, reduced));
        image = reader.read();
    }
    if (image.isNull()) {
        result.error = QStringLiteral("placche: immagine illeggibile: %1 (%2)").arg(path, reader.errorString());
        return result;
    }
    // The design size is the whole picture's, whatever size it was decoded at.
    result.twips = twipsFor(full.isValid() ? full : image.size(), image.dotsPerMeterX());
    if (!target.isWhole() && !want.isValid() && growToo)
        want = target.pixelsFor(result.twips);
    result.image = scaledTo(image, want);
    if (ways.size() > 1)
        Measures::instance().record(key, way, clock.nsecsElapsed());
    return result;
}
}  // namespace

QSize Pictures::designTwips(const QImage& image)
{
    return twipsFor(image.size(), image.dotsPerMeterX());
}

Pictures::Loaded Pictures::load(const QString& relativePath, QSize fitInto)
{
    const Loaded result = prepareFrom(relativePath, fitInto.isValid() ? Target::stretched(fitInto) : Target(),
                                      Way::Auto, false);
    if (!result.error.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(result.error));
    return result;
}

Pictures::Loaded Pictures::prepare(const QString& relativePath, const Target& target)
{
    return prepareFrom(relativePath, target, Way::Auto, true);
}

Pictures::Loaded Pictures::prepare(const QString& relativePath, const Target& target, Way way)
{
    return prepareFrom(relativePath, target, way, true);
}

void Pictures::forgetMeasures()
{
    Measures::instance().forget();
}

// --- Target ---

Pictures::Target Pictures::Target::stretched(QSize pixels)
{
    Target t;
    if (pixels.isValid() && !pixels.isEmpty()) {
        t.m_kind = Kind::Stretched;
        t.m_pixels = pixels;
    }
    return t;
}

Pictures::Target Pictures::Target::natural(const Scala& scala, const QRect& box, qreal devicePixelRatio)
{
    Target t;
    t.m_kind = Kind::Natural;
    t.m_factor = scala.factor();
    t.m_offset = scala.offset();
    t.m_box = box;
    t.m_dpr = devicePixelRatio;
    return t;
}

QSize Pictures::Target::twipsFor(QSize designTwips) const
{
    QSize size = designTwips;
    if (m_kind == Kind::Natural && size.isValid()
        && (size.width() > m_box.width() || size.height() > m_box.height()))
        size.scale(m_box.size(), Qt::KeepAspectRatio);
    return size;
}

QSize Pictures::Target::pixelsFor(QSize designTwips) const
{
    switch (m_kind) {
    case Kind::Whole:
        return {};
    case Kind::Stretched:
        return m_pixels;
    case Kind::Natural:
        if (!designTwips.isValid())
            return {};
        // The size the control gets when placed at the box's corner: edges rounded as the screen does.
        const QSize twips = twipsFor(designTwips);
        const QSize pixels = Scala(m_factor, m_offset).rect(QRect(m_box.topLeft(), twips)).size();
        return (QSizeF(pixels) * m_dpr).toSize();
    }
    return {};
}

bool Pictures::Target::operator==(const Target& other) const
{
    if (m_kind != other.m_kind)
        return false;
    switch (m_kind) {
    case Kind::Whole:
        return true;
    case Kind::Stretched:
        return m_pixels == other.m_pixels;
    case Kind::Natural:
        return m_factor == other.m_factor && m_offset == other.m_offset && m_box == other.m_box && m_dpr == other.m_dpr;
    }
    return false;
}

// --- ReadAhead ---

namespace {
// A helper thread gives way to the interface thread: on a machine with as many helpers as processors, a
// tick or a press would otherwise wait for a helper's time slice to end before it is handled. The threads
// Qt starts from a helper for its own image work inherit this, and the interface's painting sometimes runs
// on them too: measured, that costs a millisecond now and then on a synthesis tick, against much more
// given back to the viewer at its fastest.
void giveWayToTheInterface()
{
#if defined(Q_OS_LINUX)
    thread_local bool done = false;
    if (!done) {
        setpriority(PRIO_PROCESS, pid_t(syscall(SYS_gettid)), 5);
        done = true;
    }
#endif
}

// The helper threads of every read-ahead: two, so that at the fastest speeds the next picture is decoded
// while this one is; more would only hold more pictures in memory.
QThreadPool* readAheadPool()
{
    static QPointer<QThreadPool> pool;
    if (!pool) {
        pool = new QThreadPool(QCoreApplication::instance());
        pool->setMaxThreadCount(std::clamp(QThread::idealThreadCount(), 1, 2));
    }
    return pool;
}
}  // namespace

// One picture to prepare. Whoever claims it first prepares it: a helper thread, or the interface thread
// when a tick needs it before any helper took it up.
struct Pictures::ReadAhead::Job {
    enum class State { Waiting, Running, Ready, Dropped };

    QString name;
    Target target;
    QMutex mutex;
    QWaitCondition finished;
    State state = State::Waiting;
    Loaded result;
    // Who wants to hear when the picture is ready (the owner's screen, alive while the job is planned).
    QObject* context = nullptr;
    std::function<void()> ready;

    bool claim()
    {
        QMutexLocker lock(&mutex);
        if (state != State::Waiting)
            return false;
        state = State::Running;
        return true;
    }
    void run()
    {
        Loaded loaded = Pictures::prepare(name, target);
        QMutexLocker lock(&mutex);
        result = std::move(loaded);
        state = State::Ready;
        finished.wakeAll();
        if (context && ready)
            QMetaObject::invokeMethod(context, std::move(ready), Qt::QueuedConnection);
        forgetListener();
    }
    bool listen(QObject* to, std::function<void()> call)
    {
        QMutexLocker lock(&mutex);
        if (state != State::Waiting && state != State::Running)
            return false;
        context = to;
        ready = std::move(call);
        return true;
    }
    void stopListening()
    {
        QMutexLocker lock(&mutex);
        forgetListener();
    }
    void forgetListener()  // with the mutex held
    {
        context = nullptr;
        ready = nullptr;
    }
    Loaded wait()
    {
        QMutexLocker lock(&mutex);
        while (state == State::Running)
            finished.wait(&mutex);
        return result;
    }
    void drop()
    {
        QMutexLocker lock(&mutex);
        if (state == State::Waiting)
            state = State::Dropped;
        forgetListener();
    }
};

Pictures::ReadAhead::ReadAhead(int depth, int priority) : m_depth(std::max(0, depth)), m_priority(priority) {}

Pictures::ReadAhead::~ReadAhead()
{
    cancel();
}

void Pictures::ReadAhead::setDepth(int depth)
{
    m_depth = std::max(0, depth);
}

std::shared_ptr<Pictures::ReadAhead::Job> Pictures::ReadAhead::start(const QString& relativePath)
{
    auto job = std::make_shared<Job>();
    job->name = relativePath;
    job->target = m_target;
    // The helper holds the job: a preparation under way when the screen goes finishes into nothing.
    readAheadPool()->start(
        [job] {
            giveWayToTheInterface();
            if (job->claim())
                job->run();
        },
        m_priority);
    return job;
}

void Pictures::ReadAhead::drop(const std::shared_ptr<Job>& job)
{
    job->drop();
}

void Pictures::ReadAhead::plan(const QStringList& next, const Target& target)
{
    if (target != m_target) {
        cancel();
        m_target = target;
    }
    QStringList wanted;
    for (const QString& name : next) {
        if (wanted.size() >= m_depth)
            break;
        // The picture on screen comes again at no cost; a name counts once.
        if (name.isEmpty() || name == m_lastName || wanted.contains(name))
            continue;
        wanted << name;
    }
    QList<std::shared_ptr<Job>> jobs;
    for (const QString& name : wanted) {
        const auto it = std::find_if(m_jobs.cbegin(), m_jobs.cend(), [&](const auto& j) { return j->name == name; });
        jobs << (it != m_jobs.cend() ? *it : start(name));
    }
    for (const auto& job : std::as_const(m_jobs))
        if (!jobs.contains(job))
            drop(job);
    m_jobs = jobs;
}

Pictures::Loaded Pictures::ReadAhead::take(const QString& relativePath, const Target& target)
{
    if (target != m_target) {
        cancel();
        m_target = target;
    }
    if (relativePath.isEmpty() || relativePath != m_lastName) {
        const auto it = std::find_if(m_jobs.begin(), m_jobs.end(), [&](const auto& j) { return j->name == relativePath; });
        if (it != m_jobs.end()) {
            const std::shared_ptr<Job> job = *it;
            m_jobs.erase(it);
            job->stopListening();  // taken here: no call is awaited any more
            if (job->claim())
                job->run();
            m_last = job->wait();
        } else {
            m_last = Pictures::prepare(relativePath, target);
        }
        m_lastName = relativePath;
    }
    if (!m_last.error.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(m_last.error));
    return m_last;
}

bool Pictures::ReadAhead::whenReady(const QString& relativePath, const Target& target, QObject* context,
                                    std::function<void()> ready)
{
    if (target != m_target || relativePath.isEmpty() || relativePath == m_lastName)
        return false;
    const auto it = std::find_if(m_jobs.cbegin(), m_jobs.cend(), [&](const auto& j) { return j->name == relativePath; });
    return it != m_jobs.cend() && (*it)->listen(context, std::move(ready));
}

void Pictures::ReadAhead::cancel()
{
    for (const auto& job : std::as_const(m_jobs))
        drop(job);
    m_jobs.clear();
    m_lastName.clear();
    m_last = {};
}

QStringList Pictures::ReadAhead::pending() const
{
    QStringList names;
    for (const auto& job : m_jobs)
        names << job->name;
    return names;
}

bool Pictures::ReadAhead::waitForIdle(int msecs)
{
    return readAheadPool()->waitForDone(msecs);
}

}  // namespace ui
