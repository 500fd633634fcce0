#include "ui/storico/modellostorico.h"

#include "movimenti/indice.h"
#include "store/localeutente.h"

namespace {

// Rows kept once read: more than a screen shows, so scrolling back and
// forth over a page reads nothing again.
constexpr std::size_t RigheRicordate = 512;

QString Quantita(const std::optional<qint32> &q)
{
    return q ? QString::number(*q) : QString();
}

QString Firmato(qint64 v)
{
    return v > 0 ? QStringLiteral("+") + QString::number(v) : QString::number(v);
}

} // namespace

QString SuggerimentoRiga(const RigaMovimento &r)
{
    QStringList righe;
    righe << QStringLiteral("Operazione %1: %2").arg(r.operazione).arg(r.movimento);
    if (!r.nota.isEmpty())
        righe << QStringLiteral("Nota: ") + r.nota;
    if (r.rimozione()) {
        // The record as it was when it went, its filled fields one a line.
        if (const auto record = LeggiRecord(r.dettagli, r.id)) {
            righe << QStringLiteral("Componente tolto:");
            for (const CampoCambiato &campo : CampiCambiati(Componente{}, *record))
                righe << QStringLiteral("  %1: %2").arg(campo.campo, campo.dopo);
            return righe.join(u'\n');
        }
    } else if (const auto campi = LeggiCambiamenti(r.dettagli); campi && !campi->isEmpty()) {
        righe << QStringLiteral("Campi cambiati:");
        for (const CampoCambiato &campo : *campi)
            righe << QStringLiteral("  %1: \"%2\" \u2192 \"%3\"").arg(campo.campo, campo.prima, campo.dopo);
        return righe.join(u'\n');
    }
    if (!r.dettagli.isEmpty())
        righe << r.dettagli;
    return righe.join(u'\n');
}

ModelloStorico::ModelloStorico(const IndiceMovimenti &indice, QObject *parent)
    : QAbstractTableModel(parent), m_indice(indice), m_lette(RigheRicordate)
{
}

void ModelloStorico::impostaRighe(std::vector<qint32> righe)
{
    beginResetModel();
    m_righe = std::move(righe);
    endResetModel();
}

qint32 ModelloStorico::rigaStorico(int riga) const
{
    return riga >= 0 && std::size_t(riga) < m_righe.size() ? m_righe[std::size_t(riga)] : -1;
}

void ModelloStorico::dimentica()
{
    for (Letta &l : m_lette)
        l.indice = -1;
}

const ModelloStorico::Letta &ModelloStorico::leggi(int riga) const
{
    const qint32 i = m_righe[std::size_t(riga)];
    Letta &l = m_lette[std::size_t(i) % m_lette.size()];
    if (l.indice == i)
        return l;
    l.indice = i;
    const std::optional<RigaMovimento> r = m_indice.riga(i);
    if (!r) {
        // A line damaged past its ID: shown for what it is, its bytes in
        // the tooltip.
        l.testi = {};
        l.testi[ColMovimento] = QStringLiteral("(riga danneggiata)");
        l.testi[ColOperazione] = QString::number(m_indice.operazione(i));
        l.suggerimento = QString::fromUtf8(m_indice.testo(i));
        return l;
    }
    l.testi[ColData] = DataBreve(r->momento.date()) + u' ' + r->momento.time().toString(QStringLiteral("HH:mm:ss"));
    l.testi[ColCodice] = r->codice;
    l.testi[ColPrima] = Quantita(r->prima);
    l.testi[ColDopo] = Quantita(r->dopo);
    l.testi[ColDifferenza] = Firmato(r->differenza());
    l.testi[ColMovimento] = r->movimento;
    l.testi[ColOperazione] = QString::number(r->operazione);
    l.testi[ColProduttore] = r->produttore;
    l.testi[ColNota] = r->nota;
    l.testi[ColDettagli] = r->dettagli;
    l.suggerimento = SuggerimentoRiga(*r);
    return l;
}

QString ModelloStorico::testo(int riga, int colonna) const
{
    if (riga < 0 || std::size_t(riga) >= m_righe.size() || colonna < 0 || colonna >= NumeroColonne)
        return {};
    return leggi(riga).testi[std::size_t(colonna)];
}

int ModelloStorico::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_righe.size());
}

int ModelloStorico::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : NumeroColonne;
}

QVariant ModelloStorico::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || std::size_t(index.row()) >= m_righe.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return leggi(index.row()).testi[std::size_t(index.column())];
    case Qt::ToolTipRole:
        return leggi(index.row()).suggerimento;
    case Qt::TextAlignmentRole:
        switch (index.column()) {
        case ColPrima:
        case ColDopo:
        case ColDifferenza:
        case ColOperazione:
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        default:
            return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        }
    default:
        return {};
    }
}

QVariant ModelloStorico::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const titoli[NumeroColonne] = {"Data e ora", "Codice", "Prima", "Dopo", "Differenza",
                                                      "Operazione", "N.", "Produttore", "Nota", "Dettagli"};
    return section >= 0 && section < NumeroColonne ? QString::fromUtf8(titoli[section]) : QVariant();
}
