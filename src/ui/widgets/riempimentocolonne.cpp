#include "ui/widgets/riempimentocolonne.h"

#include "listsort/chiavi.h"
#include "ui/widgets/listareport.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QTreeView>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// Whole pixels for shares that add up to totale: each share rounded down,
// the pixels left over given to the largest fractions first.
QList<int> arrotonda(const QList<double> &quote, int totale)
{
    QList<int> intere;
    int usati = 0;
    for (double q : quote) {
        intere << int(std::floor(q));
        usati += intere.last();
    }
    QList<qsizetype> ordine(quote.size());
    std::iota(ordine.begin(), ordine.end(), 0);
    std::stable_sort(ordine.begin(), ordine.end(), [&](qsizetype a, qsizetype b) {
        return quote[a] - intere[a] > quote[b] - intere[b];
    });
    for (qsizetype k = 0; usati < totale && !ordine.isEmpty(); k = (k + 1) % ordine.size(), ++usati)
        ++intere[ordine[k]];
    return intere;
}

} // namespace

QList<int> DistribuisciLarghezze(const QList<MisureColonna> &colonne, int spazio)
{
    const qsizetype n = colonne.size();
    QList<int> necessarie, minime;
    for (const MisureColonna &c : colonne) {
        necessarie << std::max(c.necessaria, 0);
        minime << std::clamp(c.minima, 0, necessarie.last());
    }
    const int sommaNecessarie = std::accumulate(necessarie.begin(), necessarie.end(), 0);
    const int sommaMinime = std::accumulate(minime.begin(), minime.end(), 0);
    if (n == 0)
        return {};
    if (sommaMinime >= spazio)
        return minime;

    QList<double> quote(n);
    if (sommaNecessarie > spazio) {
        // Each column gives up the same part of what it has beyond its minimum.
        const double parte = double(spazio - sommaMinime) / double(sommaNecessarie - sommaMinime);
        for (qsizetype i = 0; i < n; ++i)
            quote[i] = minime[i] + (necessarie[i] - minime[i]) * parte;
        return arrotonda(quote, spazio);
    }

    // Shares in proportion to the widths asked for; a column whose share is
    // below its need is held at its need, and the others share what is left.
    QList<bool> ferma(n, false);
    double resto = spazio;
    double sommaVolute = 0;
    for (const MisureColonna &c : colonne)
        sommaVolute += std::max(c.voluta, 1);
    for (bool cambiato = true; cambiato;) {
        cambiato = false;
        for (qsizetype i = 0; i < n; ++i) {
            if (ferma[i])
                continue;
            const double voluta = std::max(colonne[i].voluta, 1);
            if (sommaVolute <= 0 || resto * voluta / sommaVolute < necessarie[i]) {
                ferma[i] = true;
                resto -= necessarie[i];
                sommaVolute -= voluta;
                cambiato = true;
            }
        }
    }
    for (qsizetype i = 0; i < n; ++i)
        quote[i] = ferma[i] ? necessarie[i] : resto * std::max(colonne[i].voluta, 1) / sommaVolute;
    return arrotonda(quote, spazio);
}

RiempimentoColonne::RiempimentoColonne(ListaReport *lista) : QObject(lista), m_lista(lista)
{
    for (int c = 0; c < lista->numeroColonne(); ++c) {
        if (lista->colonna(c + 1).nascosta)
            continue;
        m_colonne << c;
        m_volute << lista->colonna(c + 1).larghezza;
    }
    m_necessarie = m_minime = QList<int>(m_colonne.size(), 0);
    QTreeView *vista = lista->vista();
    vista->viewport()->installEventFilter(this);
    connect(vista->header(), &QHeaderView::sectionResized, this, [this](int sezione, int, int nuova) {
        if (m_inCorso)
            return;
        // Dragged by the user: the width asked for from now on, even a
        // narrower one than the texts need.
        const qsizetype i = m_colonne.indexOf(sezione);
        if (i < 0)
            return;
        m_volute[i] = nuova;
        m_necessarie[i] = std::min(m_necessarie[i], nuova);
        m_minime[i] = std::min(m_minime[i], nuova);
    });
}

void RiempimentoColonne::adatta()
{
    const QTreeView *vista = m_lista->vista();
    const QHeaderView *h = vista->header();
    const QStyle *stile = vista->style();
    const int margini = 4 * stile->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h)
                        + stile->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, h);
    const QFontMetrics f(h->font());
    for (qsizetype i = 0; i < m_colonne.size(); ++i) {
        const ListaReport::Colonna &c = m_lista->colonna(m_colonne[i] + 1);
        m_necessarie[i] = m_lista->larghezzaNecessaria(m_colonne[i]);
        // Numbers and dates are never cut; texts (natural ones included) may be.
        const TipoColonna tipo = TipoDaTag(c.tag);
        m_minime[i] = tipo == TipoColonna::Testo || tipo == TipoColonna::Naturale
                          ? std::min(f.horizontalAdvance(c.titolo) + margini, m_necessarie[i])
                          : m_necessarie[i];
    }
    m_lista->setMinimumWidth(larghezzaMinima());
    riempi();
}

QList<int> RiempimentoColonne::volute() const
{
    return m_volute;
}

void RiempimentoColonne::impostaVolute(const QList<int> &larghezze)
{
    for (qsizetype i = 0; i < std::min(larghezze.size(), m_volute.size()); ++i) {
        if (larghezze[i] >= 1)
            m_volute[i] = larghezze[i];
    }
    riempi();
}

int RiempimentoColonne::cornice() const
{
    const QTreeView *vista = m_lista->vista();
    return 2 * vista->frameWidth() + vista->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, vista);
}

int RiempimentoColonne::larghezzaVoluta() const
{
    int somma = 0;
    for (qsizetype i = 0; i < m_colonne.size(); ++i)
        somma += std::max(m_volute[i], m_necessarie[i]);
    return somma + cornice();
}

int RiempimentoColonne::larghezzaMinima() const
{
    return std::accumulate(m_minime.begin(), m_minime.end(), 0) + cornice();
}

QList<MisureColonna> RiempimentoColonne::misure() const
{
    QList<MisureColonna> m;
    for (qsizetype i = 0; i < m_colonne.size(); ++i)
        m << MisureColonna{m_volute[i], m_necessarie[i], m_minime[i]};
    return m;
}

void RiempimentoColonne::riempi()
{
    if (m_inCorso)
        return;
    m_inCorso = true;
    QTreeView *vista = m_lista->vista();
    const QList<int> larghezze = DistribuisciLarghezze(misure(), vista->viewport()->width());
    for (qsizetype i = 0; i < m_colonne.size(); ++i)
        vista->header()->resizeSection(m_colonne[i], larghezze[i]);
    m_inCorso = false;
}

bool RiempimentoColonne::eventFilter(QObject *oggetto, QEvent *evento)
{
    if (evento->type() == QEvent::Resize)
        riempi();
    return QObject::eventFilter(oggetto, evento);
}
