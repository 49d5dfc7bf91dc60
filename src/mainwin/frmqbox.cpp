#include "frmqbox.h"

#include "about/frmabout.h"
#include "forms/formlayout.h"
#include "logging.h"
#include "mainwin/crlftext.h"
#include "mainwin/msflexgrid.h"
#include "module1.h"
#include "platform/clipboard.h"
#include "platform/msgbox.h"
#include "platform/programexit.h"
#include "platform/programfolder.h"
#include "store/codepage.h"
#include "store/slotstore.h"
#include "tray/traybackend.h"
#include "tray/traydata.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>

#include <utility>

namespace {

const QColor OccupiedYellow(255, 255, 0);
const QString Unreadable = QStringLiteral("(illisible)");

} // namespace

FrmQbox::~FrmQbox() = default;

void FrmQbox::Form_Load()
{
    AppFolder = System::programFolder();

    TrayBackend &tray = TrayBackend::current();
    connect(&tray, &TrayBackend::activated, this, [this](int eventCode) {
        Form_MouseMove(0, 0, float(eventCode * TwipsPerPixel), 0);
    });
    tray.setContextMenu(MenuPopUp);
    TrayNotify(this, TrayAction::Add, windowIcon(), windowTitle());
    startupMark("tray");

    MenuPopUp->menuAction()->setVisible(false);

    MSFlexGrid1->setColWidth(0, 600);
    MSFlexGrid1->setColWidth(1, 2550);

    MSFlexGrid1->setRow(0);
    MSFlexGrid1->setCol(0);
    MSFlexGrid1->setText(QStringLiteral("N°Mes"));
    MSFlexGrid1->setCol(1);
    MSFlexGrid1->setText(QStringLiteral("Titre"));

    for (int row = 1; row <= MaxSlots; ++row) {
        MSFlexGrid1->setRow(row);
        MSFlexGrid1->setCellAlignment(MSFlexGrid::AlignCenterCenter);
    }

    MSFlexGrid1->setCol(0);
    for (int row = 1; row <= MaxSlots; ++row) {
        MSFlexGrid1->setRow(row);
        MSFlexGrid1->setCellAlignment(MSFlexGrid::AlignCenterCenter);
        MSFlexGrid1->setText(QString::number(row));
    }
    startupMark("grid cells");

    // A file the reader cannot make sense of still gets a row, its file name's, so
    // that it can be seen, opened and deleted; it is never changed here.
    for (int n = 1; n <= MaxSlots; ++n) {
        if (!FileExists(SlotFilePath(n)))
            continue;
        const SlotRecord slot = ReadSlotTitle(n);
        if (slot.notRegular)
            continue;
        NumMes = slot.number.value_or(qint16(n));
        MSFlexGrid1->setRow(NumMes);
        MSFlexGrid1->setCol(1);
        MSFlexGrid1->setCellBackColor(OccupiedYellow);
        MSFlexGrid1->setText(slot.title && !slot.title->isEmpty() ? *slot.title : Unreadable);
    }
    startupMark("slot files read");
}

void FrmQbox::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    if (!m_painted) {
        m_painted = true;
        startupMark("first paint");
    }
}

void FrmQbox::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_centred)
        return;
    m_centred = true;
    if (const QScreen *shown = screen())
        move(shown->availableGeometry().center() - frameGeometry().center() + pos());
}

void FrmQbox::setSelectionButtonsEnabled(bool enabled)
{
    Command1->setEnabled(enabled);
    Command3->setEnabled(enabled);
    Command4->setEnabled(enabled);
}

void FrmQbox::setSelectionMenuItemsEnabled(bool enabled)
{
    Mnu_Copier->setEnabled(enabled);
    Mnu_Modif->setEnabled(enabled);
    Mnu_Sup->setEnabled(enabled);
}

void FrmQbox::setSelectedTooltips()
{
    const QString n = QString::number(NumMes);
    Command3->setToolTip(QStringLiteral("Modifier le message N° ") + n);
    Command4->setToolTip(QStringLiteral("Supprimer le message N° ") + n);
}

QString FrmQbox::bodyText() const
{
    return CrLfText::read(Text1);
}

void FrmQbox::setBodyText(const QString &crlfText)
{
    CrLfText::write(Text1, crlfText);
}

void FrmQbox::setDisplayText(QString crlfText)
{
    m_tooLargeShown = 0;
    CrLfText::write(Label1, std::move(crlfText));
}

// A slot file far larger than any message is not read: it would take the memory, and a long
// line the text layout's time, of a file that is no message.
void FrmQbox::warnTooLarge(int n)
{
    MsgBox(QStringLiteral("Le message N° %1 est trop volumineux pour être lu : son fichier dépasse %2 Mio.")
               .arg(n)
               .arg(MaxSlotBytes >> 20),
           MsgBoxStyle::Critical, QStringLiteral("Erreur"));
}

