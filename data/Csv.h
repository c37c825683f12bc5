#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QVariant>
#include <QVector>

#include <functional>

namespace data {

// Results as a file that the spreadsheets of Italian schools open by a double click: UTF-8 with a
// byte-order mark, ";" between cells (the comma is the decimal mark), CRLF line ends, RFC 4180 quoting,
// dates as dd/mm/yyyy, numbers as numbers with a decimal comma. A text that a spreadsheet would take
// for a formula (it begins with = + - @, a tab or a carriage return) gets an apostrophe in front, so a
// pupil's "name" never runs on the teacher's computer.
namespace Csv {

// A number as an Italian reads it: a whole number plainly, else its decimals after a comma, without
// trailing zeros. The archives show numbers the same way.
QByteArray numero(double d);
// One cell: a number or a date when the value is one, text otherwise.
QByteArray cella(const QVariant& valore);
QByteArray riga(const QVariantList& valori);

// Writes the heading and then the rows that `prossime` gives, a chunk at a time (an empty chunk ends
// the file), to `percorso`, replacing what was there only once everything is written. False with an
// Italian `errore` when the file could not be written or `prossime` failed (its reason in `errore`).
using Prossime = std::function<bool(QVector<QVariantList>* righe, QString* errore)>;
bool scrivi(const QString& percorso, const QStringList& intestazione, const Prossime& prossime, QString* errore);
bool scrivi(const QString& percorso, const QStringList& intestazione, const QVector<QVariantList>& righe,
            QString* errore);

// The name a saved file is offered under: `inizio` followed by the day, e.g. "risultati-2026-12-07.csv".
QString nomeProposto(const QString& inizio, const QDate& giorno);

}  // namespace Csv

}  // namespace data
