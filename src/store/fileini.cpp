#include "store/fileini.h"

#include "store/cp1252.h"
#include "store/fileincartella.h"

#include <QFileInfo>

#include <algorithm>

namespace {

bool vuoto(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QStringView ritaglia(QStringView s)
{
    qsizetype a = 0;
    qsizetype b = s.size();
    while (a < b && vuoto(s[a]))
        ++a;
    while (b > a && vuoto(s[b - 1]))
        --b;
    return s.sliced(a, b - a);
}

// The name of a section line "[name]", or a null view.
QStringView nomeSezione(const QString &riga)
{
    const QStringView r = ritaglia(riga);
    if (!r.startsWith(QLatin1Char('[')))
        return {};
    qsizetype fine = r.indexOf(QLatin1Char(']'));
    if (fine < 0)
        fine = r.size();
    return ritaglia(r.sliced(1, fine - 1));
}

bool stessoNome(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

FileIni::FileIni(const QByteArray &contenuto) : m_testo(DecodificaCp1252(contenuto))
{
    // Lines that are only read stay views into the decoded text (no copy
    // and no allocation each), so that even a huge file of short lines
    // costs little more than its text.
    const auto *d = reinterpret_cast<const char16_t *>(m_testo.constData());
    const qsizetype n = m_testo.size();
    qsizetype inizio = 0;
    while (inizio < n) {
        qsizetype i = inizio;
        while (i < n && d[i] != u'\r' && d[i] != u'\n')
            ++i;
        // A section line is one whose first non-blank character is "[".
        qsizetype primo = inizio;
        while (primo < i && (d[primo] == u' ' || d[primo] == u'\t'))
            ++primo;
        if (primo < i && d[primo] == u'[')
            m_sezioni.append(m_righe.size());
        m_righe << QString::fromRawData(m_testo.constData() + inizio, i - inizio);
        if (i < n && d[i] == u'\r' && i + 1 < n && d[i + 1] == u'\n')
            ++i;
        inizio = i + 1;
    }
}

qsizetype FileIni::trovaSezione(const QString &sezione) const
{
    const QStringView nome = ritaglia(sezione);
    for (const qsizetype i : m_sezioni) {
        if (stessoNome(nomeSezione(m_righe[i]), nome))
            return i;
    }
    return -1;
}

qsizetype FileIni::fineSezione(qsizetype inizio) const
{
    const auto dopo = std::upper_bound(m_sezioni.cbegin(), m_sezioni.cend(), inizio);
    return dopo == m_sezioni.cend() ? m_righe.size() : *dopo;
}

void FileIni::inserisci(qsizetype posizione, const QString &riga)
{
    m_righe.insert(posizione, riga);
    auto it = std::lower_bound(m_sezioni.begin(), m_sezioni.end(), posizione);
    for (auto j = it; j != m_sezioni.end(); ++j)
        ++*j;
    if (!nomeSezione(riga).isNull())
        m_sezioni.insert(it - m_sezioni.begin(), posizione);
}

bool FileIni::valore(const QString &sezione, const QString &chiave, QString *valore) const
{
    const qsizetype s = trovaSezione(sezione);
    if (s < 0)
        return false;
    const qsizetype fine = fineSezione(s);
    for (qsizetype i = s + 1; i < fine; ++i) {
        const QString &riga = m_righe[i];
        const qsizetype uguale = riga.indexOf(QLatin1Char('='));
        if (uguale < 0)
            continue;
        if (stessoNome(ritaglia(QStringView(riga).first(uguale)), ritaglia(chiave))) {
            *valore = ritaglia(QStringView(riga).sliced(uguale + 1)).toString();
            return true;
        }
    }
    return false;
}

void FileIni::imposta(const QString &sezione, const QString &chiave, const QString &valore)
{
    // A line break inside a value would split it into lines of its own.
    QString v = valore;
    v.replace(QLatin1Char('\r'), QLatin1Char(' '));
    v.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString nomeChiave = ritaglia(chiave).toString();

    const qsizetype s = trovaSezione(sezione);
    if (s < 0) {
        inserisci(m_righe.size(), QLatin1Char('[') + ritaglia(sezione).toString() + QLatin1Char(']'));
        inserisci(m_righe.size(), nomeChiave + QLatin1Char('=') + v);
        return;
    }
    const qsizetype fine = fineSezione(s);
    qsizetype ultima = s;
    for (qsizetype i = s + 1; i < fine; ++i) {
        const QString &riga = m_righe[i];
        if (!ritaglia(riga).isEmpty())
            ultima = i;
        const qsizetype uguale = riga.indexOf(QLatin1Char('='));
        if (uguale < 0)
            continue;
        const QStringView trovata = ritaglia(QStringView(riga).first(uguale));
        if (stessoNome(trovata, nomeChiave)) {
            m_righe[i] = trovata.toString() + QLatin1Char('=') + v;
            return;
        }
    }
    inserisci(ultima + 1, nomeChiave + QLatin1Char('=') + v);
}

QByteArray FileIni::contenuto() const
{
    QByteArray out;
    for (const QString &riga : m_righe) {
        AccodaCp1252(out, riga);
        out += "\r\n";
    }
    return out;
}

bool LeggiFileIni(const QString &percorso, QByteArray *contenuto)
{
    contenuto->clear();
    // Only a regular file is read, and never with a wait: a FIFO or a device
    // put in its place would otherwise stop the program at the next save.
    if (std::optional<QByteArray> letto = LeggiFileRegolare(percorso)) {
        *contenuto = std::move(*letto);
        return true;
    }
    // Nothing there (a link leading nowhere included) reads as an empty file.
    return !QFileInfo::exists(percorso);
}
