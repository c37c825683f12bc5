#include "ui/Printer.h"

#include "ui/Fonts.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>

#include <cmath>
#include <limits>

namespace ui {

namespace {
struct Recording {
    bool on = false;
    QString pdfFile;
    bool keepLines = true;
    bool cancelNext = false;
    QList<Printer::Job> jobs;
};

Recording& recording()
{
    static Recording r;
    return r;
}

QString scratchPdf()
{
    static QTemporaryDir dir;
    return dir.filePath(QStringLiteral("stampa.pdf"));
}

// The lines laid out by a painter that is already on its device; the caller ends (or abandons) the job.
Printer::Layout layOutWith(QPainter& painter, QPaintDevice& device, const QFont& font, const Printer::LineSource& next,
                           bool keepLines)
{
    Printer::Layout out;
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(painter.font(), &device);
    const double column = metrics.averageCharWidth();
    const double blank = metrics.horizontalAdvance(QLatin1Char(' '));
    const double lineHeight = metrics.lineSpacing();
    const double width = device.width();
    const double height = device.height();
    auto* paged = dynamic_cast<QPagedPaintDevice*>(&device);

    out.pages = 1;
    double y = 0;
    bool pageUsed = false;
    PrintLine placed;
    double end = -std::numeric_limits<double>::infinity();  // where the text of the line so far ends

    auto startLine = [&] {
        if (paged && pageUsed && y + lineHeight > height) {
            paged->newPage();
            ++out.pages;
            y = 0;
        }
        pageUsed = true;
    };
    auto closeLine = [&] {
        if (keepLines)
            out.lines.append(placed);
        placed.clear();
        end = -std::numeric_limits<double>::infinity();
        y += lineHeight;
    };

    PrintLine line;
    for (;;) {
        line.clear();
        const Printer::Next got = next(line);
        if (got == Printer::Next::End)
            break;
        if (got == Printer::Next::Failed) {
            out.complete = false;
            break;
        }
        startLine();
        for (const PrintItem& item : std::as_const(line)) {
            QString text = item.text;
            text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
            if (text.isEmpty())
                continue;  // prints nothing, so it neither moves nor breaks the line
            const int at = std::max(1, item.column);
            const double x = (at - 1) * column;
            if (end + blank > x) {
                closeLine();
                startLine();
            }
            const double room = std::max(0.0, width - x);
            double advance = metrics.horizontalAdvance(text);
            if (advance > room) {
                text = metrics.elidedText(text, Qt::ElideRight, room);
                advance = metrics.horizontalAdvance(text);
            }
            painter.drawText(QPointF(x, y + metrics.ascent()), text);
            if (keepLines)
                placed.append({at, text});
            end = x + advance;
        }
        closeLine();
    }
    return out;
}
}  // namespace

QFont Printer::font()
{
    QFont f(Fonts::faceFor(QStringLiteral("Arial")));
    f.setPointSizeF(10);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

Printer::Layout Printer::layOut(QPaintDevice& device, const QFont& font, const LineSource& next)
{
    QPainter painter;
    if (!painter.begin(&device)) {
        Layout none;
        none.complete = false;
        return none;
    }
    Layout out = layOutWith(painter, device, font, next, true);
    painter.end();
    return out;
}

Printer::Outcome Printer::print(const QString& jobName, const QList<PrintLine>& lines, QString* error)
{
    qsizetype i = 0;
    return print(
        jobName,
        [&](PrintLine& line) {
            if (i >= lines.size())
                return Next::End;
            line = lines.at(i++);
            return Next::Line;
        },
        error);
}

Printer::Outcome Printer::print(const QString& jobName, const LineSource& next, QString* error)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(jobName);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);

    Recording& r = recording();
    if (r.on) {
        if (r.cancelNext) {
            r.cancelNext = false;
            return Outcome::Cancelled;
        }
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(r.pdfFile.isEmpty() ? scratchPdf() : r.pdfFile);
    } else {
        QPrintDialog dialog(&printer, QApplication::activeWindow());
        dialog.setWindowTitle(QStringLiteral("Stampa: %1").arg(jobName));
        if (dialog.exec() != QDialog::Accepted)
            return Outcome::Cancelled;
    }

    // A long list takes a while to lay out: the pointer says so.
    struct Attesa {
        Attesa() { QApplication::setOverrideCursor(Qt::WaitCursor); }
        ~Attesa() { QApplication::restoreOverrideCursor(); }
    } attesa;
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (error)
            *error = QStringLiteral("la stampante non si può usare (è accesa e collegata?)");
        return Outcome::Failed;
    }
    // A real job keeps nothing: a long list goes to paper without being held in memory.
    Job job{jobName, layOutWith(painter, printer, font(), next, r.on && r.keepLines), false};
    if (!job.layout.complete) {
        printer.abort();
        painter.end();
        if (r.on)
            r.jobs.append(job);
        if (error)
            *error = QStringLiteral("l'elenco non si è potuto leggere fino in fondo, la stampa è stata annullata");
        return Outcome::Failed;
    }
    job.ended = painter.end();
    if (r.on)
        r.jobs.append(job);
    if (!job.ended) {
        if (error)
            *error = QStringLiteral("la stampante non ha accettato il documento");
        return Outcome::Failed;
    }
    return Outcome::Printed;
}

void Printer::setRecording(bool on, const QString& pdfFile, bool keepLines)
{
    Recording& r = recording();
    r.on = on;
    r.pdfFile = pdfFile;
    r.keepLines = keepLines;
    r.cancelNext = false;
}

void Printer::setNextCancelled()
{
    recording().cancelNext = true;
}

QList<Printer::Job> Printer::jobs()
{
    return recording().jobs;
}

void Printer::clearJobs()
{
    recording().jobs.clear();
}

}  // namespace ui
