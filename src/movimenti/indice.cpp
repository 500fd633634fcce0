#include "movimenti/indice.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>

namespace {

const QByteArray PrefissoAnnullamento = QStringLiteral("Annullamento dell'operazione ").toUtf8();

// The fields at the start of a line, read without copying: each between
// double quotes, "" standing for one.
class Campi {
public:
    Campi(const char *riga, qsizetype lunghezza) : m_p(riga), m_fine(riga + lunghezza) {}

    // The next field's raw bytes (doubled quotes as written); false when
    // the line does not go on with a quoted field.
    bool prossimo(QByteArrayView *campo)
    {
        if (!m_primo) {
            if (m_fine - m_p < 1 || *m_p != ';')
                return false;
            ++m_p;
        }
        m_primo = false;
        if (m_p >= m_fine || *m_p != '"')
            return false;
        const char *inizio = ++m_p;
        for (;;) {
            const void *q = std::memchr(m_p, '"', std::size_t(m_fine - m_p));
            if (!q)
                return false;
            const char *v = static_cast<const char *>(q);
            if (v + 1 < m_fine && v[1] == '"') {
                m_p = v + 2;
                continue;
            }
            *campo = QByteArrayView(inizio, v - inizio);
            m_p = v + 1;
            return true;
        }
    }

