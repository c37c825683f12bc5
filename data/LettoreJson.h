#pragma once

#include <QColor>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

namespace data {

// Reads the values of a course data file, remembering the first fault and where it is, so that a
// broken file is refused with one clear message instead of half read.
class LettoreJson {
public:
    QString errore;

    bool ok() const { return errore.isEmpty(); }
    void sbaglio(const QString& dove, const QString& cosa);

    // The object at the top of a file; a missing file or one that is not a JSON object is the fault.
    QJsonObject documento(const QString& file);
    // The same from text already read.
    QJsonObject documento(const QByteArray& json);

    // An object whose keys are all among `chiavi`: a misspelt key is a fault, not a silent default.
    QJsonObject oggetto(const QJsonValue& v, const QString& dove, const QStringList& chiavi);
    // A list of exactly `quante` values.
    QJsonArray elenco(const QJsonValue& v, const QString& dove, int quante);

    int intero(const QJsonValue& v, const QString& dove, int min, int max);
    bool booleano(const QJsonValue& v, const QString& dove);
    QString testo(const QJsonValue& v, const QString& dove);
    // A text with something besides blanks in it.
    QString testoPieno(const QJsonValue& v, const QString& dove);
    // A text as a list of lines joined by single carriage returns.
    QString righe(const QJsonValue& v, const QString& dove);
    QRect rettangolo(const QJsonValue& v, const QString& dove);
    QPoint punto(const QJsonValue& v, const QString& dove);
    QColor colore(const QJsonValue& v, const QString& dove);
};

}  // namespace data
