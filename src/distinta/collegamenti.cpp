#include "distinta/collegamenti.h"

#include "csv/testocsv.h"
#include "distinta/campocsv.h"
#include "store/cp1252.h"
#include "store/scritturasicura.h"
#include "store/stato.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Larger than any file of links a user makes by hand.
constexpr qint64 DimensioneMassimaCollegamenti = 16LL * 1024 * 1024;

QString Normale(QStringView testo) { return MaiuscoloCp1252(testo.trimmed()); }

// "Resistor_SMD:R_0805_2012Metric" and "R_0805_2012Metric" are the same
// footprint, from different exports of one board.
QStringView SenzaLibreria(QStringView footprint)
{
    return footprint.mid(footprint.lastIndexOf(u':') + 1);
}

const QString Separatore = QStringLiteral(";");

} // namespace

QString ChiaveCollegamento(const QString &mpn, const QString &valore, const QString &footprint)
{
    const QString m = Normale(mpn);
    if (!m.isEmpty())
        return QStringLiteral("M\x1f") + m;
    const QString v = Normale(valore);
    if (v.isEmpty())
        return QString();
    return QStringLiteral("V\x1f") + v + u'\x1f' + Normale(SenzaLibreria(QStringView(footprint).trimmed()));
}

QString ChiaveCollegamento(const RigaDistinta &riga)
{
    return ChiaveCollegamento(riga.mpn, riga.valore, riga.footprint);
}

Collegamenti Collegamenti::DaTesto(const QByteArray &dati)
{
    Collegamenti c;
    const TestoDecodificato decodificato = DecodificaCSV(dati);
    if (decodificato.binario)
        return c;
    const QStringList righe = decodificato.testo.split(u'\n');
    QStringList campi;
    QString motivo;
    bool prima = true;
    for (QString riga : righe) {
        if (riga.endsWith(u'\r'))
            riga.chop(1);
        if (riga.trimmed().isEmpty())
            continue;
        if (prima && riga.trimmed().compare(IntestazioneCollegamenti, Qt::CaseInsensitive) == 0) {
            prima = false;
            continue;
        }
        prima = false;
        bool ok = DividiCampiCSV(riga, u';', &campi, &motivo) && campi.size() >= 4;
        Collegamento voce;
        if (ok) {
            voce = {campi[0], campi[1], campi[2], campi[3].trimmed().toInt(&ok), campi.value(4)};
            ok = ok && voce.id > 0;
        }
        const QString chiave = ok ? ChiaveCollegamento(voce.mpn, voce.valore, voce.footprint) : QString();
        if (chiave.isEmpty()) {
            c.m_illeggibili.append(riga);
            continue;
        }
        // A key written twice: the later line counts.
        const auto gia = c.m_indice.constFind(chiave);
        if (gia != c.m_indice.cend()) {
            c.m_voci[*gia] = voce;
        } else {
            c.m_indice.insert(chiave, c.m_voci.size());
            c.m_voci.append(voce);
        }
    }
    return c;
}

QByteArray Collegamenti::testo() const
{
    const QString fine = QStringLiteral("\r\n");
    QString t = IntestazioneCollegamenti + fine;
    for (const Collegamento &v : m_voci) {
        t += QStringList{CampoCSV(v.mpn, Separatore), CampoCSV(v.valore, Separatore), CampoCSV(v.footprint, Separatore),
                         QString::number(v.id), CampoCSV(v.codice, Separatore)}
                 .join(Separatore)
            + fine;
    }
    for (const QString &riga : m_illeggibili)
        t += riga + fine;
    return QByteArrayLiteral("\xEF\xBB\xBF") + t.toUtf8();
}

qint32 Collegamenti::id(const RigaDistinta &riga) const
{
    if (m_voci.isEmpty())
        return 0;
    const auto it = m_indice.constFind(ChiaveCollegamento(riga));
    return it == m_indice.cend() ? 0 : m_voci[*it].id;
}

bool Collegamenti::collega(const RigaDistinta &riga, qint32 id, const QString &codice)
{
    const QString chiave = ChiaveCollegamento(riga);
    if (chiave.isEmpty() || id <= 0)
        return false;
    // An MPN link keeps the MPN only: the value and footprint of the line
    // play no part in it.
    const bool perMpn = chiave.startsWith(u'M');
    const Collegamento voce{perMpn ? riga.mpn.trimmed() : QString(), perMpn ? QString() : riga.valore.trimmed(),
                            perMpn ? QString() : riga.footprint.trimmed(), id, codice};
    const auto gia = m_indice.constFind(chiave);
    if (gia != m_indice.cend()) {
        m_voci[*gia] = voce;
    } else {
        m_indice.insert(chiave, m_voci.size());
        m_voci.append(voce);
    }
    return true;
}

bool Collegamenti::scollega(const RigaDistinta &riga)
{
    const auto it = m_indice.constFind(ChiaveCollegamento(riga));
    if (it == m_indice.cend())
        return false;
    m_voci.removeAt(*it);
    m_indice.clear();
    for (qsizetype i = 0; i < m_voci.size(); ++i)
        m_indice.insert(ChiaveCollegamento(m_voci[i].mpn, m_voci[i].valore, m_voci[i].footprint), i);
    return true;
}

Collegamenti LeggiCollegamenti(const Stato &stato, QString *errore)
{
    const QString percorso = QDir(stato.percorsi.PercorsoApp).filePath(NomeFileCollegamenti);
    if (!QFileInfo(percorso).exists())
        return {};
    QString motivo;
    const std::optional<QByteArray> dati = LeggiFileTestoCSV(percorso, DimensioneMassimaCollegamenti, &motivo);
    if (!dati) {
        if (errore)
            *errore = motivo;
        return {};
    }
    return Collegamenti::DaTesto(*dati);
}

bool SalvaCollegamenti(const Stato &stato, const Collegamenti &collegamenti, QString *errore)
{
    return SalvaCollegamenti(stato, collegamenti, errore, GuastoScrittura{});
}

bool SalvaCollegamenti(const Stato &stato, const Collegamenti &collegamenti, QString *errore,
                       const GuastoScrittura &guasto)
{
    if (stato.SolaLettura) {
        if (errore)
            *errore = QStringLiteral("l'archivio \u00e8 aperto in sola lettura");
        return false;
    }
    return ScriviInsieme(stato.percorsi.PercorsoApp, {{NomeFileCollegamenti, collegamenti.testo()}}, errore, guasto);
}
