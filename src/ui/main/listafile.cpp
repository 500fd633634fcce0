#include "ui/main/listafile.h"

#include "store/fileincartella.h"

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
    addItems(ElencoFileInCartella(m_cartella, m_filtri));
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
