#pragma once

#include "store/slotstore.h"

#include <QMainWindow>
#include <QtGlobal>

class MSFlexGrid;
class QAbstractButton;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;

// The main window: the 50-slot grid, the button, view and edit panels, the menus and
// the tray icon. Every handler runs one step list to completion.
class FrmQbox : public QMainWindow
{
    Q_OBJECT

public:
    explicit FrmQbox(QWidget *parent = nullptr);
    ~FrmQbox() override;

    // Selecting and copying.
    void MSFlexGrid1_Click();
    void Command1_Click();
    void Mnu_Copier_Click();
    void Label1_KeyPress(qint16 &KeyAscii);

    // Adding, modifying, saving and cancelling.
    void Command2_Click();
    void Mnu_Ajouter_Click();
    void Command3_Click();
    void Mnu_Modif_Click();
    void Command6_Click();
    void Command7_Click();
    void Text1_KeyPress(qint16 &KeyAscii);
    void Text2_KeyPress(qint16 &KeyAscii);
    void Text2_Change();

    // Deleting.
    void Command4_Click();
    void Mnu_Sup_Click();

    // Tray events, hiding, showing and quitting.
    void Form_MouseMove(int Button, int Shift, float X, float Y);
    void Command8_Click();
    void Mnu_Masque_Click();
    void Mnu_Masquer_Click();
    void Mnu_Affichier_Click();
    void Command5_Click();
    void Mnu_Quitter_Click();
    void Mnu_Fin_Click();
    void Form_Unload();

    void Mnu_Apropos_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void createControls();
    void createMenus();
    void Form_Load();

    void setSelectionButtonsEnabled(bool enabled);
    void setSelectionMenuItemsEnabled(bool enabled);
    void setSelectedTooltips();
    void warnUnsavable(WriteResult result, const QString &title, const QString &body);
    bool mayReplaceSlotFile();
    void warnTooLarge(int n);
    void hideWindow();

    QString bodyText() const;
    void setBodyText(const QString &crlfText);
    void setDisplayText(const QString &crlfText);

    MSFlexGrid *MSFlexGrid1 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QGroupBox *Frame3 = nullptr;
    QAbstractButton *Command1 = nullptr;
    QAbstractButton *Command2 = nullptr;
    QAbstractButton *Command3 = nullptr;
    QAbstractButton *Command4 = nullptr;
    QAbstractButton *Command5 = nullptr;
    QAbstractButton *Command6 = nullptr;
    QAbstractButton *Command7 = nullptr;
    QAbstractButton *Command8 = nullptr;
    QPlainTextEdit *Text1 = nullptr;
    QLineEdit *Text2 = nullptr;
    QPlainTextEdit *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;

    QMenu *Mnu_Fichier = nullptr;
    QAction *Mnu_Ajouter = nullptr;
    QAction *Mnu_Copier = nullptr;
    QAction *Mnu_Modif = nullptr;
    QAction *Mnu_Sup = nullptr;
    QAction *Mnu_Masque = nullptr;
    QAction *Mnu_Quitter = nullptr;
    QMenu *Mnu_Aide = nullptr;
    QAction *Mnu_Apropos = nullptr;
    QMenu *MenuPopUp = nullptr;
    QAction *Mnu_Affichier = nullptr;
    QAction *Mnu_Masquer = nullptr;
    QAction *Mnu_Fin = nullptr;

    // The slot whose file the editor opened on, and what that file held then
    // (Store::slotFingerprint): empty for a free slot. Its header may store another number.
    qint16 m_editedSlot = 0;
    QByteArray m_editedFingerprint;
    // The slot selected whose file was too large to read: the display box holds none of it.
    qint16 m_tooLargeShown = 0;
    bool m_centred = false;
    bool m_quitting = false;
};
