#include "generatore.h"

#include "dialoghimuti.h"
#include "store/stato.h"
#include "store/tabelle.h"

#include <QDir>
#include <QRandomGenerator>

namespace {

struct Famiglia {
    const char *tipo;
    QStringList prefissi;
    QStringList basi;
    QStringList suffissi;
    QStringList packages;
    const char *descrizione;
};

const QList<Famiglia> &famiglie()
{
    static const QList<Famiglia> f = {
        {"INTEGRATO", {"SN74HC", "74HC", "MC74HC", "CD74HC", "74LS", "SN74LS"},
         {"00", "02", "04", "08", "14", "32", "74", "86", "138", "157", "244", "245", "373", "595"},
         {"N", "P", "D", "", "AN"}, {"DIP14", "DIP16", "SO14", "SO16"}, "Logica veloce CMOS"},
        {"TRANSISTOR", {"BC", "BD", "2N", "BF"},
         {"547", "548", "549", "557", "558", "337", "327", "139", "140", "2222", "3904", "3906", "245"},
         {"A", "B", "C", ""}, {"TO-92", "TO-126", "SOT-23"}, "Transistor di segnale"},
        {"REGOLATORE", {"LM", "L", "UA", "MC"},
         {"317", "337", "7805", "7812", "7905", "78L05", "1117", "2940"},
         {"T", "K", "CT", "DT", ""}, {"TO-220", "TO-92", "SOT-223"}, "Regolatore di tensione"},
        {"DIODO", {"1N", "BAT", "BY", "UF"},
         {"4148", "4001", "4004", "4007", "5817", "5819", "5408", "85"},
         {"", "-T", "RL"}, {"DO-35", "DO-41", "DO-201"}, "Diodo di commutazione"},
        {"TIMER", {"NE", "LM", "ICM", "TLC"}, {"555", "556", "7555"}, {"", "N", "P", "CN"},
         {"DIP8", "SO8", "DIP14"}, "Timer di precisione"},
        {"OPERAZIONALE", {"LM", "TL", "NE", "OP", "MCP"},
         {"358", "324", "741", "072", "074", "082", "5532", "07", "602"},
         {"N", "P", "CN", "D", ""}, {"DIP8", "DIP14", "SO8"}, "Amplificatore operazionale"},
        {"MOSFET", {"IRF", "IRLZ", "BS", "2N"}, {"540", "530", "9540", "44", "170", "7000"},
         {"N", "", "PBF"}, {"TO-220", "TO-92"}, "MOSFET di potenza"},
        {"MICROCONTROLLORE", {"ATMEGA", "PIC16F", "PIC18F", "ATTINY"},
         {"328", "8", "84", "628", "877", "4550", "85", "2313"},
         {"P", "A", "-20PU", "-I/P", ""}, {"DIP28", "DIP40", "DIP8", "TQFP32"}, "Microcontrollore a 8 bit"},
    };
    return f;
}

const QStringList kProduttori = {
    "TEXAS INSTRUMENTS", "ST MICROELECTRONICS", "NXP", "ON SEMICONDUCTOR", "FAIRCHILD",
    "MOTOROLA", "PHILIPS", "VISHAY", "MICROCHIP", "INFINEON", "NATIONAL", "DIODES INC."};

struct DatiPackage {
    const char *nome;
    const char *descrizione;
    int pin;
};

const QList<DatiPackage> kPackages = {
    {"DIP8", "Dual in line 8 pin", 8},        {"DIP14", "Dual in line 14 pin", 14},
    {"DIP16", "Dual in line 16 pin", 16},     {"DIP28", "Dual in line 28 pin, stretto", 28},
    {"DIP40", "Dual in line 40 pin", 40},     {"SO8", "Small outline 8 pin", 8},
    {"SO14", "Small outline 14 pin", 14},     {"SO16", "Small outline 16 pin", 16},
    {"TO-92", "Plastico, 3 terminali", 3},    {"TO-126", "Plastico con foro", 3},
    {"TO-220", "Potenza, con aletta", 3},     {"SOT-23", "Montaggio superficiale, 3 pin", 3},
    {"SOT-223", "Montaggio superficiale, aletta", 4}, {"DO-35", "Vetro assiale", 2},
    {"DO-41", "Plastico assiale", 2},         {"DO-201", "Assiale di potenza", 2},
    {"TQFP32", "Quad flat 32 pin", 32},
};

qint32 numeroDaCodice(const QString &codice)
{
    qint64 n = 0;
    for (QChar c : codice) {
        if (c.isDigit() && n < 100000000)
            n = n * 10 + c.digitValue();
    }
    return qint32(n);
}

} // namespace