// --- Selecting and copying ---------------------------------------------------------

void FrmQbox::MSFlexGrid1_Click()
{
    MSFlexGrid1->setCol(1);
    if (MSFlexGrid1->text().isEmpty()) {
        NumMes = 0;
        setSelectionButtonsEnabled(false);
        setSelectionMenuItemsEnabled(false);
        Command3->setToolTip(QStringLiteral("Modifier le message N°"));
        Command4->setToolTip(QStringLiteral("Supprimer le message N°"));
        Frame3->hide();
        return;
    }

    NumMes = qint16(MSFlexGrid1->row());
    // A file removed behind the program's back, or too large to read, shows no text: the
    // previous message's must not stand under this title, where a copy would take it.
    SlotRecord slot = FileExists(SlotFilePath(NumMes)) ? ReadSlot(NumMes) : SlotRecord();
    if (slot.number)
        NumMes = *slot.number;
    // Moved, not copied: the display box takes a message of megabytes as it is read.
    setDisplayText(std::move(slot.text));
    if (slot.tooLarge)
        m_tooLargeShown = NumMes;
    Command1->setEnabled(true);
    setSelectedTooltips();
    Command1->setToolTip(QStringLiteral("Copie le texte N° ") + QString::number(NumMes)
                         + QStringLiteral(" dans le presse papier"));
    Frame3->show();
    Label3->setText(MSFlexGrid1->text());
    Command4->setEnabled(true);
    Command3->setEnabled(true);
    setSelectionMenuItemsEnabled(true);
    if (slot.tooLarge)
        warnTooLarge(NumMes);
}

void FrmQbox::Command1_Click()
{
    // Nothing of a message too large to read is shown: the clipboard keeps what it holds.
    if (m_tooLargeShown) {
        warnTooLarge(m_tooLargeShown);
        return;
    }
    Clipboard::clear();
    Clipboard::setText(CrLfText::read(Label1));
}

void FrmQbox::Mnu_Copier_Click()
{
    Command1_Click();
}

void FrmQbox::Label1_KeyPress(qint16 &KeyAscii)
{
    KeyAscii = 0;
}

// --- Adding, modifying, saving and cancelling --------------------------------------

void FrmQbox::Command2_Click()
{
    Frame2->show();
    Frame3->hide();
    Frame1->hide();
    MSFlexGrid1->setEnabled(false);
    NumMes = qint16(FirstFreeSlot());
    m_editedSlot = NumMes;
    m_editedFingerprint.clear();
    Text1->clear();
    Text2->clear();
    if (NumMes > MaxSlots) {
        MsgBox(QStringLiteral("Nombre maximum de message atteint !"), MsgBoxStyle::Information,
               QStringLiteral("Avertissement"));
        Frame2->hide();
        Frame3->hide();
        Frame1->show();
        MSFlexGrid1->setEnabled(true);
        MSFlexGrid1->focusCurrentRow();
        return;
    }
    Text2->setFocus();
}

void FrmQbox::Mnu_Ajouter_Click()
{
    Command2_Click();
}

void FrmQbox::Command3_Click()
{
    if (NumMes == 0)
        return;
    Frame2->show();
    Frame3->hide();
    Frame1->hide();
    MSFlexGrid1->setEnabled(false);
    const bool exists = FileExists(SlotFilePath(NumMes));
    const SlotRecord slot = exists ? ReadSlot(NumMes) : SlotRecord();
    if (!exists || slot.tooLarge) {
        if (exists)
            warnTooLarge(NumMes);
        else
            MsgBox(QStringLiteral("Le message n'existe pas !"), MsgBoxStyle::Critical, QStringLiteral("Erreur"));
        Frame2->hide();
        Frame1->show();
        MSFlexGrid1->setEnabled(true);
        MSFlexGrid1->focusCurrentRow();
        return;
    }
    m_editedSlot = NumMes;
    m_editedFingerprint = slot.fingerprint;
    if (slot.number)
        NumMes = *slot.number;
    // The stored lines joined by CR LF: the line end the reader puts after the last one
    // belongs to no line, and saving it would add an empty line at every save.
    QString body = slot.text;
    if (body.endsWith(QStringLiteral("\r\n")))
        body.chop(2);
    setBodyText(body);
    Text2->setText(slot.title.value_or(QString()));
    Text2->setFocus();
}

void FrmQbox::Mnu_Modif_Click()
{
    Command3_Click();
}

