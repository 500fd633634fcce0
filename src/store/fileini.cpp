#include "store/fileini.h"

#include "store/cp1252.h"

#include <QFile>
#include <QFileInfo>

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

FileIni::FileIni(const QByteArray &contenuto)
{
    const QString testo = DecodificaCp1252(contenuto);
    qsizetype inizio = 0;
    const qsizetype n = testo.size();
    while (inizio < n) {
        qsizetype i = inizio;
        while (i < n && testo[i] != QLatin1Char('\r') && testo[i] != QLatin1Char('\n'))
            ++i;
        m_righe << testo.sliced(inizio, i - inizio);
        if (i < n && testo[i] == QLatin1Char('\r') && i + 1 < n && testo[i + 1] == QLatin1Char('\n'))
            ++i;
        inizio = i + 1;
    }
}

qsizetype FileIni::trovaSezione(const QString &sezione) const
{
    for (qsizetype i = 0; i < m_righe.size(); ++i) {
        const QStringView nome = nomeSezione(m_righe[i]);
        if (!nome.isNull() && stessoNome(nome, ritaglia(sezione)))
            return i;
    }
    return -1;
}

qsizetype FileIni::fineSezione(qsizetype inizio) const
{
    qsizetype i = inizio + 1;
    while (i < m_righe.size() && nomeSezione(m_righe[i]).isNull())
        ++i;
    return i;
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
        m_righe << QLatin1Char('[') + ritaglia(sezione).toString() + QLatin1Char(']');
        m_righe << nomeChiave + QLatin1Char('=') + v;
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
    m_righe.insert(ultima + 1, nomeChiave + QLatin1Char('=') + v);
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
    const QFileInfo info(percorso);
    if (!info.exists())
        return true;
    QFile f(percorso);
    if (info.isDir() || !f.open(QIODevice::ReadOnly))
        return false;
    *contenuto = f.readAll();
    return f.error() == QFileDevice::NoError;
}
