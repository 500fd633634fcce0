#include "ui/aux/frmcustom.h"

#include "components/operazioni.h"
#include "store/dialoghi.h"
#include "store/stato.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QColor SfondoNormale(0xFF, 0xFF, 0xFF);   // box without the focus
const QColor SfondoAttivo(0xE2, 0xFE, 0xCD);    // focus, text within the limit
const QColor SfondoTagliato(0xFF, 0xC0, 0x80);  // a too long text was just cut
const QColor ColoreLinea(0x80, 0x80, 0x80);

QFrame *lineaGrigia(const QString &nome, QWidget *parent)
{
    auto *linea = new QFrame(parent);
    linea->setObjectName(nome);
    linea->setFrameShape(QFrame::NoFrame);
    linea->setFixedHeight(1);
    linea->setAutoFillBackground(true);
    QPalette tavolozza = linea->palette();
    tavolozza.setColor(QPalette::Window, ColoreLinea);
    linea->setPalette(tavolozza);
    return linea;
}

} // namespace

FrmCustom::FrmCustom(Stato &stato, Dialoghi &dialoghi, const QPoint &posizione, QWidget *parent)
    : QDialog(parent), m_stato(stato), m_dialoghi(dialoghi)
{
    setObjectName(QStringLiteral("frmCustom"));
    setWindowTitle(QStringLiteral("Definizione campi personalizzati"));
    setModal(true);

    auto *Label1 = new QLabel(
        QStringLiteral("Scrivi nei campi i nomi da applicare alle etichette dei campi "
                       "personalizzati (la massima  lunghezza è di 20 caratteri"),
        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    // Keep the two blanks of the text visible as written.
    Label1->setTextFormat(Qt::PlainText);

    auto *griglia = new QGridLayout;
    griglia->setHorizontalSpacing(10);
    griglia->setVerticalSpacing(6);
    for (int i = 1; i <= 6; ++i) {
        auto *nome = new QLabel(QStringLiteral("Etichetta campo Personale %1").arg(i), this);
        nome->setObjectName(QStringLiteral("lblNome(%1)").arg(i - 1));
        auto *casella = new QLineEdit(this);
        casella->setObjectName(QStringLiteral("txEtichetta(%1)").arg(i));
        casella->setMinimumWidth(casella->fontMetrics().horizontalAdvance(QLatin1Char('M'))
                                 * LunghezzaMassima * 3 / 4);
        casella->installEventFilter(this);
        nome->setBuddy(casella);
        coloraSfondo(casella, SfondoNormale);
        connect(casella, &QLineEdit::textChanged, this, [this, i] { applicaRegolaLunghezza(i); });
        m_caselle[i] = casella;
        griglia->addWidget(nome, i - 1, 0);
        griglia->addWidget(casella, i - 1, 1);
    }

    m_btnDone = new QPushButton(QStringLiteral("Fatto"), this);
    m_btnDone->setObjectName(QStringLiteral("btnDone"));
    m_btnDone->setDefault(true);
    m_btnUndo = new QPushButton(QStringLiteral("Annulla"), this);
    m_btnUndo->setObjectName(QStringLiteral("btnUndo"));
    m_btnUndo->setAutoDefault(false);
    connect(m_btnDone, &QPushButton::clicked, this, &FrmCustom::fatto);
    connect(m_btnUndo, &QPushButton::clicked, this, &FrmCustom::annulla);

    auto *pulsanti = new QHBoxLayout;
    pulsanti->addStretch(1);
    pulsanti->addWidget(m_btnDone);
    pulsanti->addWidget(m_btnUndo);

    auto *colonna = new QVBoxLayout(this);
    colonna->addWidget(Label1);
    colonna->addWidget(lineaGrigia(QStringLiteral("Line1"), this));
    colonna->addLayout(griglia);
    colonna->addWidget(lineaGrigia(QStringLiteral("Line2"), this));
    colonna->addLayout(pulsanti);

    // Boxes 1 to 6, then "Fatto", then "Annulla".
    QWidget *precedente = m_caselle[1];
    for (int i = 2; i <= 6; ++i) {
        setTabOrder(precedente, m_caselle[i]);
        precedente = m_caselle[i];
    }
    setTabOrder(precedente, m_btnDone);
    setTabOrder(m_btnDone, m_btnUndo);

    setFixedSize(sizeHint());

    RiempiCampi();
    m_caselle[1]->setFocus(Qt::OtherFocusReason);
    move(posizione);
}

void FrmCustom::RiempiCampi()
{
    for (int i = 1; i <= 6; ++i) {
        m_etichetteIniziali[i] = m_stato.Etichette[i];
        m_caselle[i]->setText(m_stato.Etichette[i]);
        coloraSfondo(m_caselle[i], SfondoNormale);
    }
}

void FrmCustom::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    m_caselle[1]->setFocus(Qt::OtherFocusReason);
}

