// The bags of one receiving session: the scan box's text split into scans,
// the rows with the user's choices, and the rows as the registration takes
// them.

#include "common/distintaprova.h"
#include "common/verifiche.h"
#include "ricevi/sessionericevi.h"

#include <QTest>

namespace {

QString Voce(const VoceRicevimento &v)
{
    return QStringLiteral("%1|%2|%3|%4|%5").arg(v.codice, v.produttore, v.descrizione).arg(v.pezzi).arg(v.id);
}

} // namespace

class TestSessioneRicevi : public QObject {
    Q_OBJECT
private slots:
    void dividi_data()
    {
        Colonne<QString, QStringList, QString>("testo", "scansioni", "resto");
        QTest::newRow("in corso") << QStringLiteral("[)>\x1e" "06") << QStringList{} << QStringLiteral("[)>\u241e06");
        QTest::newRow("invio") << QStringLiteral("BC547\n") << QStringList{"BC547"} << QString();
        QTest::newRow("righe incollate") << QStringLiteral(" A \r\n\r\nB\rC") << QStringList{"A", "B"}
                                         << QStringLiteral("C");
        QTest::newRow("fine busta") << QStringLiteral("[)>\x1e" "06\x1d" "1PX\x1e\x04[)>")
                                    << QStringList{QStringLiteral("[)>\u241e06\u241d1PX\u241e\u2404")}
                                    << QStringLiteral("[)>");
        QTest::newRow("fine busta figurata e invio")
            << QStringLiteral("1PX\u2404\n1PY\u2404") << QStringList{QStringLiteral("1PX\u2404"), QStringLiteral("1PY\u2404")}
            << QString();
    }
    void dividi()
    {
        const auto [testo, scansioni, resto] = Valori<QString, QStringList, QString>("testo", "scansioni", "resto");
        QString r;
        QCOMPARE(DividiScansioni(testo, &r), scansioni);
        QCOMPARE(r, resto);
    }

    // A series of bags: one of the stock, a new one, one of two components,
    // one unreadable, a plain code without quantity; the user's choices, a
    // bag read twice, a row removed; the rows as the registration takes
    // them, in order, unreadable ones left out.
    void sessione()
    {
        Stato stato;
        RiempiMagazzino(stato, {"11:LM358:5", "13:BC547:10", "14:BC547:3"});
        SessioneRicevi s(stato);
        const auto busta = [](const char *campi) {
            return LeggiScansione(QStringLiteral("[)>\x1e" "06\x1d") + QString::fromLatin1(campi).replace(u'|', u'\x1d')
                                  + QStringLiteral("\x1e\x04"));
        };
        QCOMPARE(s.aggiungi(busta("1PLM358|Q10|1VTI|1T42|1K7")), 0);
        s.aggiungi(busta("1PTL072|Q5|1VST|P497-TL072-ND"));
        s.aggiungi(busta("1PBC547|Q100"));
        s.aggiungi(busta("Q4"));
        s.aggiungi(LeggiScansione(QStringLiteral("1N4148")));
        QStringList esiti;
        for (qsizetype i = 0; i < s.righe().size(); ++i)
            esiti << s.esito(i);
        QCOMPARE(esiti, (QStringList{"Aggiungi a LM358", "Nuovo componente", "Da scegliere",
                                     "Non leggibile: " + s.righe()[3].scansione.motivo, "Nuovo componente"}));
        QCOMPARE(s.leggibili(), 4);

        QList<qsizetype> righe;
        qsizetype daScegliere = 0;
        s.voci(&righe, &daScegliere);
        QCOMPARE(daScegliere, 2);
        s.impostaDestinazione(2, 3);
        QCOMPARE(s.esito(2), QStringLiteral("Aggiungi a BC547"));
        s.impostaDestinazione(0, 0); // not the LM358 of the stock: a new one
        s.impostaDestinazione(3, 1); // an unreadable row has no component
        QCOMPARE(s.righe()[3].destinazione, 0);
        s.impostaPezzi(4, 7);

        // The same bag (lot and order) is found; another LM358 is not.
        QCOMPARE(s.doppione(busta("1PLM358|Q10|1VTI|1T42|1K7")), 0);
        QCOMPARE(s.doppione(busta("1PLM358|Q10|1VTI|1T43|1K7")), -1);

        const QList<VoceRicevimento> voci = s.voci(&righe, &daScegliere);
        QCOMPARE(daScegliere, -1);
        QStringList testi;
        for (const VoceRicevimento &v : voci)
            testi << Voce(v);
        QCOMPARE(testi, (QStringList{"LM358|TI||10|0", "TL072|ST|497-TL072-ND|5|0", "BC547|||100|14", "1N4148|||7|0"}));
        QCOMPARE(righe, (QList<qsizetype>{0, 1, 2, 4}));

        s.rimuovi(1);
        QCOMPARE(s.righe().size(), 4);
        QCOMPARE(s.esito(1), QStringLiteral("Aggiungi a BC547"));
        QCOMPARE(s.doppione(busta("1PLM358|Q10|1VTI|1T42|1K7")), 0);
    }
};

QTEST_GUILESS_MAIN(TestSessioneRicevi)
#include "tst_sessionericevi.moc"
