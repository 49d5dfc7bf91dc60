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

    // Tray events, hiding, showing and quitting. The tray's mouse events arrive as a mouse
    // move over the form: X holds the event code in twips (513 left button, 517 right).
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
    void paintEvent(QPaintEvent *event) override;

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
    void setDisplayText(QString crlfText);

    // The controls and menu items keep the names the form was designed with; each one's role:
    MSFlexGrid *MSFlexGrid1 = nullptr;       // the 50 slots: number and title; a click selects
    QGroupBox *Frame1 = nullptr;             // the button panel, hidden while editing
    QGroupBox *Frame2 = nullptr;             // the edit panel: title box, body editor, Valider, Annuler
    QGroupBox *Frame3 = nullptr;             // the view panel: the selected title and its text
    QAbstractButton *Command1 = nullptr;     // "&Copier": the display box's text to the clipboard
    QAbstractButton *Command2 = nullptr;     // "&Ajouter": the editor, empty, on the first free slot
    QAbstractButton *Command3 = nullptr;     // "&Modifier": the editor, filled from the selected slot
    QAbstractButton *Command4 = nullptr;     // "&Supprimer": deletes the selected slot's file
    QAbstractButton *Command5 = nullptr;     // "&Quitter": removes the tray icon and ends the program
    QAbstractButton *Command6 = nullptr;     // "&Valider": saves the editor to NumMes's slot file
    QAbstractButton *Command7 = nullptr;     // "&Annuler": leaves the editor, writing nothing
    QAbstractButton *Command8 = nullptr;     // "Masquer": hides the window to the tray, or minimizes it
    QPlainTextEdit *Text1 = nullptr;         // the body editor
    QLineEdit *Text2 = nullptr;              // the title box; a double quote never gets in
    QPlainTextEdit *Label1 = nullptr;        // the display box: a read-only text box, not a label
    QLabel *Label2 = nullptr;                // "Titre :", the title box's caption
    QLabel *Label3 = nullptr;                // the selected message's title
    QLabel *Label4 = nullptr;                // "Titre sélectionné :", Label3's caption

    QMenu *Mnu_Fichier = nullptr;            // "&Fichier"
    QAction *Mnu_Ajouter = nullptr;          // "&Ajouter", as Command2
    QAction *Mnu_Copier = nullptr;           // "&Copier", as Command1
    QAction *Mnu_Modif = nullptr;            // "&Modifier", as Command3
    QAction *Mnu_Sup = nullptr;              // "&Supprimer", as Command4
    QAction *Mnu_Masque = nullptr;           // "Masquer", as Command8
    QAction *Mnu_Quitter = nullptr;          // "&Quitter", as Command5
    QMenu *Mnu_Aide = nullptr;               // "&?"
    QAction *Mnu_Apropos = nullptr;          // "A propos": the About box
    QMenu *MenuPopUp = nullptr;              // the tray icon's menu, never shown in the menu bar
    QAction *Mnu_Affichier = nullptr;        // "&Afficher": shows the window again
    QAction *Mnu_Masquer = nullptr;          // "&Masquer", as Command8
    QAction *Mnu_Fin = nullptr;              // "&Quitter", as Command5

    // The slot whose file the editor opened on, and what that file held then
    // (Store::slotFingerprint): empty for a free slot. Its header may store another number.
    qint16 m_editedSlot = 0;
    QByteArray m_editedFingerprint;
    // The slot selected whose file was too large to read: the display box holds none of it.
    qint16 m_tooLargeShown = 0;
    bool m_centred = false;
    bool m_painted = false;
    bool m_quitting = false;
};
