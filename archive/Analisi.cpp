#include "archive/Analisi.h"

#include "app/Sessione.h"
#include "data/Clock.h"
#include "data/Csv.h"
#include "data/PupilNames.h"
#include "ui/BusyCursor.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "ui/Screens.h"

#include <QFontMetricsF>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

#include <cmath>

namespace {
const QColor kSabbia(226, 214, 192);
const QColor kColoreListe(255, 224, 192);
const ui::FontSpec kFontPulsanti{QStringLiteral("Arial"), 9, true};
const ui::FontSpec kFontTitolo{QStringLiteral("Arial"), 14, true};
const ui::FontSpec kFontEtichette{QStringLiteral("Arial"), 9, true};
const ui::FontSpec kFontControlli{QStringLiteral("Arial"), 9};
constexpr int kRuoloQuota = Qt::UserRole + 1;

// On paper, in character columns of the printer's font.
constexpr int kCartaTesto = 5;
constexpr int kCartaAlunni = 58;
constexpr int kCartaGiuste = 65;
constexpr int kCartaBarra = 72;
constexpr int kLarghezzaTesto = 51;  // the statement wraps within this many columns
constexpr int kLarghezzaBarra = 8;   // blocks of the bar, each wider than an average character
constexpr int kCartaNome = 1;
constexpr int kLarghezzaNome = 22;
constexpr int kCartaPrimaColonna = 25;
constexpr int kPassoColonne = 6;

QString percento(double quota)
{
    return QStringLiteral("%1%").arg(std::lround(quota * 100));
}

// The bar of a share right, in characters that print with any font of the program.
QString barra(double quota)
{
    const int piene = int(std::lround(quota * kLarghezzaBarra));
    return QString(piene, QChar(0x2588)) + QString(kLarghezzaBarra - piene, QChar(0x2591));
}

// `testo` in lines no wider than `colonne` average characters of the printer's font.
QStringList aCapo(const QString& testo, int colonne)
{
    const QFontMetricsF m(ui::Printer::font());
    const double massimo = colonne * m.averageCharWidth();
    QStringList righe;
    QString riga;
    for (const QString& parola : testo.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString prova = riga.isEmpty() ? parola : riga + QLatin1Char(' ') + parola;
        if (!riga.isEmpty() && m.horizontalAdvance(prova) > massimo) {
            righe << riga;
            riga = parola;
        } else {
            riga = prova;
        }
    }
    if (!riga.isEmpty() || righe.isEmpty())
        righe << riga;
    for (QString& r : righe)
        r = m.elidedText(r, Qt::ElideRight, massimo);
    return righe;
}

QString tagliaNome(const QString& nome, int colonne)
{
    const QFontMetricsF m(ui::Printer::font());
    return m.elidedText(nome.simplified(), Qt::ElideRight, colonne * m.averageCharWidth());
}

QString testoCella(const AnalisiRisposte::Cella& c, int colonna)
{
    if (c.vuota())
        return {};
    const QString p = QStringLiteral("%1%").arg(std::lround(c.percentuale()));
    if (colonna == AnalisiRisposte::kSommativa)
        return p + QLatin1Char(' ') + Sessione::valutazionePer(c.percentuale());
    return p;
}

double unDecimale(double x)
{
    return std::round(x * 10.0) / 10.0;
}

// The bar of each statement, drawn in its cell on the colour scale of the grid.
class DelegatoBarra : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, QModelIndex());
        const QVariant v = index.data(kRuoloQuota);
        if (!v.isValid())
            return;
        const double quota = v.toDouble();
        const QRect area = option.rect.adjusted(4, 4, -4, -4);
        painter->save();
        painter->setPen(Qt::NoPen);
        painter->setBrush(QColor(255, 255, 255));
        painter->drawRect(area);
        painter->setBrush(Analisi::colore(quota));
        painter->drawRect(QRect(area.topLeft(), QSize(int(area.width() * quota), area.height())));
        painter->setPen(QColor(90, 90, 90));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(area.adjusted(0, 0, -1, -1));
        painter->restore();
    }
};
}  // namespace