void GeneraDatabase(Stato &s, int n, quint32 seme)
{
    QRandomGenerator rnd(seme);
    const auto scegli = [&](const QStringList &l) { return l.at(rnd.bounded(int(l.size()))); };

    s.Tipi.clear();
    for (const Famiglia &f : famiglie())
        s.Tipi.append({qint32(s.Tipi.size() + 1), QString::fromLatin1(f.tipo)});
    s.Produttori.clear();
    for (const QString &p : kProduttori)
        s.Produttori.append({qint32(s.Produttori.size() + 1), p});
    s.Packages.clear();
    for (const DatiPackage &p : kPackages)
        s.Packages.append({qint32(s.Packages.size() + 1), QString::fromLatin1(p.nome),
                           QString::fromUtf8(p.descrizione),
                           QString::fromLatin1(p.nome).toLower() + QStringLiteral(".jpg")});

    s.Componenti.clear();
    s.Componenti.reserve(n);
    const QDate inizio(2004, 1, 1);
    for (int i = 1; i <= n; ++i) {
        const int t = rnd.bounded(int(famiglie().size()));
        const Famiglia &f = famiglie()[t];
        Componente c;
        c.ID = i;
        c.IDTipo = t + 1;
        c.NomeTipo = s.Tipi[t].Nome;
        const int p = rnd.bounded(int(kProduttori.size()));
        c.IDProduttore = p + 1;
        c.NomeProduttore = kProduttori[p];
        c.Codice = scegli(f.prefissi) + scegli(f.basi) + scegli(f.suffissi);
        c.CodiceNumerico = numeroDaCodice(c.Codice);
        const QString pack = scegli(f.packages);
        for (const Package &pk : s.Packages) {
            if (pk.Nome == pack) {
                c.IDPackage = pk.ID;
                c.Pins = kPackages[pk.ID - 1].pin;
            }
        }
        c.Quantita = rnd.bounded(10) == 0 ? 0 : rnd.bounded(1, 500);
        c.Descrizione = QString::fromUtf8(f.descrizione)
            + (rnd.bounded(3) == 0 ? QStringLiteral(", qualità industriale") : QString());
        if (rnd.bounded(3) == 0)
            c.Datasheet = c.Codice + QStringLiteral(".pdf");
        if (rnd.bounded(4) == 0)
            c.Immagine = c.Codice + QStringLiteral(".jpg");
        if (rnd.bounded(5) == 0)
            c.Note = QStringLiteral("Cassetto %1, scomparto %2").arg(rnd.bounded(1, 40)).arg(rnd.bounded(1, 12));
        c.DataInserimento = QDateTime(inizio.addDays(rnd.bounded(7300)), QTime(0, 0), Qt::UTC);
        if (rnd.bounded(6) == 0)
            c.Extra1 = QStringLiteral("%1 V").arg(rnd.bounded(3, 60));
        if (rnd.bounded(8) == 0)
            c.Extra2 = QStringLiteral("%1 mA").arg(rnd.bounded(1, 3000));
        s.Componenti.append(std::move(c));
    }
    s.NumComponenti = n;
    s.NumTipi = qint32(s.Tipi.size());
    s.NumProduttori = qint32(s.Produttori.size());
    s.NumPackages = qint32(s.Packages.size());
    s.ProssimoIDComponente = n + 1;
    s.ProssimoIDTipo = s.NumTipi + 1;
    s.ProssimoIDProduttore = s.NumProduttori + 1;
    s.ProssimoIDPackage = s.NumPackages + 1;
    s.Versione = VersioneDati;
    s.SeparatoreCSV = QStringLiteral(",");
    for (int i = 1; i <= 6; ++i)
        s.Etichette[i] = QStringLiteral("Campo Personale %1").arg(i);
    s.Etichette[1] = QStringLiteral("Tensione");
    s.Etichette[2] = QStringLiteral("Corrente");
}

bool GeneraCartella(const QString &cartella, int n, quint32 seme)
{
    if (!QDir().mkpath(cartella))
        return false;
    Stato s;
    s.percorsi = Percorsi::DaCartella(cartella);
    for (const QString &sotto : {s.percorsi.CartellaDatasheet, s.percorsi.CartellaPics,
                                 s.percorsi.CartellaPackages, s.percorsi.CartellaEsportati,
                                 s.percorsi.CartellaStampe, s.percorsi.CartellaBackup}) {
        if (!QDir().mkpath(sotto))
            return false;
    }
    GeneraDatabase(s, n, seme);
    DialoghiMuti d;
    return SalvaDatabase(s, d);
}
