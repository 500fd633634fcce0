#include "csv/testocsv.h"

#include "store/cp1252.h"
#include "store/fileincartella.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <array>

TestoDecodificato DecodificaCSV(QByteArrayView dati)
{
    TestoDecodificato esito;
    const auto utf16 = [&](QStringConverter::Encoding codice) {
        QStringDecoder decodifica(codice, QStringDecoder::Flag::Stateless);
        esito.codifica = QStringLiteral("UTF-16");
        esito.testo = decodifica(dati.sliced(2));
        esito.binario = esito.testo.contains(QChar(0));
        if (esito.binario)
            esito.testo.clear();
        return esito;
    };
    if (dati.startsWith("\xFF\xFE"))
        return utf16(QStringConverter::Utf16LE);
    if (dati.startsWith("\xFE\xFF"))
        return utf16(QStringConverter::Utf16BE);

    // Any other text holds no NUL byte: the check is done on the bytes, before
    // anything is decoded.
    if (dati.contains('\0')) {
        esito.binario = true;
        return esito;
    }
    const bool bom = dati.startsWith("\xEF\xBB\xBF");
    if (bom)
        dati = dati.sliced(3);
    const bool alti = bom || std::any_of(dati.begin(), dati.end(), [](char c) {
                          return static_cast<unsigned char>(c) >= 0x80;
                      });
    if (alti) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString testo = utf8(dati);
        if (!utf8.hasError()) {
            esito.codifica = QStringLiteral("UTF-8");
            esito.testo = std::move(testo);
            return esito;
        }
    }
    esito.codifica = QStringLiteral("Windows-1252");
    esito.testo = DecodificaCp1252(dati);
    return esito;
}

bool DividiCampiCSV(QStringView riga, QChar sep, QStringList *campi, QString *motivo)
{
    campi->clear();
    const qsizetype n = riga.size();
    const auto spazi = [&](qsizetype i) {
        while (i < n && riga[i] == u' ' && sep != u' ')
            ++i;
        return i;
    };
    qsizetype i = 0;
    while (true) {
        const qsizetype virgolette = spazi(i);
        if (virgolette < n && riga[virgolette] == u'"') {
            QString campo;
            i = virgolette + 1;
            bool chiuso = false;
            while (i < n) {
                const qsizetype q = riga.indexOf(u'"', i);
                if (q < 0)
                    break;
                campo.append(riga.mid(i, q - i));
                if (q + 1 < n && riga[q + 1] == u'"') {
                    campo.append(u'"');
                    i = q + 2;
                    continue;
                }
                i = q + 1;
                chiuso = true;
                break;
            }
            if (!chiuso) {
                *motivo = QStringLiteral("virgolette aperte e mai chiuse");
                return false;
            }
            campi->append(campo);
            i = spazi(i);
            if (i == n)
                return true;
            if (riga[i] != sep) {
                *motivo = QStringLiteral("testo dopo le virgolette di chiusura");
                return false;
            }
            ++i;
            continue;
        }
        const qsizetype fine = riga.indexOf(sep, i);
        if (fine < 0) {
            campi->append(riga.mid(i).toString());
            return true;
        }
        campi->append(riga.mid(i, fine - i).toString());
        i = fine + 1;
    }
}

QList<QChar> SeparatoriIntestazione(QStringView intestazione)
{
    std::array<std::pair<qsizetype, QChar>, 3> conti = {{{intestazione.count(u'\t'), u'\t'},
                                                        {intestazione.count(u';'), u';'},
                                                        {intestazione.count(u','), u','}}};
    std::stable_sort(conti.begin(), conti.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    QList<QChar> esito;
    for (const auto &[quanti, sep] : conti) {
        if (quanti > 0)
            esito.append(sep);
    }
    return esito;
}

QString NomeSeparatoreCSV(QChar separatore)
{
    if (separatore == u'\t')
        return QStringLiteral("tabulazione");
    if (separatore == u';')
        return QStringLiteral("punto e virgola");
    if (separatore == u',')
        return QStringLiteral("virgola");
    return QStringLiteral("\"%1\"").arg(separatore);
}

QString MessaggioFileTroppoGrande(qint64 limite)
{
    return QStringLiteral("Il file \u00e8 troppo grande per essere letto (oltre %1 MB).").arg(limite / (1024 * 1024));
}

std::optional<QByteArray> LeggiFileTestoCSV(const QString &percorso, qint64 limite, QString *errore)
{
    // A file already known to be too large is not read at all.
    const QFileInfo info(percorso);
    if (info.isFile() && info.size() > limite) {
        *errore = MessaggioFileTroppoGrande(limite);
        return std::nullopt;
    }
    // Only a regular file is read, opened without waiting: a FIFO or a
    // device picked in a dialog (or swapped in meanwhile) would block the
    // program or never end.
    std::optional<QByteArray> dati = LeggiFileRegolare(percorso, limite + 1);
    if (!dati) {
        *errore = QStringLiteral("Impossibile leggere il file %1: non \u00e8 un file normale o non \u00e8 "
                                 "leggibile.")
                      .arg(QDir::toNativeSeparators(percorso));
        return std::nullopt;
    }
    if (dati->size() > limite) { // it grew after the check above
        *errore = MessaggioFileTroppoGrande(limite);
        return std::nullopt;
    }
    return dati;
}