Analisi::Analisi(Sessione& sessione) : ui::Form(QString::fromLatin1(kNome)), m_sessione(sessione)
{
    setCaption(QStringLiteral("ANALISI DELLE RISPOSTE"));
    setBackColor(kSabbia);
    lblTitolo = addLabel(QStringLiteral("lblTitolo"), QStringLiteral("ANALISI DELLE RISPOSTE"), {600, 120, 10800, 480},
                         kFontTitolo);
    lblTitolo->setCentred(true);

    lblPeriodo = addLabel(QStringLiteral("lblPeriodo"), QStringLiteral("Periodo:"), {600, 720, 900, 360}, kFontEtichette);
    cboPeriodo = addControl(new QComboBox, QStringLiteral("cboPeriodo"), {1500, 720, 2900, 360}, kFontControlli);
    cboPeriodo->addItems({QStringLiteral("oggi"), QStringLiteral("questa settimana"),
                          QStringLiteral("quest'anno scolastico"), QStringLiteral("dal ... al ...")});
    cboPeriodo->setAccessibleName(QStringLiteral("Periodo"));
    lblDal = addLabel(QStringLiteral("lblDal"), QStringLiteral("dal"), {4500, 720, 400, 360}, kFontEtichette);
    txtDal = addControl(new QDateEdit, QStringLiteral("txtDal"), {4900, 720, 1500, 360}, kFontControlli);
    lblAl = addLabel(QStringLiteral("lblAl"), QStringLiteral("al"), {6500, 720, 300, 360}, kFontEtichette);
    txtAl = addControl(new QDateEdit, QStringLiteral("txtAl"), {6800, 720, 1500, 360}, kFontControlli);
    for (QDateEdit* d : {txtDal, txtAl}) {
        d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        d->setCalendarPopup(true);
    }
    txtDal->setAccessibleName(QStringLiteral("Dal giorno"));
    txtAl->setAccessibleName(QStringLiteral("Al giorno"));
    lblAlunno = addLabel(QStringLiteral("lblAlunno"), QStringLiteral("Alunno:"), {8500, 720, 800, 360}, kFontEtichette);
    cboAlunno = addControl(new QComboBox, QStringLiteral("cboAlunno"), {9300, 720, 2100, 360}, kFontControlli);
    cboAlunno->setAccessibleName(QStringLiteral("Alunno"));

    cmdaffermazioni = addButton(QStringLiteral("cmdaffermazioni"), QStringLiteral("LE AFFERMAZIONI"),
                                {600, 1200, 2600, 435}, kFontPulsanti);
    cmdclasse = addButton(QStringLiteral("cmdclasse"), QStringLiteral("LA CLASSE"), {3300, 1200, 2600, 435},
                          kFontPulsanti);
    for (ui::Button* b : {cmdaffermazioni, cmdclasse})
        b->setCheckable(true);
    lblProva = addLabel(QStringLiteral("lblProva"), QStringLiteral("Test:"), {6100, 1237, 600, 360}, kFontEtichette);
    cboProva = addControl(new QComboBox, QStringLiteral("cboProva"), {6700, 1237, 4700, 360}, kFontControlli);
    cboProva->setAccessibleName(QStringLiteral("Test"));

    tblAffermazioni = addControl(new QTableWidget(0, 4), QStringLiteral("tblAffermazioni"), {600, 1800, 10800, 5550},
                                 kFontControlli);
    tblAffermazioni->setHorizontalHeaderLabels(
        {QStringLiteral("Affermazione"), QStringLiteral("Alunni"), QStringLiteral("Giuste"), QStringLiteral("Quota giuste")});
    tblAffermazioni->setAccessibleName(QStringLiteral("Affermazioni, le più sbagliate per prime"));
    tblAffermazioni->setItemDelegateForColumn(3, new DelegatoBarra(tblAffermazioni));
    tblAffermazioni->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    tblAffermazioni->setWordWrap(true);
    tblClasse = addControl(new QTableWidget(0, 1 + AnalisiRisposte::kColonne), QStringLiteral("tblClasse"),
                           {600, 1800, 10800, 5550}, kFontControlli);
    QStringList titoli{QStringLiteral("Alunno")};
    for (int c = 0; c < AnalisiRisposte::kColonne; ++c)
        titoli << AnalisiRisposte::titoloColonna(c);
    tblClasse->setHorizontalHeaderLabels(titoli);
    tblClasse->setAccessibleName(QStringLiteral("Ultimo punteggio di ogni alunno"));
    tblClasse->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (QTableWidget* t : {tblAffermazioni, tblClasse}) {
        t->setEditTriggers(QAbstractItemView::NoEditTriggers);
        t->setSelectionBehavior(QAbstractItemView::SelectRows);
        t->setSelectionMode(QAbstractItemView::SingleSelection);
        t->setTabKeyNavigation(false);  // Tab leaves the table, the arrows move inside it
        t->verticalHeader()->setVisible(t == tblAffermazioni);
        QPalette pal = t->palette();
        pal.setColor(QPalette::Base, kColoreListe);
        t->setPalette(pal);
    }

    lblStato = addLabel(QStringLiteral("lblStato"), QString(), {600, 7380, 10800, 480}, kFontControlli);
    lblStato->setWordWrap(true);
    // The captions stand level with the controls they name.
    for (ui::Label* l : {lblPeriodo, lblDal, lblAl, lblAlunno, lblProva})
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    cmdstampa = addButton(QStringLiteral("cmdstampa"), QStringLiteral("STAMPO"), {600, 7920, 2600, 495}, kFontPulsanti);
    cmdesporto = addButton(QStringLiteral("cmdesporto"), QStringLiteral("ESPORTO"), {3300, 7920, 2600, 495},
                           kFontPulsanti);
    cmdtorna = addButton(QStringLiteral("cmdtorna"), QStringLiteral("Torno all'archivio"), {8800, 7920, 2600, 495},
                         kFontPulsanti);

    connect(cmdaffermazioni, &ui::Button::clicked, this, &Analisi::cmdaffermazioni_Click);
    connect(cmdclasse, &ui::Button::clicked, this, &Analisi::cmdclasse_Click);
    connect(cmdstampa, &ui::Button::clicked, this, &Analisi::cmdstampa_Click);
    connect(cmdesporto, &ui::Button::clicked, this, &Analisi::cmdesporto_Click);
    connect(cmdtorna, &ui::Button::clicked, this, &Analisi::cmdtorna_Click);
    connect(cboPeriodo, &QComboBox::currentIndexChanged, this, [this] {
        const bool intervallo = cboPeriodo->currentIndex() == int(AnalisiRisposte::Periodo::Tipo::Intervallo);
        txtDal->setEnabled(intervallo);
        txtAl->setEnabled(intervallo);
        aggiorna();
    });
    connect(txtDal, &QDateEdit::dateChanged, this, &Analisi::aggiorna);
    connect(txtAl, &QDateEdit::dateChanged, this, &Analisi::aggiorna);
    connect(cboAlunno, &QComboBox::currentIndexChanged, this, &Analisi::aggiorna);
    connect(cboProva, &QComboBox::currentIndexChanged, this, &Analisi::mostraAffermazioni);
}

