#include "ui/FileDialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

#include <deque>

namespace ui {

namespace {
struct Script {
    bool scripted = false;
    std::deque<QString> files;
    QList<FileDialog::Shown> shown;
};

Script& script()
{
    static Script s;
    return s;
}
}  // namespace

QString FileDialog::salva(const QString& titolo, const QString& proposto, const QString& filtro)
{
    Script& s = script();
    if (s.scripted) {
        s.shown.append({titolo, proposto});
        if (s.files.empty())
            return {};
        const QString file = s.files.front();
        s.files.pop_front();
        return file;
    }
    QString cartella = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (cartella.isEmpty() || !QDir(cartella).exists())
        cartella = QDir::homePath();
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), titolo, QDir(cartella).filePath(proposto),
                                        filtro);
}

void FileDialog::setScripted(bool scripted)
{
    script().scripted = scripted;
}

void FileDialog::setNextFile(const QString& path)
{
    script().files.push_back(path);
}

QList<FileDialog::Shown> FileDialog::shown()
{
    return script().shown;
}

void FileDialog::clear()
{
    script().files.clear();
    script().shown.clear();
}

}  // namespace ui
