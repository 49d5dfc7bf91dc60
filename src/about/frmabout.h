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

    QPushButton *Command1 = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdSysInfo = nullptr;
    ClickableLabel *Image2 = nullptr;
    ClickableLabel *Label3 = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *Label2 = nullptr;
    QFrame *Line1_1 = nullptr;
    QLabel *lblDescription = nullptr;
    QLabel *lblTitle = nullptr;
    QFrame *Line1_0 = nullptr;
    QLabel *lblVersion = nullptr;
    ClickableLabel *lblDisclaimer = nullptr;
};