// The warning for a message the slot files cannot hold; the editor stays open on it.
void FrmQbox::warnUnsavable(WriteResult result, const QString &title, const QString &body)
{
    QString problem;
    if (result == WriteResult::TooManyLines) {
        problem = QStringLiteral("Le texte a plus de %1 lignes : il ne peut pas être enregistré !")
                      .arg(MaxBodyLines);
    } else if (result == WriteResult::Unencodable) {
        problem = QStringLiteral("Le caractère « %1 » ne peut pas être enregistré : "
                                 "retirez-le du titre ou du texte !")
                      .arg(CodePage::firstUnencodable(title + body));
    } else {
        problem = QStringLiteral("Le titre ne peut contenir ni guillemet ni saut de ligne !");
    }
    MsgBox(problem, MsgBoxStyle::Exclamation, QStringLiteral("Avertissement"));
}

// Another program (a sync tool, an editor) may have written, created or removed the slot
// file since the editor opened: replacing what it holds now is the user's call. When the
// file read stored another number, the save goes to that number's file, which must then
// be free.
bool FrmQbox::mayReplaceSlotFile()
{
    const bool unchanged = Store::slotFingerprint(m_editedSlot) == m_editedFingerprint;
    if (unchanged && (NumMes == m_editedSlot || Store::slotFingerprint(NumMes).isEmpty()))
        return true;
    const QString question =
        QStringLiteral("Un autre programme a changé le fichier du message N° %1.\rLe remplacer par votre texte ?")
            .arg(unchanged ? NumMes : m_editedSlot);
    return MsgBox(question, MsgBoxStyle::YesNo | MsgBoxStyle::Question | MsgBoxStyle::DefaultButton2,
                  QStringLiteral("Avertissement"))
           == MsgBoxResult::Yes;
}

void FrmQbox::Command6_Click()
{
    const QString title = Text2->text();
    const QString body = bodyText();
    if (title.isEmpty() || body.isEmpty()) {
        MsgBox(QStringLiteral("Pas de message ou pas de titre !"), MsgBoxStyle::Exclamation,
               QStringLiteral("Avertissement"));
        return;
    }
    // No message is selected once a delete ran with the editor open: the text is kept
    // as a new message rather than written to a slot that start-up never reads.
    if (NumMes < 1 || NumMes > MaxSlots) {
        NumMes = qint16(FirstFreeSlot());
        if (NumMes > MaxSlots) {
            MsgBox(QStringLiteral("Nombre maximum de message atteint !"), MsgBoxStyle::Information,
                   QStringLiteral("Avertissement"));
            return;
        }
        m_editedSlot = NumMes;
        m_editedFingerprint.clear();
    }
    if (!mayReplaceSlotFile())
        return;

    Frame2->hide();
    QString reason;
    const WriteResult result = WriteSlot(NumMes, title, body, &reason);
    if (result != WriteResult::Ok && result != WriteResult::Failed) {
        Frame2->show();
        warnUnsavable(result, title, body);
        return;
    }
    // The editor stays open with what was typed: the user can free space and retry, or
    // copy the text out.
    if (result == WriteResult::Failed) {
        Frame2->show();
        qCWarning(lcQuillbox, "cannot save %s: %s", qPrintable(QDir::toNativeSeparators(SlotFilePath(NumMes))),
                  qPrintable(reason));
        MsgBox(QStringLiteral("Erreur lors de la sauvegarde du message N° ") + QString::number(NumMes),
               MsgBoxStyle::Critical, QStringLiteral("Erreur"), reason);
        return;
    }
    Frame1->show();
    Frame2->hide();
    setSelectionButtonsEnabled(false);
    MSFlexGrid1->setRow(NumMes);
    MSFlexGrid1->setCol(1);
    MSFlexGrid1->setCellBackColor(OccupiedYellow);
    MSFlexGrid1->setText(Text2->text());
    Frame3->hide();
    MSFlexGrid1->setEnabled(true);
    setDisplayText(body + QStringLiteral("\r\n"));  // as a click on the row shows it
    Label3->setText(Text2->text());
    setSelectedTooltips();
    MSFlexGrid1->focusCurrentRow();
}

void FrmQbox::Command7_Click()
{
    Frame2->hide();
    Frame1->show();
    MSFlexGrid1->setEnabled(true);
    setSelectionButtonsEnabled(false);
    setSelectionMenuItemsEnabled(false);
    MSFlexGrid1->focusCurrentRow();
}

void FrmQbox::Text1_KeyPress(qint16 &KeyAscii)
{
    Q_UNUSED(KeyAscii);
}

