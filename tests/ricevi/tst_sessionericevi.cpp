// The bags of one receiving session: the scan box's text split into scans, the rows and the user's choices.

#include "common/buste.h"
#include "common/distintaprova.h"
#include "common/verifiche.h"
#include "ricevi/sessionericevi.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString Voce(const VoceRicevimento &v)
{
    return u"%1|%2|%3|%4|%5"_s.arg(v.codice, v.produttore, v.descrizione).arg(v.pezzi).arg(v.id);
}

} // namespace

class TestSessioneRicevi : public QObject {
    Q_OBJECT
private slots:
    void dividi_data()
    {
        Colonne<QString, QStringList, QString>("testo", "scansioni", "resto");
        QTest::newRow("in corso") << u"[)>\x1e" "06"_s << QStringList{} << u"[)>\u241e06"_s;
        QTest::newRow("invio") << u"BC547\n"_s << QStringList{"BC547"} << QString();
        QTest::newRow("righe incollate") << u" A \r\n\r\nB\rC"_s << QStringList{"A", "B"} << u"C"_s;
        QTest::newRow("fine busta") << u"[)>\x1e" "06\x1d" "1PX\x1e\x04[)>"_s
                                    << QStringList{u"[)>\u241e06\u241d1PX\u241e\u2404"_s}
                                    << u"[)>"_s;
        QTest::newRow("fine busta figurata e invio")
            << u"1PX\u2404\n1PY\u2404"_s << QStringList{u"1PX\u2404"_s, u"1PY\u2404"_s}
            << QString();
    }
    void dividi()
    {
        const auto [testo, scansioni, resto] = Valori<QString, QStringList, QString>("testo", "scansioni", "resto");
        QString r;
        QCOMPARE(DividiScansioni(testo, &r), scansioni);
        QCOMPARE(r, resto);
    }

    // Bags of the stock, new, of two components, unreadable, a plain code; the user's choices, a bag read twice, a row
    // removed; the rows as the registration takes them, unreadable ones left out.
    void sessione()
    {
        Stato stato;
        RiempiMagazzino(stato, {"11:LM358:5", "13:BC547:10", "14:BC547:3"});
        SessioneRicevi s(stato);
        const auto busta = [](const char *campi) { return LeggiScansione(Busta(QString::fromLatin1(campi))); };
        QCOMPARE(s.aggiungi(busta("1PLM358|Q10|1VTI|1T42|1K7")), 0);
        s.aggiungi(busta("1PTL072|Q5|1VST|P497-TL072-ND"));
        s.aggiungi(busta("1PBC547|Q100"));
        s.aggiungi(busta("Q4"));
        s.aggiungi(LeggiScansione(u"1N4148"_s));
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
        QCOMPARE(s.esito(2), u"Aggiungi a BC547"_s);
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
        QCOMPARE(s.esito(1), u"Aggiungi a BC547"_s);
        QCOMPARE(s.doppione(busta("1PLM358|Q10|1VTI|1T42|1K7")), 0);
    }
};

QTEST_GUILESS_MAIN(TestSessioneRicevi)
#include "tst_sessionericevi.moc"
