#include "ui/ricevi/casellascansione.h"

#include "ricevi/sessionericevi.h"

#include <QKeyEvent>

namespace {

// The separator a key stands for, or a null character.
QChar Separatore(const QKeyEvent *evento)
{
    const QString testo = evento->text();
    if (testo.size() == 1) {
        switch (testo.front().unicode()) {
        case 0x04: return QChar(u'\u2404');
        case 0x1d: return QChar(u'\u241d');
        case 0x1e: return QChar(u'\u241e');
        default: break;
        }
    }
    if (!(evento->modifiers() & Qt::ControlModifier))
        return {};
    switch (evento->key()) {
    case Qt::Key_BracketRight: return QChar(u'\u241d');
    case Qt::Key_AsciiCircum:
    case Qt::Key_6: return QChar(u'\u241e');
    case Qt::Key_D: return QChar(u'\u2404');
    default: return {};
    }
}

} // namespace

CasellaScansione::CasellaScansione(QWidget *parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textEdited, this, &CasellaScansione::raccogli);
}

void CasellaScansione::keyPressEvent(QKeyEvent *evento)
{
    if (evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter) {
        // Enter always ends the scan, and never reaches the window's buttons.
        raccogli(text() + u'\n');
        evento->accept();
        return;
    }
    if (const QChar separatore = Separatore(evento); !separatore.isNull()) {
        insert(separatore);
        raccogli(text());
        evento->accept();
        return;
    }
    QLineEdit::keyPressEvent(evento);
}

void CasellaScansione::raccogli(const QString &testo)
{
    QString resto;
    const QStringList scansioni = DividiScansioni(testo, &resto);
    if (resto != text())
        setText(resto);
    if (!scansioni.isEmpty())
        emit scansioniLette(scansioni);
}