// A double quote can also come in by a paste: the title box never holds what a title
// record cannot store.
void FrmQbox::Text2_Change()
{
    const QString text = Text2->text();
    const QString storable = Store::storableTitle(text);
    if (storable == text)
        return;
    const int cursor = Text2->cursorPosition() - int(text.size() - storable.size());
    Text2->setText(storable);
    Text2->setCursorPosition(qMax(0, cursor));
}

void FrmQbox::Text2_KeyPress(qint16 &KeyAscii)
{
    if (KeyAscii == 34)
        KeyAscii = 0;
}

// --- Deleting ----------------------------------------------------------------------

void FrmQbox::Command4_Click()
{
    if (NumMes == 0)
        return;
    // Chosen from the menu while the editor is open, a delete leaves the editor as it is:
    // a grid click would move NumMes under the text being edited.
    const bool editing = !Frame2->isHidden();
    MSFlexGrid1->setEnabled(false);
    const QString path = SlotFilePath(NumMes);
    const QString n = QString::number(NumMes);
    const int answer = MsgBox(QStringLiteral("Supprimer le message ") + n + QLatin1Char('\r') + path
                                  + QLatin1Char('\r') + QStringLiteral("Confirmez ?"),
                              MsgBoxStyle::YesNo | MsgBoxStyle::Question | MsgBoxStyle::DefaultButton2,
                              QStringLiteral("Suppression d'un message"));
    if (answer == MsgBoxResult::Yes) {
        if (!FileExists(path)) {
            MSFlexGrid1->setEnabled(!editing);
            if (!editing)
                MSFlexGrid1->focusCurrentRow();
            return;
        }
        if (DeleteSlot(NumMes)) {
            // A number outside the grid has no title cell to clear.
            if (MSFlexGrid1->setRow(NumMes) && MSFlexGrid1->setCol(1)) {
                MSFlexGrid1->resetCellBackColor();
                MSFlexGrid1->setText(QString());
            }
            NumMes = 0;
            Command3->setToolTip(QStringLiteral("Modifier le message N° "));
            Command4->setToolTip(QStringLiteral("Supprimer le message N° "));
        } else {
            // The row keeps its title: the message is still there.
            qCWarning(lcQuillbox, "cannot remove %s", qPrintable(QDir::toNativeSeparators(path)));
            MsgBox(QStringLiteral("Impossible de supprimer le message N° ") + n, MsgBoxStyle::Critical,
                   QStringLiteral("Erreur"));
        }
    }
    NumMes = 0;
    if (!editing)
        Frame1->show();
    setSelectionButtonsEnabled(false);
    setSelectionMenuItemsEnabled(false);
    MSFlexGrid1->setEnabled(!editing);
    setDisplayText(QString());
    Label3->setText(QString());
    Frame3->hide();
    if (!editing)
        MSFlexGrid1->focusCurrentRow();
}

void FrmQbox::Mnu_Sup_Click()
{
    Command4_Click();
}

// --- Tray events, hiding, showing and quitting -------------------------------------

void FrmQbox::Form_MouseMove(int Button, int Shift, float X, float Y)
{
    Q_UNUSED(Button);
    Q_UNUSED(Shift);
    Q_UNUSED(Y);
    const float eventCode = X / float(TwipsPerPixel);
    if (eventCode == float(TrayEvent::LeftButtonDown)) {
        Mnu_Affichier_Click();
    } else if (eventCode == float(TrayEvent::RightButtonUp)) {
        MenuPopUp->popup(QCursor::pos());
    }
}

void FrmQbox::hideWindow()
{
    // Without a notification area a hidden window could never be reached again.
    if (TrayBackend::current().isAvailable())
        hide();
    else if (isVisible())
        showMinimized();
}

void FrmQbox::Command8_Click()
{
    hideWindow();
}

void FrmQbox::Mnu_Masque_Click()
{
    hideWindow();
}

void FrmQbox::Mnu_Masquer_Click()
{
    hideWindow();
}

void FrmQbox::Mnu_Affichier_Click()
{
    if (!isVisible())
        show();
    else if (isMinimized())
        showNormal();
}

void FrmQbox::Command5_Click()
{
    // Ending the program closes this window, which would quit a second time.
    if (m_quitting)
        return;
    m_quitting = true;
    TrayNotify(this, TrayAction::Delete);
    System::endProgram();
}

void FrmQbox::Mnu_Quitter_Click()
{
    Command5_Click();
}

void FrmQbox::Mnu_Fin_Click()
{
    Command5_Click();
}

void FrmQbox::Form_Unload()
{
    Command5_Click();
}

void FrmQbox::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void FrmQbox::Mnu_Apropos_Click()
{
    frmAbout dialog(this);
    dialog.exec();
}
