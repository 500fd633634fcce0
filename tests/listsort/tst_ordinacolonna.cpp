#include "listsort/chiavi.h"
#include "listsort/ordinacolonna.h"
#include "store/localeutente.h"

#include <QTest>

#include <algorithm>
#include <limits>
#include <vector>

namespace {

// A list kept in memory that sorts like the report list: stable, by the
// texts of column SortKey, and records what the sort did to it.
class ListaFinta : public ListaOrdinabile {
public:
    struct Cella {
        QString testo;
        QString tag;
    };
    std::vector<QString> tagColonne;
    std::vector<std::vector<Cella>> righe;
    int chiave = 0;
    int ordine = 0;
    bool ordinata = false;
    int puntatore = 0;
    bool congelata = false;
    int puntatoreDuranteOrdinamento = -1;
    bool congelataDuranteOrdinamento = false;
    QStringList chiaviViste; // the texts of the sorted column when it was sorted
    int ordinamenti = 0;

    int numeroRighe() const override { return int(righe.size()); }
    int numeroColonne() const override { return int(tagColonne.size()); }
    QString tagColonna(int i) const override
    {
        return i >= 1 && i <= numeroColonne() ? tagColonne[std::size_t(i - 1)] : QString();
    }
    const Cella *cella(int r, int c) const
    {
        if (r < 1 || r > numeroRighe() || c < 0 || std::size_t(c) >= righe[std::size_t(r - 1)].size())
            return nullptr;
        return &righe[std::size_t(r - 1)][std::size_t(c)];
    }
    bool haCella(int r, int c) const override { return cella(r, c) != nullptr; }
    QString testo(int r, int c) const override { return cella(r, c) ? cella(r, c)->testo : QString(); }
    QString tag(int r, int c) const override { return cella(r, c) ? cella(r, c)->tag : QString(); }
    void impostaTesto(int r, int c, const QString &t) override
    {
        QVERIFY(congelata);
        if (cella(r, c))
            righe[std::size_t(r - 1)][std::size_t(c)].testo = t;
    }
    void impostaTag(int r, int c, const QString &t) override
    {
        if (cella(r, c))
            righe[std::size_t(r - 1)][std::size_t(c)].tag = t;
    }
    int sortKey() const override { return chiave; }
    void setSortKey(int c) override { chiave = c; }
    int sortOrder() const override { return ordine; }
    void setSortOrder(int o) override { ordine = o; }
    bool sorted() const override { return ordinata; }
    void setSorted(bool s) override
    {
        ordinata = s;
        if (!s)
            return;
        ++ordinamenti;
        puntatoreDuranteOrdinamento = puntatore;
        congelataDuranteOrdinamento = congelata;
        const auto c = std::size_t(chiave);
        auto testoDi = [c](const std::vector<Cella> &r) { return c < r.size() ? r[c].testo : QString(); };
        chiaviViste.clear();
        for (const auto &r : righe)
            chiaviViste << testoDi(r);
        const bool giu = ordine == 1;
        std::stable_sort(righe.begin(), righe.end(), [&](const auto &a, const auto &b) {
            const int x = testoDi(a).compare(testoDi(b));
            return giu ? x > 0 : x < 0;
        });
    }
    int mousePointer() const override { return puntatore; }
    void setMousePointer(int p) override { puntatore = p; }
    void congelaDisegno(bool c) override { congelata = c; }

