#include "ui/widgets/dialoghiqt.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QUrl>

Risposta DialoghiQt::messaggio(const QString &testo, Icona icona, Pulsanti pulsanti,
                               const QString &titolo)
{
    QMessageBox box(m_genitore ? m_genitore : QApplication::activeWindow());
    box.setWindowTitle(titolo.isEmpty() ? TitoloPredefinito : titolo);
    box.setText(testo);
    switch (icona) {
    case Icona::Nessuna: box.setIcon(QMessageBox::NoIcon); break;
    case Icona::Critica: box.setIcon(QMessageBox::Critical); break;
    case Icona::Esclamazione: box.setIcon(QMessageBox::Warning); break;
    case Icona::Informazione: box.setIcon(QMessageBox::Information); break;
    case Icona::Domanda: box.setIcon(QMessageBox::Question); break;
    }
    if (pulsanti == Pulsanti::SiNo) {
        QPushButton *si = box.addButton(QStringLiteral("Sì"), QMessageBox::YesRole);
        box.addButton(QStringLiteral("No"), QMessageBox::NoRole);
        box.setDefaultButton(si);
        box.exec();
        return box.clickedButton() == si ? Risposta::Si : Risposta::No;
    }
    if (pulsanti == Pulsanti::SiNoAnnulla) {
        QPushButton *si = box.addButton(QStringLiteral("Sì"), QMessageBox::YesRole);
        QPushButton *no = box.addButton(QStringLiteral("No"), QMessageBox::NoRole);
        QPushButton *annulla = box.addButton(QStringLiteral("Annulla"), QMessageBox::RejectRole);
        box.setDefaultButton(si);
        box.setEscapeButton(annulla);
        box.exec();
        return box.clickedButton() == si ? Risposta::Si
            : box.clickedButton() == no  ? Risposta::No
                                         : Risposta::Annulla;
    }
    if (pulsanti == Pulsanti::SostituisciMantieniAnnulla) {
        QPushButton *sostituisci = box.addButton(QStringLiteral("Sostituisci"), QMessageBox::DestructiveRole);
        QPushButton *entrambi = box.addButton(QStringLiteral("Mantieni entrambi"), QMessageBox::AcceptRole);
        QPushButton *annulla = box.addButton(QStringLiteral("Annulla"), QMessageBox::RejectRole);
        // Enter keeps both: nothing is overwritten by a hasty key.
        box.setDefaultButton(entrambi);
        box.setEscapeButton(annulla);
        box.exec();
        return box.clickedButton() == sostituisci ? Risposta::Sostituisci
            : box.clickedButton() == entrambi     ? Risposta::MantieniEntrambi
                                                  : Risposta::Annulla;
    }
    if (pulsanti == Pulsanti::StampaPdfNo) {
        QPushButton *stampa = box.addButton(QStringLiteral("Stampa\u2026"), QMessageBox::AcceptRole);
        QPushButton *pdf = box.addButton(QStringLiteral("PDF"), QMessageBox::AcceptRole);
        QPushButton *no = box.addButton(QStringLiteral("No"), QMessageBox::RejectRole);
        // Enter and Esc leave the file alone: nothing is printed by a hasty key.
        box.setDefaultButton(no);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == stampa ? Risposta::Stampa
            : box.clickedButton() == pdf     ? Risposta::Pdf
                                             : Risposta::No;
    }
    box.addButton(QMessageBox::Ok);
    box.exec();
    return Risposta::Ok;
}

QString DialoghiQt::apriFile(const QString &titolo, const QString &cartella, const QString &filtro)
{
    // "Description|*.a;*.b" becomes Qt's "Description (*.a *.b)".
    QString filtroQt = filtro;
    const qsizetype barra = filtro.indexOf(QLatin1Char('|'));
    if (barra >= 0) {
        QString schemi = filtro.mid(barra + 1);
        schemi.replace(QLatin1Char(';'), QLatin1Char(' '));
        filtroQt = filtro.left(barra) + QStringLiteral(" (") + schemi + QLatin1Char(')');
    }
    return QFileDialog::getOpenFileName(m_genitore, titolo, cartella, filtroQt);
}

bool DialoghiQt::avviaProgramma(const QString &programma, const QStringList &argomenti)
{
    return QProcess::startDetached(programma, argomenti);
}

bool DialoghiQt::apriDocumento(const QString &percorso)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(percorso));
}