bool FrmCustom::eventFilter(QObject *oggetto, QEvent *evento)
{
    if (evento->type() == QEvent::FocusIn || evento->type() == QEvent::FocusOut) {
        for (int i = 1; i <= 6; ++i) {
            if (oggetto == m_caselle[i]) {
                coloraSfondo(m_caselle[i],
                             evento->type() == QEvent::FocusIn ? SfondoAttivo : SfondoNormale);
                break;
            }
        }
    }
    return QDialog::eventFilter(oggetto, evento);
}

// Runs after every change of a box, whether typed, pasted or set by the
// program: a text over the limit is cut back, with the caret at its end and
// the orange warning colour.
void FrmCustom::applicaRegolaLunghezza(int i)
{
    QLineEdit *casella = m_caselle[i];
    const QString testo = casella->text();
    if (testo.size() > LunghezzaMassima) {
        // Never split a character outside the basic plane in two halves.
        const int taglio = testo.at(LunghezzaMassima - 1).isHighSurrogate()
                               ? LunghezzaMassima - 1
                               : LunghezzaMassima;
        {
            const QSignalBlocker blocco(casella);
            casella->setText(testo.left(taglio));
        }
        casella->deselect();
        casella->setCursorPosition(taglio);
        coloraSfondo(casella, SfondoTagliato);
    } else {
        coloraSfondo(casella, SfondoAttivo);
    }
}

// The colour is set both in the palette and as the box's own style sheet, so
// that a style sheet of the owner window (a colour theme) cannot override it.
void FrmCustom::coloraSfondo(QLineEdit *casella, const QColor &colore)
{
    QPalette tavolozza = casella->palette();
    tavolozza.setColor(QPalette::Base, colore);
    tavolozza.setColor(QPalette::Text, Qt::black); // light boxes in either theme
    casella->setPalette(tavolozza);
    casella->setStyleSheet(QStringLiteral("QLineEdit { background-color: %1; color: black; }").arg(colore.name()));
}

void FrmCustom::fatto()
{
    // Info.ini is Windows-1252: a character outside it would come back as
    // "?" at the next start. The first box holding one is refused as the
    // editor refuses a field, and nothing is stored until it is replaced.
    for (int i = 1; i <= 6; ++i) {
        const QString avviso = AvvisoCaratteriNonSalvabili({m_caselle[i]->text()});
        if (!avviso.isEmpty()) {
            m_dialoghi.messaggio(avviso, Icona::Critica, Pulsanti::Ok);
            m_caselle[i]->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    for (int i = 1; i <= 6; ++i)
        m_stato.Etichette[i] = m_caselle[i]->text();
    accept();
}

void FrmCustom::annulla()
{
    for (int i = 1; i <= 6; ++i)
        m_stato.Etichette[i] = m_etichetteIniziali[i];
    reject();
}

#include "moc_frmcustom.cpp"