void Analisi::Form_Load()
{
    m_carico = true;
    const QDate oggi = data::Clock::today();
    const auto anno = AnalisiRisposte::Periodo::di(AnalisiRisposte::Periodo::Tipo::AnnoScolastico, oggi);
    txtDal->setDate(anno.dal);
    txtAl->setDate(oggi);
    txtDal->setEnabled(false);
    txtAl->setEnabled(false);
    cboPeriodo->setCurrentIndex(int(AnalisiRisposte::Periodo::Tipo::AnnoScolastico));
    riempiAlunni();
    m_carico = false;
    m_vista = Vista::Affermazioni;
    aggiorna();
}

void Analisi::apriDa(const QString& archivio, const std::optional<QString>& alunno)
{
    m_archivio = archivio;
    if (!alunno)
        return;
    const QString chiave = data::PupilNames::key(*alunno);
    for (int i = 1; i < cboAlunno->count(); ++i)
        if (data::PupilNames::key(cboAlunno->itemText(i)) == chiave) {
            cboAlunno->setCurrentIndex(i);
            return;
        }
}

void Analisi::avvisa(const QString& testo)
{
    ui::MessageBox::message(testo, ui::MessageBox::Ok);
}

void Analisi::riempiAlunni()
{
    const QString prima = cboAlunno->currentIndex() > 0 ? cboAlunno->currentText() : QString();
    cboAlunno->clear();
    cboAlunno->addItem(QStringLiteral("tutti"));
    if (m_sessione.dbcorso) {
        QString errore;
        cboAlunno->addItems(AnalisiRisposte::alunni(m_sessione.dbcorso->connection(), &errore));
    }
    const int at = prima.isEmpty() ? 0 : cboAlunno->findText(prima);
    cboAlunno->setCurrentIndex(std::max(0, at));
}

