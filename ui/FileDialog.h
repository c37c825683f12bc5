#pragma once

#include <QList>
#include <QString>

namespace ui {

// The one door to the save-file dialog. Screens never call Qt's dialog: tests say in advance which file
// the next dialog chooses, and read back what it offered.
class FileDialog {
public:
    // A modal save dialog offering `proposto` (a bare file name, placed in the user's documents folder,
    // else the home folder) with a `filtro` such as "File CSV (*.csv)". The chosen path, or the empty
    // text when the user cancelled.
    static QString salva(const QString& titolo, const QString& proposto, const QString& filtro);

    // --- for tests ---
    struct Shown {
        QString titolo;
        QString proposto;
    };
    // From now on no real dialog opens: each takes the next path set in advance, or, with none left,
    // is cancelled.
    static void setScripted(bool scripted);
    static void setNextFile(const QString& path);  // an empty path: the dialog is cancelled
    static QList<Shown> shown();
    static void clear();
};

}  // namespace ui
