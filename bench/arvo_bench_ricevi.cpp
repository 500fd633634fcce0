// Receiving bags by scanning them: what a scanner types decoded and matched
// against a generated database, and the barcodes of a 12-megapixel photo.
//
//   build/release/bench/arvo_bench_ricevi [components] [runs]
//
// Rows: the index of the stock built once (codes, IDs); one scan decoded
// and matched, as the mean over 1,000 scans of every shape (envelopes with
// control characters, with the separators as text, without any separator,
// typed on a German keyboard; LCSC's QR text; plain codes; the program's
// own labels), and the slowest single scan of them; the picture: a JPEG of
// 4,000 x 3,000 pixels, a grey and uneven ground with noise, holding 10
// codes (4 DataMatrix, 3 QR, 3 Code 128), read from the file with every
// code decoded. Baselines: a QHash of the codes as they are, looked up by the
// part number as typed; decoding the same JPEG alone.

#include "lib/generatore.h"
#include "lib/misura.h"
#include "ricevi/codiciimmagine.h"
#include "ricevi/confrontoricevi.h"
#include "ricevi/scansione.h"
#include "store/stato.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

namespace {

void Riga(const char *nome, Tempo t, Tempo base, double obiettivo)
{
    std::printf("%-38s %9.3f %9.3f %11.3f %9.3f %7.1fx   %s\n", nome, t.muro, t.cpu, base.muro, base.cpu,
                base.muro > 0 ? t.muro / base.muro : 0.0,
                obiettivo <= 0 ? "" : t.muro <= obiettivo ? "ok" : "MISSED");
}

Tempo Diviso(Tempo t, double n) { return {t.muro / n, t.cpu / n, t.valido}; }

// A German keyboard's version of a text a scanner typed for a US one.
QString Tedesca(const QString &testo)
{
    static const QString us = QStringLiteral("-[)>:ZzYy/");
    static const QString de = QStringLiteral("\u00df\u00fc=:\u00d6YyZz-");
    QString out = testo;
    for (QChar &c : out) {
        const qsizetype i = us.indexOf(c);
        if (i >= 0)
            c = de[i];
    }
    return out;
}

// 1,000 scans of bags of the stock, of every shape, in turn.
QStringList Scansioni(const Stato &s, int quante)
{
    QRandomGenerator rng(20261225);
    QStringList out;
    for (int i = 0; i < quante; ++i) {
        const int pos = 1 + int(rng.bounded(quint32(s.NumComponenti)));
        const Componente &c = s.componente(pos);
        const QString q = QString::number(1 + rng.bounded(500u));
        const QString lotto = QString::number(100000 + i);
        switch (i % 8) {
        case 0:
            out << QStringLiteral("[)>\x1e" "06\x1dP%1-ND\x1d" "1P%1\x1dK\x1d" "1K7299%2\x1d" "10K8578%2\x1d"
                                  "9D2532\x1d" "1T%2\x1d" "11K1\x1d" "4LPH\x1dQ%3\x1d" "11ZPICK\x1d" "12Z1522\x1d"
                                  "13Z3613\x1d" "20Z%4\x1e\x04")
                       .arg(c.Codice, lotto, q, QString(75, u'0'));
            break;
        case 1:
            out << QStringLiteral(">[)>06{GS}K2142%2{GS}14K033{GS}1P%1{GS}Q%3{GS}11K0609%2{GS}4LCN{GS}1VSTMicro")
                       .arg(c.Codice, lotto, q);
            break;
        case 2: // no separator at all: the layouts are tried
            out << QStringLiteral("[)>06P") + c.Codice + QStringLiteral("-ND1P") + c.Codice + QStringLiteral("K1K7299")
                    + lotto + QStringLiteral("10K8578") + lotto + QStringLiteral("11K14LPHQ") + q
                    + QStringLiteral("11ZPICK12Z152213Z361320Z") + QString(75, u'0');
            break;
        case 3:
            out << Tedesca(QStringLiteral(">[)>06K2142%2\u241d14K033\u241d1P%1\u241dQ%3\u241d4LCN").arg(c.Codice, lotto, q));
            break;
        case 4:
            out << QStringLiteral("{pbn:PICK%2,on:SO%2,pc:C%2,pm:%1,qty:%3,mc:,cc:1,pdi:34421807}")
                       .arg(c.Codice, lotto, q);
            break;
        case 5:
            out << c.Codice.toLower() + QStringLiteral("\r\n");
            break;
        case 6:
            out << QStringLiteral("ARVO:%1").arg(c.ID);
            break;
        default:
            out << QStringLiteral("NONESISTE%1").arg(i);
            break;
        }
    }
    return out;
}

// The photo: 4,000 x 3,000, a ground that darkens from one corner to the
// other, noise, and 10 codes of the texts bags carry.
QImage Foto(const QStringList &testi)
{
    QImage foto(4000, 3000, QImage::Format_RGB32);
    for (int y = 0; y < foto.height(); ++y) {
        auto *riga = reinterpret_cast<QRgb *>(foto.scanLine(y));
        for (int x = 0; x < foto.width(); ++x) {
            const int g = 235 - (x + y) / 200;
            riga[x] = qRgb(g, g, g - 8);
        }
    }
    QPainter p(&foto);
    const struct {
        TipoCodice tipo;
        int modulo;
        QPoint dove;
    } posti[] = {
        {TipoCodice::DataMatrix, 5, {200, 250}},   {TipoCodice::DataMatrix, 7, {1500, 300}},
        {TipoCodice::DataMatrix, 4, {2900, 1200}}, {TipoCodice::DataMatrix, 10, {600, 1900}},
        {TipoCodice::QR, 5, {2700, 200}},          {TipoCodice::QR, 6, {1400, 1300}},
        {TipoCodice::QR, 4, {2400, 2300}},         {TipoCodice::Code128, 3, {200, 1200}},
        {TipoCodice::Code128, 4, {1500, 2500}},    {TipoCodice::Code128, 3, {3000, 2700}},
    };
    for (int i = 0; i < 10; ++i)
        p.drawImage(posti[i].dove, ImmagineCodice(posti[i].tipo, testi[i], posti[i].modulo));
    p.end();
    QRandomGenerator rng(20261226);
    for (int y = 0; y < foto.height(); ++y) {
        auto *riga = reinterpret_cast<QRgb *>(foto.scanLine(y));
        for (int x = 0; x < foto.width(); ++x) {
            const int n = int(rng.bounded(25u)) - 12;
            const QRgb v = riga[x];
            riga[x] = qRgb(qBound(0, qRed(v) + n, 255), qBound(0, qGreen(v) + n, 255), qBound(0, qBlue(v) + n, 255));
        }
    }
    return foto;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int volte = argc > 2 ? std::atoi(argv[2]) : 5;
    constexpr int Scansioni1000 = 1000;

    Stato stato;
    GeneraDatabase(stato, n);
    const QStringList scansioni = Scansioni(stato, Scansioni1000);
    std::printf("Scans against %d components, median of %d runs, ms\n\n", n, volte);
    std::printf("%-38s %9s %9s %11s %9s %8s   %s\n", "figure", "wall", "cpu", "baseline", "cpu", "ratio", "target");

    std::unique_ptr<IndiceRicevi> indice;
    const Tempo costruzione = Misura(volte, [&] { indice = std::make_unique<IndiceRicevi>(stato); });
    QHash<QString, qint32> codici;
    const Tempo costruzioneBase = Misura(volte, [&] {
        codici.clear();
        codici.reserve(stato.NumComponenti);
        for (qint32 i = 1; i <= stato.NumComponenti; ++i)
            codici.insert(stato.componente(i).Codice, i);
    });
    Riga("index of the stock (built once)", costruzione, costruzioneBase, 0);

    QHash<int, int> esiti;
    const Tempo mille = Misura(volte, [&] {
        esiti.clear();
        for (const QString &t : scansioni)
            ++esiti[int(indice->confronta(LeggiScansione(t)).esito)];
    });
    qsizetype trovati = 0;
    const Tempo milleBase = Misura(volte, [&] {
        trovati = 0;
        for (const QString &t : scansioni)
            trovati += codici.contains(t.trimmed());
    });
    Riga("one scan decoded and matched (mean)", Diviso(mille, Scansioni1000), Diviso(milleBase, Scansioni1000), 5);
    // Each scan timed alone, the median of its runs (a single run is at the
    // mercy of the scheduler).
    double peggiore = 0;
    QString testoPeggiore;
    for (const QString &t : scansioni) {
        QList<double> ms;
        for (int v = 0; v < volte; ++v) {
            QElapsedTimer orologio;
            orologio.start();
            indice->confronta(LeggiScansione(t));
            ms << orologio.nsecsElapsed() / 1e6;
        }
        if (Mediana(ms) > peggiore) {
            peggiore = Mediana(ms);
            testoPeggiore = t;
        }
    }
    QStringList illeggibili;
    for (const QString &t : scansioni) {
        const Scansione letta = LeggiScansione(t);
        if (!letta.leggibile() && illeggibili.size() < 3)
            illeggibili << t.left(50) + QStringLiteral(" -> ") + letta.motivo;
    }
    Riga("slowest single scan of the 1,000", Tempo{peggiore, 0, true}, Tempo{}, 5);

    // The photo's codes: three envelopes and a plain code as DataMatrix,
    // LCSC's texts as QR, codes as Code 128.
    const QStringList testi{scansioni[0], scansioni[8], scansioni[16], QStringLiteral("ARVO:12"), scansioni[4],
                            scansioni[12], scansioni[20], stato.componente(1).Codice, QStringLiteral("C312270"),
                            QStringLiteral("296-LM358BIDDFRCT-ND")};
    QTemporaryDir cartella;
    const QString file = cartella.filePath(QStringLiteral("foto.jpg"));
    if (!Foto(testi).save(file, "JPEG", 90))
        return 1;
    LetturaImmagine lettura;
    const Tempo foto = Misura(volte, [&] { lettura = LeggiCodiciImmagine(file); });
    const Tempo fotoBase = Misura(volte, [&] { QImageReader(file).read(); });
    Riga("12 MP photo, 10 codes (from the file)", foto, fotoBase, 1500);

    int giusti = 0;
    for (const CodiceImmagine &c : lettura.codici)
        giusti += testi.contains(c.testo);
    std::printf("\nOutcomes of the 1,000 scans: %d to add, %d new, %d to choose, %d unreadable; the baseline found "
                "%lld codes as typed\n",
                esiti.value(int(EsitoRicevi::Aggiungi)), esiti.value(int(EsitoRicevi::Nuovo)),
                esiti.value(int(EsitoRicevi::DaScegliere)), esiti.value(int(EsitoRicevi::NonLeggibile)),
                static_cast<long long>(trovati));
    for (QChar &c : testoPeggiore) {
        if (c.unicode() < 0x20)
            c = u'|';
    }
    std::printf("Slowest scan: %s\n", qPrintable(testoPeggiore.left(60)));
    for (QString &t : illeggibili) {
        for (QChar &c : t) {
            if (c.unicode() < 0x20)
                c = u'|';
        }
        std::printf("Unreadable: %s\n", qPrintable(t));
    }
    std::printf("Photo (%lld bytes): %lld codes read, %d of the 10 texts%s\n",
                static_cast<long long>(QFileInfo(file).size()), static_cast<long long>(lettura.codici.size()), giusti,
                lettura.errore.isEmpty() ? "" : qPrintable(QStringLiteral(", error: ") + lettura.errore));
    return 0;
}
