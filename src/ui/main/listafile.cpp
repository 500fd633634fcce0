#include "ui/main/listafile.h"

#include "store/fileincartella.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QMouseEvent>

#include <algorithm>

ListaFile::ListaFile(const QString &schema, QWidget *parent)
    : ListaFile(schema.split(QLatin1Char(';'), Qt::SkipEmptyParts), parent)
{
}

ListaFile::ListaFile(const QStringList &schemi, QWidget *parent) : QListWidget(parent), m_filtri(schemi)
{
    m_attesa.setSingleShot(true);
    m_attesa.setInterval(AttesaMs);
    connect(&m_attesa, &QTimer::timeout, this, &ListaFile::ricarica);
}

void ListaFile::impostaCartella(const QString &cartella)
{
    if (m_sorvegliante && !m_sorvegliante->directories().isEmpty())
        m_sorvegliante->removePaths(m_sorvegliante->directories());
    m_cartella = cartella;
    clear();
    m_nomi.clear();
    sorveglia();
    ricarica();
}

void ListaFile::seguiCartella()
{
    if (m_sorvegliante)
        return;
    m_sorvegliante = new QFileSystemWatcher(this);
    // The timer is not restarted by every change: under a steady stream of
    // them the list is still read every AttesaMs.
    connect(m_sorvegliante, &QFileSystemWatcher::directoryChanged, this, [this] {
        if (!m_attesa.isActive())
            m_attesa.start();
    });
    sorveglia();
}

void ListaFile::sorveglia()
{
    // A folder removed is no longer watched; once made again, it is watched
    // again at the next reading.
    if (!m_sorvegliante || m_cartella.isEmpty())
        return;
    const QString percorso = QDir::cleanPath(m_cartella);
    if (!m_sorvegliante->directories().contains(percorso) && QDir(percorso).exists())
        m_sorvegliante->addPath(percorso);
}

void ListaFile::ricarica()
{
    sorveglia();
    QElapsedTimer durata;
    durata.start();
    const QStringList nomi = ElencoFileInCartella(m_cartella, m_filtri);
    // A folder of very many files takes a while to read: the next reading
    // after a change waits longer, so that a stream of changes leaves the
    // window free most of the time.
    m_attesa.setInterval(int(std::clamp<qint64>(3 * durata.elapsed(), AttesaMs, 4 * AttesaMs)));
    if (nomi == m_nomi && count() == nomi.size())
        return;
    const QString scelto = nomeSelezionato();
    const int inCima = indexAt(QPoint(0, 0)).row();
    const QString primoVisibile = inCima >= 0 && inCima < count() ? item(inCima)->text() : QString();
    clear();
    addItems(nomi);
    m_nomi = nomi;
    if (!primoVisibile.isEmpty()) {
        const qsizetype i = nomi.indexOf(primoVisibile);
        if (i >= 0)
            scrollToItem(item(int(i)), QAbstractItemView::PositionAtTop);
    }
    if (!scelto.isEmpty()) {
        const qsizetype i = nomi.indexOf(scelto);
        if (i >= 0)
            setCurrentRow(int(i));
    }
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
