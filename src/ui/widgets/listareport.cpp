#include "ui/widgets/listareport.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QFontMetrics>
#include <QStyle>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <functional>
#include <numeric>
#include <vector>

namespace {


// One UTF-16 unit with its case folded, so that sorting ignores case.
inline char16_t piega(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 128)
        return u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u;
    return QChar::toCaseFolded(u);
}

// Compares two texts ignoring case, from position da on (the texts are
// known to agree before it).
int confrontaPiegati(QStringView a, QStringView b, qsizetype da)
{
    const qsizetype n = std::min(a.size(), b.size());
    if (a.size() == b.size() && da < n && a.mid(da) == b.mid(da))
        return 0;
    for (qsizetype i = da; i < n; ++i) {
        if (a[i] == b[i])
            continue;
        const char16_t x = piega(a[i]);
        const char16_t y = piega(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

} // namespace

// The rows live here, in a plain vector; the model hands them to the view.
class ModelloLista : public QAbstractTableModel {
public:
    ModelloLista(ListaReport *lista, const QList<ListaReport::Colonna> &colonne)
        : QAbstractTableModel(lista), m_lista(lista), m_colonne(colonne)
    {
    }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(numero());
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_colonne.size());
    }

    QVariant data(const QModelIndex &indice, int ruolo) const override
    {
        if (!indice.isValid())
            return {};
        const auto r = std::size_t(indice.row());
        const auto c = std::size_t(indice.column());
        switch (ruolo) {
        case Qt::DisplayRole:
            return c < larghezza ? testi[r * larghezza + c] : QString();
        case Qt::TextAlignmentRole:
            return int(allineamento(indice.column()) | Qt::AlignVCenter);
        case Qt::CheckStateRole:
            if (caselle && c == 0)
                return spunte[r] ? Qt::Checked : Qt::Unchecked;
            return {};
        case Qt::BackgroundRole:
            if (r < evidenze.size() && evidenze[r])
                return sfondoEvidenza;
            return {};
        case Qt::ForegroundRole:
            if (r < evidenze.size() && evidenze[r])
                return testoEvidenza;
            return {};
        default:
            return {};
        }
    }

    bool setData(const QModelIndex &indice, const QVariant &valore, int ruolo) override
    {
        // Only the view calls this, when the user toggles a check box.
        if (!indice.isValid() || ruolo != Qt::CheckStateRole || !caselle || indice.column() != 0)
            return false;
        const auto r = std::size_t(indice.row());
        const bool nuova = valore.toInt() == Qt::Checked;
        if (nuova == bool(spunte[r]))
            return true;
        spunte[r] = nuova;
        emit dataChanged(indice, indice, {Qt::CheckStateRole});
        emit m_lista->spuntaCambiata(indice.row() + 1, nuova);
        return true;
    }

    Qt::ItemFlags flags(const QModelIndex &indice) const override
    {
        if (!indice.isValid())
            return Qt::NoItemFlags;
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
        if (caselle && indice.column() == 0)
            f |= Qt::ItemIsUserCheckable;
        return f;
    }

    QVariant headerData(int sezione, Qt::Orientation orientamento, int ruolo) const override
    {
        if (orientamento != Qt::Horizontal || sezione < 0 || sezione >= m_colonne.size())
            return {};
        if (ruolo == Qt::DisplayRole)
            return m_colonne[sezione].titolo;
        if (ruolo == Qt::TextAlignmentRole)
            return int(allineamento(sezione) | Qt::AlignVCenter);
        return {};
    }

    Qt::Alignment allineamento(int colonna) const
    {
        if (colonna < 0 || colonna >= m_colonne.size())
            return Qt::AlignLeft;
        return m_colonne[colonna].allineamento & Qt::AlignHorizontal_Mask;
    }

    std::size_t numero() const { return spunte.size(); }

    // The index of a cell in testi and tags, or -1 when there is none.
    qsizetype cella(std::size_t riga, std::size_t colonna) const
    {
        return riga < numero() && colonna < larghezza ? qsizetype(riga * larghezza + colonna) : -1;
    }

    // Appends n rows with one model change; scrivi(i, testi) puts the texts
    // of the i-th new row straight into its cells (larghezza of them, empty
    // on entry).
    void aggiungi(qsizetype n, const std::function<void(qsizetype, QString *)> &scrivi)
    {
        if (n <= 0)
            return;
        const int primo = int(numero());
        beginInsertRows(QModelIndex(), primo, primo + int(n) - 1);
        const std::size_t prima = testi.size();
        testi.resize(prima + std::size_t(n) * larghezza);
        if (!tags.empty())
            tags.resize(testi.size());
        if (larghezza > 0) {
            for (qsizetype i = 0; i < n; ++i)
                scrivi(i, testi.data() + prima + std::size_t(i) * larghezza);
        }
        spunte.resize(spunte.size() + std::size_t(n), 0);
        if (!evidenze.empty())
            evidenze.resize(spunte.size(), 0);
        endInsertRows();
    }

    // Empties the list. The cells' room is kept for the next fill: a list
    // is usually filled again at once, with as many rows or fewer.
    void svuota()
    {
        beginResetModel();
        testi.clear();
        tags.clear();
        spunte.clear();
        evidenze.clear();
        endResetModel();
    }

    void cambiaColonne(const QList<ListaReport::Colonna> &colonne)
    {
        beginResetModel();
        m_colonne = colonne;
        const auto nuova = std::size_t(m_colonne.size());
        if (nuova != larghezza) {
            std::vector<QString> altriTesti(numero() * nuova);
            std::vector<QString> altriTag(tags.empty() ? 0 : numero() * nuova);
            for (std::size_t r = 0; r < numero(); ++r) {
                for (std::size_t c = 0; c < std::min(nuova, larghezza); ++c) {
                    altriTesti[r * nuova + c] = std::move(testi[r * larghezza + c]);
                    if (!tags.empty())
                        altriTag[r * nuova + c] = std::move(tags[r * larghezza + c]);
                }
            }
            testi.swap(altriTesti);
            tags.swap(altriTag);
            larghezza = nuova;
        }
        endResetModel();
    }

    // Orders the rows by the texts of one column with a stable sort, so rows
    // with equal texts keep their present order. Selection and current row
    // follow their rows.
    void ordina(int colonna, bool discendente)
    {
        const std::size_t n = numero();
        if (n < 2)
            return;
        const auto c = std::size_t(std::max(colonna, 0));
        static const QString vuoto;
        std::vector<QStringView> chiavi(n);
        for (std::size_t i = 0; i < n; ++i)
            chiavi[i] = c < larghezza ? QStringView(testi[i * larghezza + c]) : QStringView(vuoto);

        // Rows are compared first by eight characters packed into two
        // integers, taken after the prefix that every text shares (the
        // leading zeros of number keys, the century of date keys), and only
        // on a tie by their whole texts: the sort then runs over a compact
        // array instead of chasing every string through memory.
        qsizetype comune = chiavi[0].size();
        for (std::size_t i = 1; i < n && comune > 0; ++i) {
            const QStringView t = chiavi[i];
            qsizetype k = 0;
            while (k < comune && k < t.size() && (t[k] == chiavi[0][k] || piega(t[k]) == piega(chiavi[0][k])))
                ++k;
            comune = k;
        }
        struct Voce {
            quint64 alto;
            quint64 basso;
            int riga;
        };
        std::vector<Voce> voci(n);
        for (std::size_t i = 0; i < n; ++i) {
            const QStringView t = chiavi[i];
            quint64 parti[2] = {0, 0};
            for (int k = 0; k < 8; ++k) {
                const qsizetype j = comune + k;
                const quint64 u = j < t.size() ? piega(t[j]) : 0;
                parti[k / 4] = (parti[k / 4] << 16) | u;
            }
            voci[i] = {parti[0], parti[1], int(i)};
        }
        // First by the packed characters alone; then each run of rows that
        // tie on them is put in order by the rest of their texts, unless the
        // whole run has one and the same text (the usual case: equal values),
        // which needs no more than one pass.
        auto prima = [discendente](const Voce &a, const Voce &b) {
            if (a.alto != b.alto)
                return discendente ? a.alto > b.alto : a.alto < b.alto;
            return discendente ? a.basso > b.basso : a.basso < b.basso;
        };
        std::stable_sort(voci.begin(), voci.end(), prima);
        const qsizetype dopo = comune + 8;
        auto resto = [&chiavi, dopo, discendente](const Voce &a, const Voce &b) {
            const int r = confrontaPiegati(chiavi[std::size_t(a.riga)], chiavi[std::size_t(b.riga)], dopo);
            return discendente ? r > 0 : r < 0;
        };
        for (std::size_t inizio = 0; inizio < n;) {
            std::size_t fine = inizio + 1;
            while (fine < n && voci[fine].alto == voci[inizio].alto && voci[fine].basso == voci[inizio].basso)
                ++fine;
            if (fine - inizio > 1) {
                const QStringView primo = chiavi[std::size_t(voci[inizio].riga)];
                bool uguali = true;
                for (std::size_t k = inizio + 1; k < fine && uguali; ++k)
                    uguali = confrontaPiegati(primo, chiavi[std::size_t(voci[k].riga)], dopo) == 0;
                if (!uguali)
                    std::stable_sort(voci.begin() + std::ptrdiff_t(inizio), voci.begin() + std::ptrdiff_t(fine), resto);
            }
            inizio = fine;
        }
        std::vector<int> ordine(n);
        for (std::size_t i = 0; i < n; ++i)
            ordine[i] = voci[i].riga;

        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        std::vector<QString> nuoviTesti(testi.size());
        std::vector<QString> nuoviTag(tags.size());
        std::vector<char> nuoveSpunte(n);
        std::vector<char> nuoveEvidenze(evidenze.empty() ? 0 : n);
        std::vector<int> nuovaPosizione(n);
        for (std::size_t i = 0; i < n; ++i) {
            const auto da = std::size_t(ordine[i]);
            for (std::size_t k = 0; k < larghezza; ++k) {
                nuoviTesti[i * larghezza + k] = std::move(testi[da * larghezza + k]);
                if (!nuoviTag.empty())
                    nuoviTag[i * larghezza + k] = std::move(tags[da * larghezza + k]);
            }
            nuoveSpunte[i] = spunte[da];
            if (!nuoveEvidenze.empty())
                nuoveEvidenze[i] = evidenze[da];
            nuovaPosizione[da] = int(i);
        }
        testi.swap(nuoviTesti);
        tags.swap(nuoviTag);
        spunte.swap(nuoveSpunte);
        evidenze.swap(nuoveEvidenze);
        const QModelIndexList vecchi = persistentIndexList();
        QModelIndexList aggiornati;
        aggiornati.reserve(vecchi.size());
        for (const QModelIndex &v : vecchi)
            aggiornati.append(index(nuovaPosizione[std::size_t(v.row())], v.column()));
        changePersistentIndexList(vecchi, aggiornati);
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }

    void segnalaTutto()
    {
        if (numero() > 0 && columnCount() > 0)
            emit dataChanged(index(0, 0), index(int(numero()) - 1, columnCount() - 1));
    }
    void segnalaCella(int riga, int colonna)
    {
        if (colonna < columnCount()) {
            const QModelIndex i = index(riga, colonna);
            emit dataChanged(i, i);
        }
    }
    void segnalaColonnaZero()
    {
        if (numero() > 0 && columnCount() > 0)
            emit dataChanged(index(0, 0), index(int(numero()) - 1, 0));
    }

    // The cells' texts and tags row after row, larghezza of them per row,
    // and the check box of each row: a few blocks of memory however many
    // rows there are. Tags are made only when the first one is set (most
    // lists never set one); until then every tag is empty.
    std::vector<QString> testi;
    std::vector<QString> tags;
    std::vector<char> spunte;
    // The highlight of each row; empty while no row has ever been marked
    // since the list was last emptied.
    std::vector<char> evidenze;
    QColor sfondoEvidenza;
    QColor testoEvidenza;
    std::size_t larghezza = 0;
    bool caselle = false;

private:
    ListaReport *m_lista;
    QList<ListaReport::Colonna> m_colonne;
};