    bool finita() const { return m_p == m_fine; }

private:
    const char *m_p;
    const char *m_fine;
    bool m_primo = true;
};

template <typename T>
bool Numero(QByteArrayView campo, T *valore)
{
    if (campo.isEmpty() || campo.size() > 19)
        return false;
    bool negativo = false;
    qsizetype i = 0;
    if (campo[0] == '-') {
        negativo = true;
        i = 1;
        if (campo.size() == 1)
            return false;
    }
    qint64 v = 0;
    for (; i < campo.size(); ++i) {
        const char c = campo[i];
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    v = negativo ? -v : v;
    if (v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max())
        return false;
    *valore = T(v);
    return true;
}

// Whether a line is a whole line of the history, with its operation number
// and component ID: eleven quoted fields, the first a date, the second a
// number, the fourth an ID. (The rest is read when the line is shown.)
bool Esamina(const char *riga, qsizetype lunghezza, qint64 *operazione, qint32 *id)
{
    if (lunghezza < 2 || riga[lunghezza - 1] != '"')
        return false;
    Campi campi(riga, lunghezza);
    QByteArrayView data, numero, movimento, codiceId, altro;
    if (!(campi.prossimo(&data) && !data.isEmpty() && data[0] >= '0' && data[0] <= '9'
          && campi.prossimo(&numero) && Numero(numero, operazione) && *operazione > 0
          && campi.prossimo(&movimento) && campi.prossimo(&codiceId) && Numero(codiceId, id)))
        return false;
    for (int i = 4; i < 11; ++i) {
        if (!campi.prossimo(&altro))
            return false;
    }
    return campi.finita();
}

char Minuscola(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c;
}

// Whether the ASCII needle (lower case) occurs in the bytes, ASCII letters
// compared without case.
bool ContieneAscii(QByteArrayView pagliaio, const QByteArray &ago)
{
    const qsizetype n = ago.size();
    for (qsizetype i = 0; i + n <= pagliaio.size(); ++i) {
        qsizetype j = 0;
        while (j < n && Minuscola(pagliaio[i + j]) == ago[j])
            ++j;
        if (j == n)
            return true;
    }
    return false;
}

QString Decodifica(QByteArrayView campo)
{
    QString t = QString::fromUtf8(campo);
    t.replace(QStringLiteral("\"\""), QStringLiteral("\""));
    return t;
}

} // namespace

bool IndiceMovimenti::apri(const QString &percorso, QString *errore)
{
    m_percorso = percorso;
    m_fine = 0;
    m_inizi.clear();
    m_lunghezze.clear();
    m_id.clear();
    m_operazioni.clear();
    return aggiorna(errore);
}

bool IndiceMovimenti::mappa(QString *errore)
{
    if (m_dati && m_file.isOpen())
        m_file.unmap(const_cast<uchar *>(m_dati));
    m_file.close();
    m_dati = nullptr;
    m_mappati = 0;
    const QFileInfo info(m_percorso);
    if (!info.exists())
        return true;
    m_file.setFileName(m_percorso);
    if (!info.isFile() || !m_file.open(QIODevice::ReadOnly)) {
        if (errore)
            *errore = QStringLiteral("Impossibile leggere il file %1").arg(QDir::toNativeSeparators(m_percorso));
        return false;
    }
    const qint64 dimensione = m_file.size();
    if (dimensione == 0)
        return true;
    m_dati = m_file.map(0, dimensione);
    if (!m_dati) {
        if (errore)
            *errore = QStringLiteral("Impossibile leggere il file %1").arg(QDir::toNativeSeparators(m_percorso));
        return false;
    }
    m_mappati = dimensione;
    return true;
}

bool IndiceMovimenti::aggiorna(QString *errore)
{
    if (!mappa(errore))
        return false;
    // A file that shrank (replaced by another) is read again from its start.
    if (m_mappati < m_fine) {
        m_fine = 0;
        m_inizi.clear();
        m_lunghezze.clear();
        m_id.clear();
        m_operazioni.clear();
    }
    scandisci(m_fine);
    return true;
}

void IndiceMovimenti::scandisci(qint64 da)
{
    const char *base = reinterpret_cast<const char *>(m_dati);
    qint64 p = da;
    if (p == 0 && m_mappati >= 3 && std::memcmp(base, "\xEF\xBB\xBF", 3) == 0)
        p = 3;
    while (p < m_mappati) {
        const void *a = std::memchr(base + p, '\n', std::size_t(m_mappati - p));
        if (!a)
            break;
        const qint64 e = static_cast<const char *>(a) - base;
        qint64 lunghezza = e - p;
        if (lunghezza > 0 && base[e - 1] == '\r')
            --lunghezza;
        qint64 operazione = 0;
        qint32 id = 0;
        if (lunghezza < std::numeric_limits<qint32>::max() && Esamina(base + p, lunghezza, &operazione, &id)) {
            m_inizi.push_back(p);
            m_lunghezze.push_back(qint32(lunghezza));
            m_id.push_back(id);
            m_operazioni.push_back(operazione);
        }
        p = e + 1;
    }
    // p stops at the start of a line without a line end, which waits for
    // the next append to end it.
    m_fine = p;
}

QByteArrayView IndiceMovimenti::testo(qsizetype i) const
{
    return QByteArrayView(reinterpret_cast<const char *>(m_dati) + m_inizi[std::size_t(i)],
                          m_lunghezze[std::size_t(i)]);
}

std::optional<RigaMovimento> IndiceMovimenti::riga(qsizetype i) const
{
    return LeggiRigaMovimento(testo(i));
}

std::vector<qint32> IndiceMovimenti::filtra(qint32 id, const QString &testo) const
{
    std::vector<qint32> scelte;
    const qsizetype n = conteggio();
    scelte.reserve(std::size_t(id != 0 ? qMin<qsizetype>(n, 1024) : n));
    const QString cercato = testo;
    const QByteArray utf8 = cercato.toUtf8();
    const bool ascii = std::all_of(utf8.begin(), utf8.end(), [](char c) { return uchar(c) < 0x80 && c != '"'; });
    const QByteArray ago = utf8.toLower();
    const auto contiene = [&](QByteArrayView campo) {
        if (ascii && !campo.contains(QByteArrayView("\"\"")))
            return ContieneAscii(campo, ago);
        return Decodifica(campo).contains(cercato, Qt::CaseInsensitive);
    };
    for (qsizetype i = n - 1; i >= 0; --i) {
        if (id != 0 && m_id[std::size_t(i)] != id)
            continue;
        if (!cercato.isEmpty()) {
            const QByteArrayView riga = this->testo(i);
            Campi campi(riga.data(), riga.size());
            QByteArrayView data, numero, movimento, codiceId, codice;
            campi.prossimo(&data);
            campi.prossimo(&numero);
            campi.prossimo(&movimento);
            campi.prossimo(&codiceId);
            campi.prossimo(&codice);
            if (!contiene(movimento) && !contiene(codice))
                continue;
        }
        scelte.push_back(qint32(i));
    }
    return scelte;
}

std::pair<qsizetype, qsizetype> IndiceMovimenti::estremiOperazione(qsizetype i) const
{
    const qint64 op = operazione(i);
    qsizetype a = i, b = i;
    while (a > 0 && operazione(a - 1) == op)
        --a;
    while (b + 1 < conteggio() && operazione(b + 1) == op)
        ++b;
    return {a, b};
}

QList<RigaMovimento> IndiceMovimenti::righeOperazione(qsizetype i) const
{
    const auto [a, b] = estremiOperazione(i);
    QList<RigaMovimento> righe;
    for (qsizetype k = a; k <= b; ++k) {
        if (const auto r = riga(k))
            righe.append(*r);
    }
    return righe;
}

qint64 IndiceMovimenti::annullataDa(qint64 operazione) const
{
    // Who undid whom, from the Movimento of every line: only a later
    // operation can undo an earlier one.
    QHash<qint64, QList<qint64>> annullanti;
    for (qsizetype i = 0; i < conteggio(); ++i) {
        const QByteArrayView riga = testo(i);
        if (!riga.contains(QByteArrayView(PrefissoAnnullamento)))
            continue;
        Campi campi(riga.data(), riga.size());
        QByteArrayView data, numero, movimento;
        qint64 annullata = 0;
        if (campi.prossimo(&data) && campi.prossimo(&numero) && campi.prossimo(&movimento)
            && movimento.startsWith(QByteArrayView(PrefissoAnnullamento))
            && Numero(movimento.sliced(PrefissoAnnullamento.size()), &annullata)
            && annullata < this->operazione(i)) {
            QList<qint64> &chi = annullanti[annullata];
            if (chi.isEmpty() || chi.last() != this->operazione(i))
                chi.append(this->operazione(i));
        }
    }
    // An undo counts unless it was undone in its turn by one that counts.
    // Numbers grow along every chain, so it ends.
    QHash<qint64, qint64> note;
    std::function<qint64(qint64)> attiva = [&](qint64 n) -> qint64 {
        if (const auto nota = note.constFind(n); nota != note.cend())
            return *nota;
        qint64 risposta = 0;
        const QList<qint64> chi = annullanti.value(n);
        for (auto it = chi.crbegin(); it != chi.crend() && risposta == 0; ++it) {
            if (attiva(*it) == 0)
                risposta = *it;
        }
        note.insert(n, risposta);
        return risposta;
    };
    return attiva(operazione);
}

QByteArray IndiceMovimenti::esporta(const std::vector<qint32> &righe) const
{
    QByteArray testo = IntestazioneMovimenti();
    qsizetype totale = testo.size();
    for (qint32 i : righe)
        totale += m_lunghezze[std::size_t(i)] + 2;
    testo.reserve(totale);
    for (qint32 i : righe) {
        testo += this->testo(i);
        testo += "\r\n";
    }
    return testo;
}
