#pragma once

#include <QFont>
#include <QList>
#include <QString>

#include <functional>

class QPaintDevice;

namespace ui {

// One item of a printed line, at its character column (the first column is 1).
struct PrintItem {
    int column = 1;
    QString text;
    bool operator==(const PrintItem&) const = default;
};
using PrintLine = QList<PrintItem>;

// The one door to the printer. Screens hand over their lines; the lines reach the real printer through
// the system's print dialog (which also offers printing to a PDF file). Tests record the lines instead.
class Printer {
public:
    enum class Next { Line, End, Failed };
    // Gives the lines one at a time, so that a long list need not be held whole: Line with the next
    // line in `line`, End after the last, Failed when the rest cannot be read (its reason kept by the
    // caller).
    using LineSource = std::function<Next(PrintLine& line)>;

    struct Layout {
        QList<PrintLine> lines;  // as they came out: an item pushed past its column starts a line of its own
        int pages = 0;  // 0 when the device could not be painted on
        bool complete = true;  // false when the source failed half-way, or the device could not be painted on
    };

    // The printer's font: Arial (its metric twin) at 10 points.
    static QFont font();

    // Lays the lines out on `device` in `font`, one under the other from the top of the page. Columns are
    // counted in average character widths of the font on that device. An item whose column the line has
    // already passed (text ending less than a blank before it) moves to that column on the next line; an
    // item longer than the room left on the paper is cut short with an ellipsis. A full page goes on to a
    // new page on devices that have pages; on others the lines past the bottom are only recorded.
    static Layout layOut(QPaintDevice& device, const QFont& font, const LineSource& next);

    enum class Outcome { Printed, Cancelled, Failed };
    // A print job named `jobName`: the print dialog, then the lines, then the end of the job, which sends
    // the document to the printer. Cancelled when the user closed the dialog; Failed with `error`, in
    // Italian, when the printer could not be used or the source failed (the job is then abandoned).
    static Outcome print(const QString& jobName, const LineSource& next, QString* error);
    static Outcome print(const QString& jobName, const QList<PrintLine>& lines, QString* error);

    // --- for tests ---
    struct Job {
        QString name;
        Layout layout;
        bool ended = false;  // the job was closed and handed to the printer
    };
    // From now on no dialog opens: each job is printed on a PDF printer (into `pdfFile`, or a scratch
    // file when empty) and recorded, with the lines as laid out unless `keepLines` is false.
    static void setRecording(bool recording, const QString& pdfFile = {}, bool keepLines = true);
    static void setNextCancelled();  // the next dialog is closed without printing
    static QList<Job> jobs();
    static void clearJobs();
};

}  // namespace ui