// The view: a QTreeView that turns the user's mouse and keyboard actions into
// the list's signals, in the order the owners rely on.
class VistaLista : public QTreeView {
public:
    explicit VistaLista(ListaReport *lista) : QTreeView(lista), m_lista(lista) {}

protected:
    void mousePressEvent(QMouseEvent *e) override { premi(e); }

    void mouseReleaseEvent(QMouseEvent *e) override
    {
        // The view finishes its own work (a check box toggle) before the
        // owner hears of the release, since the owner may refill the list.
        QTreeView::mouseReleaseEvent(e);
        const QPoint p = posizione(e);
        emit m_lista->rilascioMouse(e->button(), e->modifiers(), p.x(), p.y());
        emit m_lista->cliccata();
    }

    void mouseDoubleClickEvent(QMouseEvent *e) override
    {
        // The second press of a double click counts as a press too.
        const int riga = premi(e);
        if (riga > 0)
            emit m_lista->doppioClic(riga);
    }

    void keyPressEvent(QKeyEvent *e) override
    {
        const int prima = currentIndex().isValid() ? currentIndex().row() : -1;
        QTreeView::keyPressEvent(e);
        const QModelIndex ora = currentIndex();
        if (ora.isValid() && ora.row() != prima) {
            m_lista->selezionaRiga(ora.row() + 1);
            emit m_lista->rigaCliccata(ora.row() + 1);
            emit m_lista->cliccata();
        }
    }

private:
    // x from the left edge of the first column, scrolling included.
    QPoint posizione(const QMouseEvent *e) const
    {
        const QPoint p = e->position().toPoint();
        return {p.x() + header()->offset(), p.y()};
    }

