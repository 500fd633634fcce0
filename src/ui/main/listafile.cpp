#include "ui/main/listafile.h"

#include <QDir>
#include <QMouseEvent>

ListaFile::ListaFile(const QString &schema, QWidget *parent)
    : QListWidget(parent), m_filtri(schema.split(QLatin1Char(';'), Qt::SkipEmptyParts))
{
}

void ListaFile::impostaCartella(const QString &cartella)
{
    m_cartella = cartella;
    ricarica();
}

void ListaFile::ricarica()
{
    clear();
    if (m_cartella.isEmpty())
        return;
    QDir dir(m_cartella);
    // The patterns match regardless of case, whatever the file system does.
    const QStringList nomi = dir.entryList(QDir::Files | QDir::Hidden, QDir::NoSort);
    QStringList scelti;
    for (const QString &nome : std::as_const(nomi)) {
        for (const QString &filtro : std::as_const(m_filtri)) {
            if (QDir::match(filtro, nome)) { // QDir::match ignores case
                scelti << nome;
                break;
            }
        }
    }
    std::sort(scelti.begin(), scelti.end(), [](const QString &a, const QString &b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    addItems(scelti);
}

QString ListaFile::nomeSelezionato() const
{
    const QListWidgetItem *voce = currentItem();
    return voce && voce->isSelected() ? voce->text() : QString();
}

void ListaFile::mousePressEvent(QMouseEvent *evento)
{
    emit pressioneMouse(evento->button());
    if (evento->button() == Qt::RightButton)
        return; // the right button only reloads; it does not select
    QListWidget::mousePressEvent(evento);
}
