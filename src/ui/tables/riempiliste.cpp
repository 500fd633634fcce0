// Usage counting and the filling of the three lists of the tables window.
#include "ui/tables/frmliste.h"

#include "store/dialoghi.h"
#include "store/stato.h"
#include "ui/widgets/listareport.h"

namespace {

// The rows of one table: position, name, usage and ID of every entry (only
// the used ones when soloUsate), and whether each row's entry is used.
// Returns false when the table holds fewer records than its count; the rows
// of the records it holds are built all the same.
template <typename Voce>
bool righeTabella(const QList<Voce> &tabella, qint32 conteggio, const UsoTabella &uso,
                  bool soloUsate, FrmListe::RigheLista &righe)
{
    const qint32 n = PosizioniLeggibili(conteggio, tabella.size());
    righe.testi.reserve(n);
    righe.usate.reserve(n);
    for (qint32 i = 1; i <= n; ++i) {
        const Voce &v = tabella[i - 1];
        const qint32 u = uso.uso(v.ID);
        const bool usata = u >= 1;
        if (soloUsate && !usata)
            continue;
        righe.testi.append({QString::number(i), v.Nome, QString::number(u), QString::number(v.ID)});
        righe.usate.append(usata);
    }
    return n == conteggio || conteggio < 0;
}

} // namespace

void FrmListe::erroreLettura(const ErroreTabelle &errore)
{
    m_dialoghi.messaggio(QStringLiteral("Errore %1-%2 nella lettura Tabelle ")
                             .arg(errore.numero)
                             .arg(errore.descrizione),
                         Icona::Critica, Pulsanti::Ok);
}

// A failed count shows its message and keeps what was counted before the
// failure; the lists are filled all the same.
void FrmListe::ContaUtilizzi()
{
    const ErroreTabelle errore = ::ContaUtilizzi(m_stato, m_uso);
    if (errore.presente())
        erroreLettura(errore);
}

void FrmListe::riempiLista(ListaReport *lista, const RigheLista &righe)
{
    lista->aggiungiRighe(righe.testi);
    for (qsizetype r = 0; r < righe.usate.size(); ++r)
        if (righe.usate[r])
            lista->impostaSpunta(int(r) + 1, true);
    // Headers ("Usata"), check boxes and names show whole.
    lista->adattaColonne();
}

// Counts usage, then refills the three lists from scratch (all rows in one
// go per list) and sorts each once by name, ascending.
void FrmListe::RiempiListe()
{
    ContaUtilizzi();
    for (ListaReport *lista : {m_lvt, m_lvp, m_lvg}) {
        lista->svuota();
        lista->setSorted(false);
    }

    // Types, then manufacturers, then packages. A table that holds fewer
    // records than its count stops the filling with the reading message; the
    // rows added until then stay and no list is sorted.
    const auto passo = [this](ListaReport *lista, const RigheLista &righe, bool completa,
                              const QString &tabella, qint32 conteggio, qsizetype tenuti) {
        riempiLista(lista, righe);
        if (!completa)
            erroreLettura({ErroreIndice, DescrizioneErroreIndice
                                             + QStringLiteral(" (%1: voci annunciate %2, presenti %3)")
                                                   .arg(tabella)
                                                   .arg(conteggio)
                                                   .arg(tenuti)});
        return completa;
    };
    const Stato &s = m_stato;
    {
        RigheLista righe;
        const bool ok = righeTabella(s.Tipi, s.NumTipi, m_uso.UsoTipi, m_soloUsate, righe);
        if (!passo(m_lvt, righe, ok, QStringLiteral("Tipi"), s.NumTipi, s.Tipi.size()))
            return;
    }
    {
        RigheLista righe;
        const bool ok = righeTabella(s.Produttori, s.NumProduttori, m_uso.UsoProduttori, m_soloUsate, righe);
        if (!passo(m_lvp, righe, ok, QStringLiteral("Produttori"), s.NumProduttori, s.Produttori.size()))
            return;
    }
    {
        RigheLista righe;
        const bool ok = righeTabella(s.Packages, s.NumPackages, m_uso.UsoPackages, m_soloUsate, righe);
        if (!passo(m_lvg, righe, ok, QStringLiteral("Packages"), s.NumPackages, s.Packages.size()))
            return;
    }

    for (ListaReport *lista : {m_lvt, m_lvp, m_lvg}) {
        lista->setSortKey(1);
        lista->setSortOrder(0);
        lista->setSorted(true);
        lista->update();
    }
}