    int premi(QMouseEvent *e)
    {
        const QPoint p = posizione(e);
        emit m_lista->pressioneMouse(e->button(), e->modifiers(), p.x(), p.y());
        QTreeView::mousePressEvent(e);
        const QModelIndex i = indexAt(e->position().toPoint());
        if (!i.isValid())
            return 0;
        const int riga = i.row() + 1;
        m_lista->selezionaRiga(riga);
        emit m_lista->rigaCliccata(riga);
        return riga;
    }

    ListaReport *m_lista;
};

class ListaReport::Dati {
public:
    QList<Colonna> colonne;
    ModelloLista *modello = nullptr;
    VistaLista *vista = nullptr;
    int sortKey = 0;
    int sortOrder = 0;
    bool sorted = false;
    int puntatore = 0;
    bool congelata = false;
    bool modificata = false; // cells changed while frozen

    bool rigaValida(int riga) const { return riga >= 1 && std::size_t(riga) <= modello->numero(); }
    // The index of a cell (1-based row, 0-based column), or -1.
    qsizetype cella(int riga, int colonna) const
    {
        if (!rigaValida(riga) || colonna < 0)
            return -1;
        return modello->cella(std::size_t(riga - 1), std::size_t(colonna));
    }
    // The header's arrow shows the column and direction the rows are
    // sorted by; a list in the order its rows were added shows none.
    void mostraOrdinamento()
    {
        QHeaderView *h = vista->header();
        h->setSortIndicatorShown(sorted);
        if (sorted)
            h->setSortIndicator(sortKey, sortOrder == 1 ? Qt::DescendingOrder : Qt::AscendingOrder);
    }
    void applicaColonne()
    {
        QHeaderView *h = vista->header();
        // Narrow columns (a check-box column, a 1-pixel link column) keep
        // the width they are given rather than the style's minimum.
        h->setMinimumSectionSize(1);
        for (int i = 0; i < colonne.size(); ++i) {
            h->resizeSection(i, colonne[i].larghezza);
            vista->setColumnHidden(i, colonne[i].nascosta);
        }
    }
};

