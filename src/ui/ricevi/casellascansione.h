#pragma once

#include <QLineEdit>
#include <QStringList>

// The box a barcode scanner types into. A scanner set up as a keyboard
// types the label's separators as control keys (Ctrl+^ for RS, Ctrl+] for
// GS, Ctrl+D for EOT) or as control characters a line box would drop: the
// box shows them as their pictures ␞ ␝ ␄, which the reading of a scan
// understands. A scan ends at Enter or at the end of an envelope (␄), so
// that bags can be scanned one after the other without touching anything;
// a pasted text gives one scan per line.
class CasellaScansione : public QLineEdit {
    Q_OBJECT
public:
    explicit CasellaScansione(QWidget *parent = nullptr);

signals:
    // The scans completed by the last key or paste, in order.
    void scansioniLette(const QStringList &scansioni);

protected:
    void keyPressEvent(QKeyEvent *evento) override;

private:
    // Takes the complete scans out of the text, leaving the rest in the box.
    void raccogli(const QString &testo);
};