AnalisiRisposte::Filtro Analisi::filtro() const
{
    AnalisiRisposte::Filtro f;
    const auto tipo = AnalisiRisposte::Periodo::Tipo(std::clamp(cboPeriodo->currentIndex(), 0, 3));
    f.periodo = AnalisiRisposte::Periodo::di(tipo, data::Clock::today(), txtDal->date(), txtAl->date());
    if (cboAlunno->currentIndex() > 0)
        f.alunno = cboAlunno->currentText();
    return f;
}

QString Analisi::provaScelta() const
{
    return cboProva->currentData().toString();
}

void Analisi::aggiorna()
{
    if (m_carico)
        return;
    if (!m_sessione.dbcorso) {
        lblStato->setCaption(QStringLiteral("L'archivio dei risultati non è aperto."));
        return;
    }
    QString errore;
    bool letto = false;
    {
        ui::BusyCursor attesa;
        letto = m_analisi.carica(m_sessione.dbcorso->connection(), filtro(), &errore);
    }
    if (!letto) {
        m_analisi = AnalisiRisposte();
        avvisa(QStringLiteral("Non riesco a leggere le risposte dell'archivio: %1.").arg(errore));
    }
    riempiProve();
    mostraClasse();
    mostraVista();
}

void Analisi::riempiProve()
{
    const QString prima = provaScelta();
    const bool vecchio = m_carico;
    m_carico = true;
    cboProva->blockSignals(true);
    cboProva->clear();
    for (const QString& p : m_analisi.prove())
        cboProva->addItem(AnalisiRisposte::nomeProva(p), p);
    const int at = cboProva->findData(prima);
    cboProva->setCurrentIndex(at >= 0 ? at : (cboProva->count() > 0 ? 0 : -1));
    cboProva->blockSignals(false);
    m_carico = vecchio;
    mostraAffermazioni();
}

void Analisi::mostraAffermazioni()
{
    const auto elenco = m_analisi.affermazioni(provaScelta());
    tblAffermazioni->setRowCount(int(elenco.size()));
    for (int r = 0; r < elenco.size(); ++r) {
        const auto& a = elenco.at(r);
        auto* testo = new QTableWidgetItem(a.testo);
        testo->setToolTip(a.testo);
        auto* alunni = new QTableWidgetItem(QString::number(a.alunni));
        alunni->setTextAlignment(Qt::AlignCenter);
        auto* giuste = new QTableWidgetItem(percento(a.quota()));
        giuste->setTextAlignment(Qt::AlignCenter);
        giuste->setToolTip(QStringLiteral("%1 alunni su %2 hanno risposto giusto l'ultima volta").arg(a.giuste).arg(a.alunni));
        auto* quota = new QTableWidgetItem;
        quota->setData(kRuoloQuota, a.quota());
        quota->setData(Qt::AccessibleTextRole, percento(a.quota()) + QStringLiteral(" giuste"));
        tblAffermazioni->setItem(r, 0, testo);
        tblAffermazioni->setItem(r, 1, alunni);
        tblAffermazioni->setItem(r, 2, giuste);
        tblAffermazioni->setItem(r, 3, quota);
    }
    const int largo = tblAffermazioni->width();
    tblAffermazioni->setColumnWidth(1, largo / 12);
    tblAffermazioni->setColumnWidth(2, largo / 12);
    tblAffermazioni->setColumnWidth(3, largo / 6);
    tblAffermazioni->resizeRowsToContents();
}

void Analisi::mostraClasse()
{
    const auto griglia = m_analisi.griglia();
    tblClasse->setRowCount(int(griglia.size()));
    for (int r = 0; r < griglia.size(); ++r) {
        const auto& a = griglia.at(r);
        tblClasse->setItem(r, 0, new QTableWidgetItem(a.nome));
        for (int c = 0; c < AnalisiRisposte::kColonne; ++c) {
            const auto& cella = a.celle[c];
            auto* item = new QTableWidgetItem(testoCella(cella, c));
            item->setTextAlignment(Qt::AlignCenter);
            if (!cella.vuota()) {
                item->setBackground(colore(cella.percentuale() / 100.0));
                item->setToolTip(QStringLiteral("%1: %2 giuste su %3, il %4")
                                     .arg(AnalisiRisposte::titoloColonna(c))
                                     .arg(cella.giuste)
                                     .arg(cella.totale)
                                     .arg(cella.data.toString(QStringLiteral("dd/MM/yyyy"))));
            } else {
                item->setToolTip(QStringLiteral("Nessun risultato nel periodo"));
            }
            tblClasse->setItem(r, c + 1, item);
        }
    }
    const int largo = tblClasse->width();
    for (int c = 0; c < AnalisiRisposte::kColonne; ++c)
        tblClasse->setColumnWidth(c + 1, c == AnalisiRisposte::kSommativa ? largo / 5 : largo / 14);
}

