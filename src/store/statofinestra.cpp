#include "store/statofinestra.h"

#include "store/fileini.h"
#include "store/ini.h"
#include "store/scritturasicura.h"

#include <QFileInfo>
#include <QStringList>

#include <climits>

namespace {

const QString kX = QStringLiteral("X");
const QString kY = QStringLiteral("Y");
const QString kLarghezza = QStringLiteral("Larghezza");
const QString kAltezza = QStringLiteral("Altezza");
const QString kMassimizzata = QStringLiteral("Massimizzata");
const QString kColonne = QStringLiteral("Larghezza colonne");
const QString kColonna = QStringLiteral("Colonna ordinamento");
const QString kOrdine = QStringLiteral("Ordine");
const QString kCrescente = QStringLiteral("Crescente");
const QString kDecrescente = QStringLiteral("Decrescente");

// A whole number written plainly (an optional minus and digits), within
// [minimo, massimo]; anything else is no number.
bool intero(const QString &testo, int minimo, int massimo, int *valore)
{
    const QString t = testo.trimmed();
    if (t.isEmpty() || t.size() > 9)
        return false;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (!(t.at(i).isDigit() && t.at(i).unicode() < 128) && !(i == 0 && t.at(i) == u'-' && t.size() > 1))
            return false;
    }
    bool ok = false;
    const int n = t.toInt(&ok);
    if (!ok || n < minimo || n > massimo)
        return false;
    *valore = n;
    return true;
}

QString leggi(const FileIni &ini, const QString &chiave)
{
    return LeggiChiaveIni(ini, SezioneFinestra, chiave, QString());
}

qint64 area(const QRect &r)
{
    return r.isValid() ? qint64(r.width()) * r.height() : 0;
}

} // namespace

StatoFinestra LeggiStatoFinestra(const QString &fileIni, int colonne)
{
    StatoFinestra s;
    QByteArray contenuto;
    if (!LeggiFileIni(fileIni, &contenuto))
        return s;
    const FileIni ini(contenuto);

    int x = 0, y = 0, w = 0, h = 0;
    if (intero(leggi(ini, kX), -LatoMassimoFinestra, LatoMassimoFinestra, &x)
        && intero(leggi(ini, kY), -LatoMassimoFinestra, LatoMassimoFinestra, &y)
        && intero(leggi(ini, kLarghezza), 1, LatoMassimoFinestra, &w)
        && intero(leggi(ini, kAltezza), 1, LatoMassimoFinestra, &h))
        s.geometria = QRect(x, y, w, h);
    s.massimizzata = leggi(ini, kMassimizzata).compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;

    const QStringList parti = leggi(ini, kColonne).split(u',');
    QList<int> larghezze;
    for (const QString &p : parti) {
        int l = 0;
        if (!intero(p, 0, LarghezzaMassimaColonna, &l))
            break;
        larghezze << l;
    }
    if (larghezze.size() == colonne)
        s.larghezzeColonne = larghezze;

    int colonna = 0;
    const QString ordine = leggi(ini, kOrdine);
    const int verso = ordine.compare(kCrescente, Qt::CaseInsensitive) == 0     ? 0
                      : ordine.compare(kDecrescente, Qt::CaseInsensitive) == 0 ? 1
                                                                                : -1;
    if (intero(leggi(ini, kColonna), 1, colonne, &colonna) && verso >= 0) {
        s.colonnaOrdinamento = colonna;
        s.ordine = verso;
    }
    return s;
}

bool ScriviStatoFinestra(const QString &fileIni, const StatoFinestra &stato)
{
    QByteArray contenuto;
    if (!LeggiFileIni(fileIni, &contenuto))
        return false;
    FileIni ini(contenuto);
    if (stato.geometria.isValid()) {
        ini.imposta(SezioneFinestra, kX, QString::number(stato.geometria.x()));
        ini.imposta(SezioneFinestra, kY, QString::number(stato.geometria.y()));
        ini.imposta(SezioneFinestra, kLarghezza, QString::number(stato.geometria.width()));
        ini.imposta(SezioneFinestra, kAltezza, QString::number(stato.geometria.height()));
    }
    ini.imposta(SezioneFinestra, kMassimizzata,
                stato.massimizzata ? QStringLiteral("True") : QStringLiteral("False"));
    if (!stato.larghezzeColonne.isEmpty()) {
        QStringList l;
        for (int w : stato.larghezzeColonne)
            l << QString::number(w);
        ini.imposta(SezioneFinestra, kColonne, l.join(u','));
    }
    if (stato.colonnaOrdinamento > 0 && stato.ordine >= 0) {
        ini.imposta(SezioneFinestra, kColonna, QString::number(stato.colonnaOrdinamento));
        ini.imposta(SezioneFinestra, kOrdine, stato.ordine == 0 ? kCrescente : kDecrescente);
    }
    const QByteArray nuovo = ini.contenuto();
    if (nuovo == contenuto)
        return true;
    const QFileInfo info(fileIni);
    return ScriviInsieme(info.absolutePath(), {{info.fileName(), nuovo}});
}

QRect GeometriaSuSchermo(const QRect &geometria, const QList<QRect> &schermi)
{
    if (schermi.isEmpty() || !geometria.isValid())
        return geometria;
    // The screen that holds most of the window; with none, the nearest.
    qsizetype scelto = 0;
    qint64 migliore = -1;
    for (qsizetype i = 0; i < schermi.size(); ++i) {
        const qint64 a = area(schermi[i].intersected(geometria));
        if (a > migliore) {
            migliore = a;
            scelto = i;
        }
    }
    if (migliore <= 0) {
        qint64 distanza = LLONG_MAX;
        for (qsizetype i = 0; i < schermi.size(); ++i) {
            const QPoint d = schermi[i].center() - geometria.center();
            const qint64 q = qint64(d.x()) * d.x() + qint64(d.y()) * d.y();
            if (q < distanza) {
                distanza = q;
                scelto = i;
            }
        }
    }
    const QRect &schermo = schermi[scelto];
    // Shrunk to the screen if larger, then moved only as far as needed to
    // lie on it whole.
    QRect r(geometria.topLeft(), geometria.size().boundedTo(schermo.size()));
    r.moveLeft(qBound(schermo.left(), r.left(), schermo.right() + 1 - r.width()));
    r.moveTop(qBound(schermo.top(), r.top(), schermo.bottom() + 1 - r.height()));
    return r;
}