    // Rows made of (text, tag) cells; tags are "t<row>.<column>" unless given.
    void riempi(const QList<QStringList> &testi)
    {
        righe.clear();
        for (qsizetype r = 0; r < testi.size(); ++r) {
            std::vector<Cella> riga;
            for (qsizetype c = 0; c < testi[r].size(); ++c)
                riga.push_back({testi[r][c], QStringLiteral("t%1.%2").arg(r + 1).arg(c)});
            righe.push_back(riga);
        }
    }
    QStringList colonna(int c) const
    {
        QStringList out;
        for (int r = 1; r <= numeroRighe(); ++r)
            out << testo(r, c);
        return out;
    }
    // Every cell's text and tag, row by row.
    QStringList tutto() const
    {
        QStringList out;
        for (const auto &r : righe) {
            QStringList riga;
            for (const auto &c : r)
                riga << c.testo + QLatin1Char('|') + c.tag;
            out << riga.join(QLatin1Char(','));
        }
        return out;
    }
};

const QLocale Italiano(QLocale::Italian, QLocale::Italy);
const QLocale Americano(QLocale::English, QLocale::UnitedStates);

// The rows after a sort must be a reordering of the rows before it, each
// with exactly its former texts and tags.
void verificaSoloOrdine(const QStringList &prima, const QStringList &dopo)
{
    QStringList a = prima, b = dopo;
    a.sort();
    b.sort();
    QCOMPARE(b, a);
}

} // namespace