void Analisi::mostraVista()
{
    const bool affermazioni = m_vista == Vista::Affermazioni;
    cmdaffermazioni->setChecked(affermazioni);
    cmdclasse->setChecked(!affermazioni);
    tblAffermazioni->setVisible(affermazioni);
    lblProva->setVisible(affermazioni);
    cboProva->setVisible(affermazioni);
    tblClasse->setVisible(!affermazioni);
    const auto f = filtro();
    if (m_analisi.risposteLette() == 0)
        lblStato->setCaption(QStringLiteral("Nessuna risposta registrata nel periodo scelto (%1).").arg(f.descrizione()));
    else if (affermazioni)
        lblStato->setCaption(QStringLiteral("%1 risposte lette. Le affermazioni più sbagliate sono in alto. %2")
                                 .arg(m_analisi.risposteLette())
                                 .arg(f.descrizione()));
    else
        lblStato->setCaption(QStringLiteral("L'ultimo punteggio di ogni alunno, in percentuale di risposte giuste "
                                            "(la data col puntatore sulla casella). %1")
                                 .arg(f.descrizione()));
}

void Analisi::cmdaffermazioni_Click()
{
    m_vista = Vista::Affermazioni;
    mostraVista();
}

void Analisi::cmdclasse_Click()
{
    m_vista = Vista::Classe;
    mostraVista();
}

QColor Analisi::colore(double quota)
{
    const double q = std::clamp(quota, 0.0, 1.0);
    // Red (hue 0) through yellow (60) to green (120), light enough for black text.
    return QColor::fromHsv(int(std::lround(q * 120)), 110, 255);
}

QList<ui::PrintLine> Analisi::righeStampaAffermazioni() const
{
    const QString prova = provaScelta();
    QList<ui::PrintLine> righe;
    righe.append({{1, QStringLiteral("ANALISI DELLE RISPOSTE - %1").arg(AnalisiRisposte::nomeProva(prova))}});
    righe.append({{1, filtro().descrizione()}});
    righe.append(ui::PrintLine());
    righe.append({{1, QStringLiteral("N.")},
                  {kCartaTesto, QStringLiteral("Affermazione (le più sbagliate per prime)")},
                  {kCartaAlunni, QStringLiteral("Alunni")},
                  {kCartaGiuste, QStringLiteral("Giuste")},
                  {kCartaBarra, QStringLiteral("Quota giuste")}});
    const auto elenco = m_analisi.affermazioni(prova);
    if (elenco.isEmpty())
        righe.append({{kCartaTesto, QStringLiteral("Nessuna risposta nel periodo scelto.")}});
    for (int i = 0; i < elenco.size(); ++i) {
        const auto& a = elenco.at(i);
        const QStringList testo = aCapo(a.testo, kLarghezzaTesto);
        righe.append({{1, QString::number(i + 1)},
                      {kCartaTesto, testo.first()},
                      {kCartaAlunni, QString::number(a.alunni)},
                      {kCartaGiuste, percento(a.quota())},
                      {kCartaBarra, barra(a.quota())}});
        for (qsizetype k = 1; k < testo.size(); ++k)
            righe.append({{kCartaTesto, testo.at(k)}});
    }
    return righe;
}

