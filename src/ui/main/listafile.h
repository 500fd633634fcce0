#pragma once

#include <QListWidget>
#include <QString>

// A list of the regular files of one folder that match a pattern such as
// "*.jpg;*.jpeg;*.bmp" (case-insensitive), sorted by name; links are listed
// only when they lead to such a file inside the folder. The list is read
// when the folder is set and again on ricarica().
class ListaFile : public QListWidget {
    Q_OBJECT
public:
    explicit ListaFile(const QString &schema, QWidget *parent = nullptr);

    void impostaCartella(const QString &cartella);
    QString cartella() const { return m_cartella; }
    void ricarica();
    // The name of the selected entry, empty when none.
    QString nomeSelezionato() const;

signals:
    // A mouse button was pressed on the list (before the selection moves).
    void pressioneMouse(Qt::MouseButton pulsante);

protected:
    void mousePressEvent(QMouseEvent *evento) override;

private:
    QString m_cartella;
    QStringList m_filtri;
};
