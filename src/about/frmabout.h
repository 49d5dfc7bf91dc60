#pragma once

#include <QDialog>

class ClickableLabel;
class QFrame;
class QLabel;
class QPushButton;

// The About box: program name, version, credits, the details box, three links and the
// system-information launcher. Each opening builds a fresh dialog, so Form_Load runs
// every time.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent = nullptr);

    void cmdOK_Click();
    void Command1_Click();
    void Image2_Click();
    void Label3_Click();
    void lblDisclaimer_Click();
    void cmdSysInfo_Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    void Form_Load();

    // The controls keep the names the dialog was designed with; each one's role:
    QPushButton *Command1 = nullptr;         // "Détails...": the details message box
    QPushButton *cmdOK = nullptr;            // "OK", also Escape: closes the dialog
    QPushButton *cmdSysInfo = nullptr;       // "&Système Info...": StartSysInfo
    ClickableLabel *Image2 = nullptr;        // the donation button: opens the donation page
    ClickableLabel *Label3 = nullptr;        // "URL : " and the maker's site, which it opens
    QLabel *Image1 = nullptr;                // the dialog's icon, enlarged
    QLabel *Label2 = nullptr;                // "Logiciel FREEWARE"
    QFrame *Line1_1 = nullptr;               // the grey line under the white one
    QLabel *lblDescription = nullptr;        // the credit line
    QLabel *lblTitle = nullptr;              // the application title
    QFrame *Line1_0 = nullptr;               // the white line
    QLabel *lblVersion = nullptr;            // "Version " and the three version numbers
    ClickableLabel *lblDisclaimer = nullptr; // "E-Mail : " and the address, which it mails
};