class TestOrdinaColonna : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(Italiano); }

    void tipoDaTag_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<int>("tipo");
        QTest::newRow("DATE") << "DATE" << int(TipoColonna::Data);
        QTest::newRow("date") << "date" << int(TipoColonna::Data);
        QTest::newRow("Number") << "Number" << int(TipoColonna::Numero);
        QTest::newRow("empty") << "" << int(TipoColonna::Testo);
        QTest::newRow("0") << "0" << int(TipoColonna::Testo);
        QTest::newRow("NUMBERS") << "NUMBERS" << int(TipoColonna::Testo);
        QTest::newRow("blank around") << " DATE" << int(TipoColonna::Testo);
    }
    void tipoDaTag()
    {
        QFETCH(QString, tag);
        QFETCH(int, tipo);
        QCOMPARE(int(TipoDaTag(tag)), tipo);
    }

    void chiaveNumero_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("every digit") << "0123456789" << "9876543210";
        QTest::newRow("minus") << "-" << " ";
        QTest::newRow("others") << "1.5,a-Z &" << "8.4,a Z &";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("non-ASCII digit kept") << QStringLiteral("\u0663") << QStringLiteral("\u0663");
    }
    void chiaveNumero()
    {
        QFETCH(QString, testo);
        QFETCH(QString, atteso);
        QCOMPARE(ChiaveNumero(testo), atteso);
        QCOMPARE(ChiaveNumero(testo).size(), testo.size());
    }

    void chiaveNumerica_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("atteso");
        const QString z29 = QString(29, u'0');
        const QString z30 = QString(30, u'0');
        const QString n29 = QString(29, u'9');
        const QString n30 = QString(30, u'9');
        QTest::newRow("zero") << Italiano << "0" << z29 + "0," + z30;
        QTest::newRow("minus zero") << Italiano << "-0" << z29 + "0," + z30;
        QTest::newRow("ten") << Italiano << "10" << QString(28, u'0') + "10," + z30;
        QTest::newRow("comma decimal") << Italiano << "2,5" << z29 + "2,5" + QString(29, u'0');
        QTest::newRow("point decimal") << Americano << "2.5" << z29 + "2.5" + QString(29, u'0');
        QTest::newRow("minus three") << Italiano << "-3" << "&" + QString(29, u'9').left(29) + "6," + n30;
        QTest::newRow("blanks and plus") << Italiano << " +7 " << z29 + "7," + z30;
        QTest::newRow("group separators") << Italiano << "1.234,5" << QString(26, u'0') + "1234,5" + QString(29, u'0');
        QTest::newRow("US groups") << Americano << "1,234.5" << QString(26, u'0') + "1234.5" + QString(29, u'0');
        QTest::newRow("no leading digit") << Italiano << ",5" << z30 + ",5" + QString(29, u'0');
        QTest::newRow("tiny decimal") << Americano << "0.000000000000000000000000000001"
                                      << z29 + "0." + QString(29, u'0') + "1";
        QTest::newRow("word") << Italiano << "abc" << "";
        QTest::newRow("empty") << Italiano << "" << "";
        QTest::newRow("blank") << Italiano << "   " << "";
        QTest::newRow("two separators") << Italiano << "1,2,3" << "";
        QTest::newRow("sign only") << Italiano << "-" << "";
        QTest::newRow("trailing word") << Italiano << "12 pezzi" << "";
        QTest::newRow("point in Italian is no decimal") << Italiano << "2.5" << "";
        Q_UNUSED(n29);
    }
    void chiaveNumerica()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, testo);
        QFETCH(QString, atteso);
        QLocale::setDefault(locale);
        QCOMPARE(ChiaveNumerica(testo), atteso);
        if (!atteso.isEmpty())
            QCOMPARE(atteso.size(), atteso.startsWith(u'&') ? 62 : 61);
    }

    void chiaviNumericheInOrdine()
    {
        // Ascending values give strictly ascending keys; equal values equal keys.
        const double valori[] = {-1e20, -123456.789, -10, -2.5, -2, -0.1, -1e-10, 0, 1e-12,
                                 0.1,   0.2,         1,   2,    2.5, 9, 10,   1e15,   1e29};
        const GeneratoreChiavi g(Italiano);
        for (std::size_t i = 0; i + 1 < std::size(valori); ++i) {
            const QString a = g.numero(valori[i]);
            const QString b = g.numero(valori[i + 1]);
            QVERIFY2(a < b, qPrintable(a + " !< " + b));
            QCOMPARE(a.size(), b.size() + (a.startsWith(u'&') && !b.startsWith(u'&') ? 1 : 0));
        }
        QCOMPARE(g.numero(QStringLiteral("2,50")), g.numero(QStringLiteral("2,5")));
        QCOMPARE(g.numero(QStringLiteral("0,1")), g.numero(0.1));
        // Far beyond 10^30 the key simply grows longer.
        QVERIFY(g.numero(1e40).size() > 61);
        QCOMPARE(g.numero(std::numeric_limits<double>::infinity()), QString());
        QCOMPARE(g.numero(std::numeric_limits<double>::quiet_NaN()), QString());
        QCOMPARE(g.numero(QStringLiteral("1e400")), QString());
        // Whole numbers take a shortcut; it must agree with the general path.
        QCOMPARE(g.numero(123456789012345.0), QString(15, u'0') + "123456789012345," + QString(30, u'0'));
        QCOMPARE(g.numero(1e15), QString(14, u'0') + "1" + QString(15, u'0') + "," + QString(30, u'0'));
    }

    void chiaveData_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("Italian") << Italiano << "05/01/2026" << "20260105000000";
        QTest::newRow("with time") << Italiano << "05/12/2026 09:07:03" << "20261205090703";
        QTest::newRow("blanks") << Italiano << " 31/12/2025 " << "20251231000000";
        QTest::newRow("US") << Americano << "1/5/2026" << "20260105000000";
        QTest::newRow("US two digits") << Americano << "12/31/2025" << "20251231000000";
        QTest::newRow("no date") << Italiano << "31/02/2026" << "";
        QTest::newRow("word") << Italiano << "ieri" << "";
        QTest::newRow("empty") << Italiano << "" << "";
        QTest::newRow("short year") << Italiano << "05/01/26" << "";
        QTest::newRow("trailing") << Italiano << "05/01/2026x" << "";
    }
    void chiaveData()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, testo);
        QFETCH(QString, atteso);
        QLocale::setDefault(locale);
        QCOMPARE(ChiaveData(testo), atteso);
        // Same answer as the general date reader.
        const QDateTime letto = LeggiDataBreve(testo);
        QCOMPARE(letto.isValid(), !atteso.isEmpty());
        if (letto.isValid())
            QCOMPARE(letto.toString(QStringLiteral("yyyyMMddhhmmss")), atteso);
    }

    void colonnaNumerica_data()
    {
        QTest::addColumn<int>("indice");
        QTest::newRow("first column") << 1;
        QTest::newRow("sub-item") << 3;
    }
    void colonnaNumerica()
    {
        QFETCH(int, indice);
        const int c = indice - 1;
        ListaFinta l;
        l.tagColonne = {"", "", ""};
        l.tagColonne[std::size_t(c)] = QStringLiteral("number");
        const QStringList valori{"10", "9", "-2", "0", "abc", ""};
        QList<QStringList> righe;
        for (qsizetype i = 0; i < valori.size(); ++i) {
            QStringList r{"r" + QString::number(i), "x", "y"};
            r[c] = valori[i];
            righe << r;
        }
        l.riempi(righe);
        l.puntatore = 3;
        const QStringList prima = l.tutto();

        OrdinaColonna(l, indice); // 0 -> 1: descending
        QCOMPARE(l.ordine, 1);
        QCOMPARE(l.chiave, c);
        QVERIFY(l.ordinata);
        QCOMPARE(l.puntatoreDuranteOrdinamento, 11);
        QVERIFY(l.congelataDuranteOrdinamento);
        QCOMPARE(l.puntatore, 3);
        QVERIFY(!l.congelata);
        QStringList visti = l.colonna(c);
        QCOMPARE(visti.mid(0, 4), (QStringList{"10", "9", "0", "-2"}));
        QCOMPARE(QSet<QString>(visti.begin() + 4, visti.end()), (QSet<QString>{"abc", ""}));
        verificaSoloOrdine(prima, l.tutto());

        OrdinaColonna(l, indice); // ascending
        QCOMPARE(l.ordine, 0);
        visti = l.colonna(c);
        QCOMPARE(QSet<QString>(visti.begin(), visti.begin() + 2), (QSet<QString>{"abc", ""}));
        QCOMPARE(visti.mid(2), (QStringList{"-2", "0", "9", "10"}));
        verificaSoloOrdine(prima, l.tutto());
        // The keys stood in the column while it was sorted, with the
        // visible text and old tag saved in the tag.
        QVERIFY(l.chiaviViste.contains(ChiaveNumerica(QStringLiteral("-2"))));
        QVERIFY(l.chiaviViste.contains(QString()));
    }

    void negativiEDecimali()
    {
        ListaFinta l;
        l.tagColonne = {"", "NUMBER"};
        l.riempi({{"a", "-2"}, {"b", "2,5"}, {"c", "-10"}, {"d", "10"}, {"e", "-2,25"}});
        l.ordine = 1;
        OrdinaColonna(l, 2);
        QCOMPARE(l.colonna(1), (QStringList{"-10", "-2,25", "-2", "2,5", "10"}));
    }

    void colonnaData()
    {
        ListaFinta l;
        l.tagColonne = {"", "", "", "", "DATE", "0"};
        l.riempi({{"A", "", "", "1", "05/01/2026", "1"},
                  {"B", "", "", "2", "31/12/2025", "2"},
                  {"C", "", "", "3", "non so", "3"},
                  {"D", "", "", "4", "01/01/2026", "4"}});
        const QStringList prima = l.tutto();
        l.ordine = 1;
        OrdinaColonna(l, 5);
        QCOMPARE(l.colonna(4), (QStringList{"non so", "31/12/2025", "01/01/2026", "05/01/2026"}));
        QCOMPARE(l.colonna(5), (QStringList{"3", "2", "4", "1"}));
        QCOMPARE(l.chiaviViste, (QStringList{"20260105000000", "20251231000000", "", "20260101000000"}));
        verificaSoloOrdine(prima, l.tutto());
        OrdinaColonna(l, 5);
        QCOMPARE(l.colonna(4), (QStringList{"05/01/2026", "01/01/2026", "31/12/2025", "non so"}));
    }

    void colonnaTesto()
    {
        ListaFinta l;
        l.tagColonne = {"", "", "altro"};
        l.riempi({{"b", "10", "x"}, {"a", "9", "y"}, {"c", "-2", "z"}});
        const QStringList prima = l.tutto();
        OrdinaColonna(l, 1); // descending by the row's own text
        QCOMPARE(l.colonna(0), (QStringList{"c", "b", "a"}));
        QCOMPARE(l.chiave, 0);
        QCOMPARE(l.tutto(), (QStringList{prima[2], prima[0], prima[1]}));
        OrdinaColonna(l, 2); // ascending, as plain texts
        QCOMPARE(l.colonna(1), (QStringList{"-2", "10", "9"}));
        QCOMPARE(l.chiave, 1);
        // Text columns are never touched: no key, no saved tag.
        QCOMPARE(l.chiaviViste, (QStringList{"-2", "10", "9"}));
        verificaSoloOrdine(prima, l.tutto());
    }

    void tagVuotiEVariCaratteri()
    {
        // Empty tags and tags with unusual characters come back exactly.
        ListaFinta l;
        l.tagColonne = {"NUMBER"};
        l.riempi({{"3"}, {"1"}, {"2"}});
        l.righe[0][0].tag = QString();
        l.righe[1][0].tag = QStringLiteral("a|b\tc");
        l.righe[2][0].tag = QStringLiteral("è");
        OrdinaColonna(l, 1);
        QCOMPARE(l.colonna(0), (QStringList{"3", "2", "1"}));
        QCOMPARE(l.tag(1, 0), QString());
        QCOMPARE(l.tag(2, 0), QStringLiteral("è"));
        QCOMPARE(l.tag(3, 0), QStringLiteral("a|b\tc"));
    }

    void rigaSenzaCella()
    {
        ListaFinta l;
        l.tagColonne = {"", "NUMBER"};
        l.riempi({{"a", "5"}, {"b"}, {"c", "1"}});
        OrdinaColonna(l, 2);
        QCOMPARE(l.numeroRighe(), 3);
        QCOMPARE(l.colonna(0), (QStringList{"a", "c", "b"}));
        QCOMPARE(l.testo(1, 1), QStringLiteral("5"));
        QCOMPARE(l.tag(1, 1), QStringLiteral("t1.1"));
        QVERIFY(!l.haCella(3, 1));
    }

    void listaVuota()
    {
        ListaFinta l;
        l.tagColonne = {"", "NUMBER"};
        l.chiave = 0;
        OrdinaColonna(l, 2);
        QCOMPARE(l.ordine, 1);
        QCOMPARE(l.chiave, 0);
        QVERIFY(!l.ordinata);
        QCOMPARE(l.ordinamenti, 0);
        QCOMPARE(l.puntatore, 0);
        QVERIFY(!l.congelata);
        OrdinaColonna(l, 2);
        QCOMPARE(l.ordine, 0);
    }

    void direzioneDellaLista()
    {
        // The direction belongs to the list: another column flips it too.
        ListaFinta l;
        l.tagColonne = {"", "NUMBER"};
        l.riempi({{"b", "1"}, {"a", "2"}});
        OrdinaColonna(l, 1);
        QCOMPARE(l.ordine, 1);
        OrdinaColonna(l, 2);
        QCOMPARE(l.ordine, 0);
        QCOMPARE(l.colonna(1), (QStringList{"1", "2"}));
        OrdinaColonna(l, 2);
        QCOMPARE(l.colonna(1), (QStringList{"2", "1"}));
    }

    void colonnaInesistente()
    {
        ListaFinta l;
        l.tagColonne = {""};
        l.riempi({{"b"}, {"a"}});
        OrdinaColonna(l, 0);
        OrdinaColonna(l, 2);
        QCOMPARE(l.ordine, 0);
        QCOMPARE(l.ordinamenti, 0);
        QCOMPARE(l.colonna(0), (QStringList{"b", "a"}));
    }
};

QTEST_GUILESS_MAIN(TestOrdinaColonna)
#include "tst_ordinacolonna.moc"