ListaReport::ListaReport(QWidget *parent) : QWidget(parent), d(new Dati)
{
    d->modello = new ModelloLista(this, d->colonne);
    d->vista = new VistaLista(this);
    d->vista->setObjectName(QStringLiteral("vista"));
    d->vista->setRootIsDecorated(false);
    d->vista->setItemsExpandable(false);
    d->vista->setUniformRowHeights(true);
    d->vista->setSelectionMode(QAbstractItemView::SingleSelection);
    d->vista->setSelectionBehavior(QAbstractItemView::SelectRows);
    d->vista->setAllColumnsShowFocus(true);
    d->vista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    d->vista->setSortingEnabled(false);
    d->vista->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    d->vista->setModel(d->modello);
    QHeaderView *h = d->vista->header();
    h->setSectionsClickable(true);
    h->setSectionsMovable(false);
    h->setStretchLastSection(false);
    h->setSortIndicatorShown(false);
    // The header turns its arrow on a click by itself; the arrow follows the
    // rows instead, whatever the owner makes of the click.
    connect(h, &QHeaderView::sectionClicked, this, [this](int sezione) {
        d->mostraOrdinamento();
        emit intestazioneCliccata(sezione + 1);
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(d->vista);
    setFocusProxy(d->vista);
}

ListaReport::~ListaReport()
{
    delete d;
}

QTreeView *ListaReport::vista() const
{
    return d->vista;
}

void ListaReport::impostaColonne(const QList<Colonna> &colonne)
{
    d->colonne = colonne;
    d->modello->cambiaColonne(colonne);
    d->applicaColonne();
}

const ListaReport::Colonna &ListaReport::colonna(int indice) const
{
    static const Colonna nessuna;
    if (indice < 1 || indice > d->colonne.size())
        return nessuna;
    return d->colonne[indice - 1];
}

int ListaReport::sinistraColonna(int indice) const
{
    if (indice < 1 || indice > d->colonne.size())
        return 0;
    return d->vista->header()->sectionPosition(indice - 1);
}

int ListaReport::larghezzaColonna(int indice) const
{
    if (indice < 1 || indice > d->colonne.size())
        return 0;
    return d->vista->header()->sectionSize(indice - 1);
}

void ListaReport::svuota()
{
    d->modello->svuota();
}

int ListaReport::aggiungiRiga(const QStringList &testi)
{
    aggiungiRighe({testi});
    return numeroRighe();
}

void ListaReport::aggiungiRighe(const QList<QStringList> &righe)
{
    const auto quante = std::size_t(d->colonne.size());
    aggiungiRighe(righe.size(), [&righe, quante](qsizetype i, QString *testi) {
        const QStringList &riga = righe[i];
        std::copy_n(riga.cbegin(), std::min(quante, std::size_t(riga.size())), testi);
    });
}

void ListaReport::aggiungiRighe(qsizetype quante, const std::function<void(qsizetype, QString *)> &scrivi)
{
    d->modello->aggiungi(quante, scrivi);
}

void ListaReport::impostaCaselle(bool attive)
{
    if (d->modello->caselle == attive)
        return;
    d->modello->caselle = attive;
    d->modello->segnalaColonnaZero();
}

bool ListaReport::spunta(int riga) const
{
    return d->rigaValida(riga) && d->modello->spunte[std::size_t(riga - 1)];
}

void ListaReport::impostaSpunta(int riga, bool spuntata)
{
    if (!d->rigaValida(riga))
        return;
    d->modello->spunte[std::size_t(riga - 1)] = spuntata;
    if (d->congelata)
        d->modificata = true;
    else
        d->modello->segnalaCella(riga - 1, 0);
}

int ListaReport::rigaSelezionata() const
{
    const QModelIndexList scelte = d->vista->selectionModel()->selectedRows();
    return scelte.isEmpty() ? 0 : scelte.first().row() + 1;
}

void ListaReport::selezionaRiga(int riga)
{
    QItemSelectionModel *sel = d->vista->selectionModel();
    if (!d->rigaValida(riga)) {
        sel->clearSelection();
        return;
    }
    sel->setCurrentIndex(d->modello->index(riga - 1, 0),
                         QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ListaReport::mostraRiga(int riga)
{
    if (d->rigaValida(riga))
        d->vista->scrollTo(d->modello->index(riga - 1, 0));
}

void ListaReport::impostaColori(const QColor &sfondo, const QColor &testo)
{
    QPalette p = d->vista->palette();
    p.setColor(QPalette::Base, sfondo);
    p.setColor(QPalette::AlternateBase, sfondo);
    p.setColor(QPalette::Window, sfondo);
    p.setColor(QPalette::Text, testo);
    p.setColor(QPalette::WindowText, testo);
    d->vista->setPalette(p);
    d->vista->viewport()->update();
}

void ListaReport::impostaEvidenze(const QList<int> &righe)
{
    ModelloLista &m = *d->modello;
    if (righe.isEmpty() && m.evidenze.empty())
        return;
    m.evidenze.assign(m.numero(), 0);
    for (const int r : righe) {
        if (d->rigaValida(r))
            m.evidenze[std::size_t(r - 1)] = 1;
    }
    if (d->congelata)
        d->modificata = true;
    else
        m.segnalaTutto();
}

bool ListaReport::evidenziata(int riga) const
{
    const std::vector<char> &e = d->modello->evidenze;
    return d->rigaValida(riga) && std::size_t(riga - 1) < e.size() && e[std::size_t(riga - 1)];
}

void ListaReport::impostaColoriEvidenza(const QColor &sfondo, const QColor &testo)
{
    d->modello->sfondoEvidenza = sfondo;
    d->modello->testoEvidenza = testo;
    d->modello->segnalaTutto();
}

int ListaReport::numeroRighe() const
{
    return int(d->modello->numero());
}

int ListaReport::numeroColonne() const
{
    return int(d->colonne.size());
}

QString ListaReport::tagColonna(int indice) const
{
    return colonna(indice).tag;
}

bool ListaReport::haCella(int riga, int colonna) const
{
    return d->cella(riga, colonna) >= 0;
}

QString ListaReport::testo(int riga, int colonna) const
{
    const qsizetype c = d->cella(riga, colonna);
    return c >= 0 ? d->modello->testi[std::size_t(c)] : QString();
}

QString ListaReport::tag(int riga, int colonna) const
{
    const qsizetype c = d->cella(riga, colonna);
    const std::vector<QString> &tags = d->modello->tags;
    return c >= 0 && std::size_t(c) < tags.size() ? tags[std::size_t(c)] : QString();
}

void ListaReport::impostaTesto(int riga, int colonna, const QString &testo)
{
    const qsizetype c = d->cella(riga, colonna);
    if (c < 0)
        return;
    d->modello->testi[std::size_t(c)] = testo;
    if (d->congelata)
        d->modificata = true;
    else
        d->modello->segnalaCella(riga - 1, colonna);
}

void ListaReport::impostaTag(int riga, int colonna, const QString &tag)
{
    // The tag is never shown, so no view needs to hear of it.
    const qsizetype c = d->cella(riga, colonna);
    std::vector<QString> &tags = d->modello->tags;
    if (c < 0 || (tags.empty() && tag.isEmpty()))
        return;
    tags.resize(d->modello->testi.size());
    tags[std::size_t(c)] = tag;
}

int ListaReport::sortKey() const
{
    return d->sortKey;
}

void ListaReport::setSortKey(int colonna)
{
    d->sortKey = colonna;
}

int ListaReport::sortOrder() const
{
    return d->sortOrder;
}

void ListaReport::setSortOrder(int ordine)
{
    d->sortOrder = ordine == 0 ? 0 : 1;
}

bool ListaReport::sorted() const
{
    return d->sorted;
}

void ListaReport::setSorted(bool ordinata)
{
    d->sorted = ordinata;
    if (ordinata)
        d->modello->ordina(d->sortKey, d->sortOrder == 1);
    d->mostraOrdinamento();
}

int ListaReport::mousePointer() const
{
    return d->puntatore;
}

void ListaReport::setMousePointer(int puntatore)
{
    d->puntatore = puntatore;
    if (puntatore == 11) {
        setCursor(Qt::WaitCursor);
        d->vista->viewport()->setCursor(Qt::WaitCursor);
    } else {
        unsetCursor();
        d->vista->viewport()->unsetCursor();
    }
}

void ListaReport::congelaDisegno(bool congela)
{
    if (congela == d->congelata)
        return;
    d->congelata = congela;
    d->vista->setUpdatesEnabled(!congela);
    if (!congela && d->modificata) {
        d->modificata = false;
        d->modello->segnalaTutto();
    }
}

namespace {

// The widest of many texts at one font, without shaping every one of them:
// each text's width is first estimated as the sum of its characters'
// advances (kept in a small table); then texts are measured exactly, widest
// estimate first, until the next estimate falls more than a few characters
// short of the widest measured. Kerning and shaping move a text's width by
// far less than that margin, so the widest text is always measured.
class MisuraTesti {
public:
    explicit MisuraTesti(const QFontMetrics &f) : m_f(f), m_margine(3 * f.averageCharWidth() + 2)
    {
        m_avanzamenti.fill(-1);
    }

    int stima(QStringView t)
    {
        int w = 0;
        for (QChar c : t) {
            const char16_t u = c.unicode();
            if (u < m_avanzamenti.size()) {
                int &a = m_avanzamenti[u];
                if (a < 0)
                    a = m_f.horizontalAdvance(c);
                w += a;
            } else {
                w += m_f.maxWidth();
            }
        }
        return w;
    }

    template <typename Testi> int piuLargo(std::size_t n, const Testi &testo)
    {
        std::vector<int> stime(n);
        int massima = 0;
        for (std::size_t i = 0; i < n; ++i) {
            stime[i] = stima(testo(i));
            massima = std::max(massima, stime[i]);
        }
        // The candidates, widest estimate first: measuring stops at the first
        // one that cannot beat the widest measured so far, or after a few
        // dozen distinct texts (texts of equal estimates, such as dates,
        // differ by a pixel or two of kerning at most).
        std::vector<std::size_t> candidati;
        for (std::size_t i = 0; i < n; ++i)
            if (stime[i] + m_margine >= massima)
                candidati.push_back(i);
        const auto primi = std::min<std::size_t>(candidati.size(), MassimoMisurati * 4);
        std::partial_sort(candidati.begin(), candidati.begin() + std::ptrdiff_t(primi), candidati.end(),
                          [&stime](std::size_t a, std::size_t b) { return stime[a] > stime[b]; });
        int larghezza = 0;
        QList<QStringView> misurati;
        for (std::size_t k = 0; k < primi && misurati.size() < MassimoMisurati; ++k) {
            const std::size_t i = candidati[k];
            if (stime[i] + m_margine < larghezza)
                break;
            const QStringView t = testo(i);
            if (misurati.contains(t))
                continue;
            misurati.append(t);
            larghezza = std::max(larghezza, m_f.horizontalAdvance(t.toString()));
        }
        return larghezza;
    }

private:
    static constexpr qsizetype MassimoMisurati = 32;
    QFontMetrics m_f;
    int m_margine;
    std::array<int, 256> m_avanzamenti;
};

} // namespace

int ListaReport::larghezzaNecessaria(int colonna) const
{
    if (colonna < 0 || colonna >= d->colonne.size())
        return 0;
    const QTreeView *v = d->vista;
    const QHeaderView *h = v->header();
    const QStyle *stile = v->style();

    // The header: its text, the sort arrow and the style's margins.
    const int margineIntestazione = stile->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h);
    const int freccia = stile->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, h);
    int necessaria = QFontMetrics(h->font()).horizontalAdvance(d->colonne[colonna].titolo)
                     + 4 * margineIntestazione + freccia;

    // The cells: the widest text, the item's margins and, in the first
    // column of a list with check boxes, the box and the gap after it.
    const int bordo = 2 * (stile->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, v) + 1) + 6;
    int casella = 0;
    if (d->modello->caselle && colonna == 0)
        casella = stile->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, v)
                  + stile->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, v) + 2;
    const std::size_t larghezza = d->modello->larghezza;
    const auto c = std::size_t(colonna);
    int testo = 0;
    if (c < larghezza) {
        const std::vector<QString> &testi = d->modello->testi;
        MisuraTesti misura{QFontMetrics(v->font())};
        testo = misura.piuLargo(d->modello->numero(),
                                [&](std::size_t r) { return QStringView(testi[r * larghezza + c]); });
    }
    return std::max(necessaria, testo + bordo + casella);
}

void ListaReport::adattaColonne()
{
    QHeaderView *h = d->vista->header();
    for (int i = 0; i < d->colonne.size(); ++i) {
        if (d->colonne[i].nascosta)
            continue;
        const int necessaria = larghezzaNecessaria(i);
        if (h->sectionSize(i) < necessaria)
            h->resizeSection(i, necessaria);
    }
}

int ListaReport::larghezzaColonne() const
{
    const QTreeView *v = d->vista;
    const int barra = v->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, v);
    return v->header()->length() + 2 * v->frameWidth() + barra + 2;
}
