// Real bills of materials from open-hardware projects (tests/data/distinta,
// sources and licences in FONTI.md), each checked against a stock built for
// it. Next to each BOM, NAME.attesi holds that stock ("magazzino:
// ID:CODICE:PEZZI[:PRODUTTORE]"), the links made by hand ("collegamento:",
// lines of Collegamenti.csv) and what the check must give: how the file is
// read ("letto: separator|header line|quantity from references|lines
// joined|not fitted"), the pieces per board, the lines not found and every
// other line ("riga: line|part|per board|code|outcome"). The three LumenPnP
// files describe one board and are checked against each other.

#include "common/cartellatest.h"
#include "common/verifiche.h"
#include "common/distintaprova.h"
#include "distinta/collegamenti.h"
#include "distinta/letturadistinta.h"
#include "distinta/verificadistinta.h"

#include <QFile>
#include <QMap>
#include <QSet>

namespace {

QString Percorso(const QString &nome) { return QStringLiteral(ARVO_DISTINTE_REALI "/") + nome; }

LetturaDistinta Leggi(const QString &nome)
{
    const LetturaDistinta l = LeggiFileDistinta(Percorso(nome));
    if (!l.errore.isEmpty())
        QTest::qFail(qPrintable(nome + ": " + l.errore), __FILE__, __LINE__);
    return l;
}

// One reference's value and footprint (without its library prefix).
QMap<QString, QString> PerRiferimento(const LetturaDistinta &l)
{
    QMap<QString, QString> m;
    for (const RigaDistinta &r : l.righe) {
        const QString footprint = r.footprint.mid(r.footprint.lastIndexOf(u':') + 1);
        for (const QString &rif : EspandiRiferimenti(r.riferimenti))
            m.insert(rif, r.valore + u'|' + footprint);
    }
    return m;
}

} // namespace

class TestDistinteReali : public QObject {
    Q_OBJECT
private slots:
    void righe_data()
    {
        Colonne<QString>("file");
        for (const char *f : {"kibot", "jlcpcb", "kicad5-bom2grouped", "kicad6-grouped-extvalue", "kicad8-grouped",
                              "kicad-pcbnew-bom", "per-reference-dnp", "per-reference", "eagle-sintetico"})
            QTest::newRow(f) << QString::fromLatin1(f);
    }
    void righe()
    {
        const auto [file] = Valori<QString>("file");
        QFile f(Percorso(file + QStringLiteral(".attesi")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QStringList magazzino, attesi;
        QByteArray collegamenti = "MPN;Valore;Footprint;ID;Codice\r\n";
        for (const QString &riga : QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
            if (riga.startsWith(QStringLiteral("magazzino: ")))
                magazzino << riga.section(QStringLiteral(": "), 1);
            else if (riga.startsWith(QStringLiteral("collegamento: ")))
                collegamenti += riga.section(QStringLiteral(": "), 1).toUtf8() + "\r\n";
            else if (!riga.startsWith(u'#'))
                attesi << riga;
        }
        CartellaTest cartella;
        Stato s;
        s.percorsi = Percorsi::DaCartella(cartella.percorso());
        RiempiMagazzino(s, magazzino);
        cartella.scrivi(NomeFileCollegamenti, collegamenti);

        const LetturaDistinta l = Leggi(file + QStringLiteral(".csv"));
        QCOMPARE(l.nonMontate, int(l.nonMontati.size()));
        qint64 pezzi = 0;
        for (const RigaDistinta &r : l.righe) {
            pezzi += r.quantita;
            // As many references as pieces, whether counted or read.
            if (r.errore.isEmpty())
                QVERIFY2(ContaRiferimenti(r.riferimenti) == r.quantita, qPrintable(r.riferimenti));
        }
        const VerificaDistinta v(s, l, LeggiCollegamenti(s));
        QStringList visti{QStringLiteral("letto: %1|%2|%3|%4|%5")
                              .arg(l.separatore)
                              .arg(l.rigaIntestazione)
                              .arg(l.quantitaDaRiferimenti ? "yes" : "no")
                              .arg(l.righeUnite)
                              .arg(l.nonMontati.join(u' ')),
                          QStringLiteral("pezzi: %1").arg(pezzi), QString()};
        int nonTrovati = 0;
        for (const VoceVerifica &voce : v.voci()) {
            if (voce.esito == EsitoRiga::NonTrovato) {
                ++nonTrovati;
                QCOMPARE(voce.codice, QString());
                QCOMPARE(voce.mancanti, voce.necessari);
                continue;
            }
            visti << QStringLiteral("riga: %1|%2|%3|%4|%5")
                         .arg(voce.riga.numero)
                         .arg(voce.parte)
                         .arg(voce.riga.quantita)
                         .arg(voce.codice, TestoEsito(voce));
        }
        visti[2] = QStringLiteral("non trovati: %1").arg(nonTrovati);
        QCOMPARE(visti, attesi);
    }

    // KiBot's BOM and JLCPCB's (written by KiBot for the same board) agree
    // line by line, JLCPCB's quantities counted from the references. The
    // KiCad 5 file has the same 234 references with the same footprints and
    // twelve more (fiducials, holes, test points, two solder jumpers), and the
    // same values but for 25 connectors that KiBot groups under one value.
    void stessaScheda()
    {
        const LetturaDistinta kibot = Leggi(QStringLiteral("kibot.csv"));
        const LetturaDistinta jlc = Leggi(QStringLiteral("jlcpcb.csv"));
        const auto riga = [](const RigaDistinta &r) {
            return QStringList{r.valore, r.footprint, EspandiRiferimenti(r.riferimenti).join(u' '),
                               QString::number(r.quantita)};
        };
        QCOMPARE(kibot.righe.size(), jlc.righe.size());
        for (qsizetype i = 0; i < kibot.righe.size(); ++i)
            QCOMPARE(riga(jlc.righe[i]), riga(kibot.righe[i]));

        const QMap<QString, QString> perKibot = PerRiferimento(kibot);
        const QMap<QString, QString> perKicad5 = PerRiferimento(Leggi(QStringLiteral("kicad5-bom2grouped.csv")));
        QCOMPARE(perKibot.size(), 234);
        QCOMPARE(perKicad5.size(), 246);
        QStringList soloKicad5, diversi;
        for (auto it = perKicad5.cbegin(); it != perKicad5.cend(); ++it) {
            const QString altro = perKibot.value(it.key());
            if (altro.isEmpty()) {
                soloKicad5 << it.key();
                continue;
            }
            QCOMPARE(it.value().section(u'|', 1), altro.section(u'|', 1)); // footprint
            if (altro != it.value())
                diversi << it.key() + u'=' + it.value().section(u'|', 0, 0);
        }
        QCOMPARE(soloKicad5.join(u' '), QStringLiteral("FID1 FID2 FID3 H1 H2 H3 H4 JP33 JP34 TP1 TP2 TP3"));
        QCOMPARE(diversi.size(), 25);
        for (const QString &d : diversi)
            QVERIFY2(d.startsWith(u'J') && !d.startsWith(QStringLiteral("JP")), qPrintable(d));
        QVERIFY(diversi.contains(QStringLiteral("J15=AUX USB")));
        QVERIFY(diversi.contains(QStringLiteral("J16=Top Camera")));
    }
};

QTEST_GUILESS_MAIN(TestDistinteReali)
#include "tst_distintereali.moc"