QList<ui::PrintLine> Analisi::righeStampaClasse() const
{
    QList<ui::PrintLine> righe;
    righe.append({{1, QStringLiteral("ANALISI DELLE RISPOSTE - La classe: l'ultimo punteggio di ogni alunno")}});
    righe.append({{1, filtro().descrizione()}});
    righe.append({{1, QStringLiteral("In percentuale di risposte giuste; per gli argomenti, l'ultimo questionario "
                                     "dalla prima pagina.")}});
    righe.append(ui::PrintLine());
    // The summative column goes last on paper: it is the widest, with its grade word.
    const int ordine[] = {0, 1, 2, 3, 4, 5, AnalisiRisposte::kSintesi, AnalisiRisposte::kSommativa};
    ui::PrintLine titoli{{kCartaNome, QStringLiteral("Alunno")}};
    for (int posto = 0; posto < AnalisiRisposte::kColonne; ++posto)
        titoli.append({kCartaPrimaColonna + posto * kPassoColonne, AnalisiRisposte::titoloColonna(ordine[posto])});
    righe.append(titoli);
    const auto griglia = m_analisi.griglia();
    if (griglia.isEmpty())
        righe.append({{kCartaNome, QStringLiteral("Nessun risultato nel periodo scelto.")}});
    for (const auto& a : griglia) {
        ui::PrintLine linea{{kCartaNome, tagliaNome(a.nome, kLarghezzaNome)}};
        for (int posto = 0; posto < AnalisiRisposte::kColonne; ++posto)
            linea.append({kCartaPrimaColonna + posto * kPassoColonne, testoCella(a.celle[ordine[posto]], ordine[posto])});
        righe.append(linea);
    }
    return righe;
}

void Analisi::cmdstampa_Click()
{
    const bool affermazioni = m_vista == Vista::Affermazioni;
    if (affermazioni && provaScelta().isEmpty()) {
        avvisa(QStringLiteral("Nel periodo scelto non ci sono risposte da stampare."));
        return;
    }
    const auto righe = affermazioni ? righeStampaAffermazioni() : righeStampaClasse();
    QString motivo;
    if (ui::Printer::print(caption(), righe, &motivo) == ui::Printer::Outcome::Failed)
        avvisa(QStringLiteral("La stampa non è riuscita: %1.").arg(motivo));
}

void Analisi::cmdesporto_Click()
{
    const bool affermazioni = m_vista == Vista::Affermazioni;
    const QString inizio = affermazioni ? QStringLiteral("analisi-affermazioni") : QStringLiteral("analisi-classe");
    const QString file = ui::FileDialog::salva(QStringLiteral("Esporto per il foglio di calcolo"),
                                               data::Csv::nomeProposto(inizio, data::Clock::today()),
                                               QStringLiteral("File CSV (*.csv)"));
    if (file.isEmpty())
        return;
    QStringList intestazione;
    QVector<QVariantList> righe;
    if (affermazioni) {
        intestazione = {QStringLiteral("Test"), QStringLiteral("Affermazione"), QStringLiteral("Alunni"),
                        QStringLiteral("Giuste"), QStringLiteral("Quota giuste (%)")};
        for (const QString& p : m_analisi.prove())
            for (const auto& a : m_analisi.affermazioni(p))
                righe.append({AnalisiRisposte::nomeProva(p), a.testo, a.alunni, a.giuste, unDecimale(a.quota() * 100)});
    } else {
        intestazione << QStringLiteral("Alunno");
        for (int c = 0; c < AnalisiRisposte::kColonne; ++c) {
            intestazione << AnalisiRisposte::titoloColonna(c) + QStringLiteral(" (%)");
            if (c == AnalisiRisposte::kSommativa)
                intestazione << QStringLiteral("Valutazione");
            intestazione << AnalisiRisposte::titoloColonna(c) + QStringLiteral(" data");
        }
        for (const auto& a : m_analisi.griglia()) {
            QVariantList riga{a.nome};
            for (int c = 0; c < AnalisiRisposte::kColonne; ++c) {
                const auto& cella = a.celle[c];
                riga << (cella.vuota() ? QVariant() : QVariant(unDecimale(cella.percentuale())));
                if (c == AnalisiRisposte::kSommativa)
                    riga << (cella.vuota() ? QVariant() : QVariant(Sessione::valutazionePer(cella.percentuale())));
                riga << (cella.vuota() ? QVariant() : QVariant(cella.data));
            }
            righe.append(riga);
        }
    }
    QString errore;
    bool scritto = false;
    {
        ui::BusyCursor attesa;
        scritto = data::Csv::scrivi(file, intestazione, righe, &errore);
    }
    if (!scritto)
        avvisa(QStringLiteral("Il file non è stato salvato: %1.").arg(errore));
}

void Analisi::cmdtorna_Click()
{
    auto& screens = ui::Screens::instance();
    screens.show(m_archivio);
    screens.unload(name());
}
