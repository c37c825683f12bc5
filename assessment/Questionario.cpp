#include "assessment/Questionario.h"

#include <algorithm>

namespace Questionario {

PaginaMescolata ordinecasuale(const std::array<QString, 11>& domande, const std::array<qint16, 11>& soluzioni,
                              const std::function<double()>& uniforme)
{
    PaginaMescolata pagina;
    // Rows are marked as taken apart from their text, so that even an empty statement cannot make the
    // drawing go on for ever.
    std::array<bool, 11> preso{};
    for (int i = 1; i <= 10; ++i) {
        int x = 0;
        do {
            x = int(uniforme() * 10 + 1);
            x = std::clamp(x, 1, 10);
        } while (preso[x]);
        pagina.testi[i] = domande[x];
        pagina.codici[i] = soluzioni[x];
        preso[x] = true;
    }
    return pagina;
}

QString difettoPagina(data::Recordset& rs, int pagina)
{
    const auto intestazione = [&] {
        return QStringLiteral("La pagina %1 della tabella di domande \"%2\" non si può usare: ").arg(pagina).arg(rs.table());
    };
    const auto coda = QStringLiteral("\n\nLa pagina viene saltata. Avvisa l'insegnante.");
    if (rs.fieldCount() < 22)
        return intestazione() + QStringLiteral("la tabella non ha le colonne delle domande.") + coda;
    for (int i = 1; i <= 10; ++i) {
        const QVariant testo = rs.Fields(i + 1);
        if (testo.isNull() || testo.toString().trimmed().isEmpty())
            return intestazione() + QStringLiteral("manca l'affermazione numero %1.").arg(i) + coda;
        const QVariant codice = rs.Fields(i + 11);
        bool numero = false;
        const int valore = codice.toString().trimmed().toInt(&numero);
        if (codice.isNull() || !numero)
            return intestazione() + QStringLiteral("manca la risposta giusta dell'affermazione numero %1.").arg(i) + coda;
        if (valore != 0 && valore != 1)
            return intestazione() +
                   QStringLiteral("la risposta giusta dell'affermazione numero %1 non è né 1 (vero) né 0 (falso).").arg(i) +
                   coda;
    }
    if (rs.Fields(QStringLiteral("argomento")).toString().trimmed().isEmpty())
        return intestazione() + QStringLiteral("manca il titolo della pagina.") + coda;
    return {};
}

}  // namespace Questionario
