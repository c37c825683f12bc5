#pragma once

#include "ui/Twips.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QObject;

namespace ui {

// Pictures and the course files are named relative to the program's folder, with backslashes, and the
// same file is sometimes named with other letter case: every path component is matched ignoring case.
class Pictures {
public:
    // The folder that relative names start from: the program's own folder unless a test set another.
    static QString root();
    static void setRoot(const QString& folder);  // empty: back to the program's folder

    // The existing file that `relativePath` names, or an empty string.
    static QString resolve(const QString& relativePath);
    // Where `relativePath` is or would be: existing components matched ignoring case, the rest as written.
    static QString locate(const QString& relativePath);

    // A picture and its design size in twips. A picture records its resolution: one drawn at 192 dots an
    // inch shows at half its pixel size, so that it stays crisp on a large display. Files that state no
    // resolution count as 96 dots an inch (one pixel, 15 twips).
    struct Loaded {
        QImage image;
        QSize twips;
        QString error;  // why the picture is empty: the line written on stderr when it is shown
        bool isNull() const { return image.isNull(); }
    };
    // A missing or unreadable file gives a null picture and one line on stderr naming it. With a
    // `fitInto` size smaller than the picture both ways, the picture comes out at exactly that size, by
    // the faster way of getting there (see prepare()).
    static Loaded load(const QString& relativePath, QSize fitInto = {});
    static QSize designTwips(const QImage& image);

    // The size, in device pixels, a picture is prepared at for the control that shows it.
    class Target {
    public:
        Target() = default;  // as decoded, whole
        // Stretched to a control of this many device pixels.
        static Target stretched(QSize pixels);
        // At its own design size, made smaller in shape if it would not fit into `box` (twips), at the
        // screen's scale: the control is placed at the box's top left with twipsFor() as its size.
        static Target natural(const Scala& scala, const QRect& box, qreal devicePixelRatio);

        QSize twipsFor(QSize designTwips) const;
        QSize pixelsFor(QSize designTwips) const;
        bool isWhole() const { return m_kind == Kind::Whole; }
        bool operator==(const Target& other) const;
        bool operator!=(const Target& other) const { return !(*this == other); }

    private:
        enum class Kind { Whole, Stretched, Natural };
        Kind m_kind = Kind::Whole;
        QSize m_pixels;
        double m_factor = 1.0;
        QPoint m_offset;
        QRect m_box;
        qreal m_dpr = 1.0;
    };
    // Reads a picture and brings it to `target`, in the display's pixel format, writing nothing on stderr;
    // safe on any thread. The way is chosen by measuring: a picture shown smaller than it is drawn is either
    // decoded straight at that size by Qt's reader (fast for a JPEG only at 1/2, 1/4 or 1/8), decoded whole
    // and scaled once, or, for a JPEG, decoded at the nearest of those fractions above and scaled once. A
    // JPEG decoded whole or at a fraction is read by ui::Jpeg. The first few pictures of each kind and size
    // try every way; the fastest is kept for the rest.
    static Loaded prepare(const QString& relativePath, const Target& target);
    // The ways, for the benchmarks and the tests: Auto is the measured choice.
    enum class Way { Auto, Whole, Direct, Reduced };
    static Loaded prepare(const QString& relativePath, const Target& target, Way way);
    // Forgets what was measured (tests).
    static void forgetMeasures();

    // A small read-ahead for a picture control that a timer or a button moves through a series: it
    // prepares the next pictures on helper threads while the interface thread is idle, so that a tick
    // only swaps in a ready picture. It holds at most `depth` pictures besides the one on screen.
    class ReadAhead {
    public:
        // A read-ahead with a higher `priority` has its pictures prepared before those of the others (a
        // button the pupil presses before a clock that runs by itself).
        explicit ReadAhead(int depth = 2, int priority = 0);
        ~ReadAhead();
        ReadAhead(const ReadAhead&) = delete;
        ReadAhead& operator=(const ReadAhead&) = delete;

        int depth() const { return m_depth; }
        void setDepth(int depth);  // takes effect at the next plan

        // The pictures the next ticks will show, in order, at `target`. Pictures no longer named within the
        // depth are dropped; the missing ones are started. Another target drops everything.
        void plan(const QStringList& next, const Target& target);
        // The picture to show now: the prepared one, or, when it is not ready, prepared here and now (a
        // preparation already under way is waited for). A missing or broken picture writes its line on
        // stderr, once a call, as loading it would.
        Loaded take(const QString& relativePath, const Target& target);
        // For a clock that must not hold the screen: true when `relativePath` is planned and still being
        // prepared, and then `ready` runs on `context`'s thread once it is (a later call replaces an earlier
        // one; dropping the picture forgets it). False when take() can give it at once, or would have to
        // prepare it there and then.
        bool whenReady(const QString& relativePath, const Target& target, QObject* context,
                       std::function<void()> ready);
        // Drops everything prepared or under way: the sequence is another, or the screen is left.
        void cancel();

        // The names prepared or under way, in plan order (tests).
        QStringList pending() const;
        // Waits until no picture is being prepared by any read-ahead (tests, benchmarks).
        static bool waitForIdle(int msecs = -1);

    private:
        struct Job;
        std::shared_ptr<Job> start(const QString& relativePath);
        void drop(const std::shared_ptr<Job>& job);

        int m_depth;
        int m_priority;
        Target m_target;
        QList<std::shared_ptr<Job>> m_jobs;
        // The picture taken last, for a series that shows the same file on two ticks running.
        QString m_lastName;
        Loaded m_last;
    };
};

}  // namespace ui
