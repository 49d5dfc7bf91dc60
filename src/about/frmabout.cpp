#include "frmabout.h"

#include "about/aboutpictures.h"
#include "about/clickablelabel.h"
#include "about/sysinfo.h"
#include "forms/formlayout.h"
#include "platform/msgbox.h"
#include "platform/shellopen.h"
#include "version.h"

#include <QFont>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QStringList>

namespace {

const QString MakerSite = QStringLiteral("https://tavrel.example");
const QString ContactAddress = QStringLiteral("contact@tavrel.example");
const QString Credit = QStringLiteral("Conçu par l'équipe Tavrel");
const QString Freeware = QStringLiteral("Logiciel FREEWARE");

const QColor Green(0, 255, 0);
const QColor Blue(0, 0, 255);
const QColor Red(255, 0, 0);

QFont aboutFont(qreal pointSize = 8.25, bool bold = false)
{
    QFont font(QStringLiteral("Comic Sans MS"));
    font.setStyleHint(QFont::Cursive);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

// The web and mail links: blue centred text under the pointing hand.
void makeLink(QLabel *label, const QCursor &hand, const QString &toolTip)
{
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setTextColor(label, Blue);
    label->setCursor(hand);
    label->setToolTip(toolTip);
}

// A horizontal line drawn as a thin filled frame.
QFrame *makeLine(QWidget *parent, const char *name, int y, int length, int width,
                 const QColor &color)
{
    auto *line = new QFrame(parent);
    line->setObjectName(QLatin1String(name));
    line->setGeometry(0, twips(y) - width / 2, twips(length), width);
    setBackground(line, QPalette::Window, color);
    return line;
}

} // namespace

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Quillbox : A Propos"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                   | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(AboutPictures::dialogIcon()));
    setFixedSize(twips(5730), twips(3195));
    setFont(aboutFont());
    setBackground(this, QPalette::Window, Qt::black);

    createControls();
    Form_Load();
}

void frmAbout::createControls()
{
    const QCursor hand = AboutPictures::pointingHand();

    Command1 = place(new QPushButton(QStringLiteral("Détails..."), this), "Command1",
                     3840, 2280, 1575, 375);
    cmdOK = place(new QPushButton(QStringLiteral("OK"), this), "cmdOK", 3840, 1440, 1620, 585);
    cmdOK->setFont(aboutFont(8.25, true));
    cmdOK->setDefault(true);
    cmdSysInfo = place(new QPushButton(QStringLiteral("&Système Info..."), this), "cmdSysInfo",
                       3840, 2760, 1605, 345);
    cmdSysInfo->setToolTip(QStringLiteral("Informations système"));

    Image2 = place(new ClickableLabel(QString(), this), "Image2", 1320, 2400, 1500, 660);
    Image2->setPixmap(AboutPictures::donationButton());
    Image2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image2->setCursor(hand);
    Image2->setToolTip(QStringLiteral(
            "Faire un don avec PayPal - Un solution gratuite, rapide et sécurisée."));

    Label3 = place(new ClickableLabel(QStringLiteral("URL : ") + MakerSite, this), "Label3",
                   960, 1680, 2115, 225);
    makeLink(Label3, hand, QStringLiteral("Visitez le site officiel tavrel"));

    Image1 = place(new QLabel(this), "Image1", 120, 240, 720, 720);
    Image1->setPixmap(AboutPictures::dialogIcon());
    Image1->setScaledContents(true);

    Label2 = place(new QLabel(Freeware, this), "Label2", 720, 2040, 2775, 255);
    Label2->setFont(aboutFont(9.75, true));
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setTextColor(Label2, Red);

    Line1_1 = makeLine(this, "Line1(1)", 1217, 5564, 1, QColor(128, 128, 128));

    lblDescription = place(new QLabel(Credit, this), "lblDescription", 1080, 840, 3885, 330);
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextColor(lblDescription, Green);

    lblTitle = place(new QLabel(QStringLiteral("Titre de l'application"), this), "lblTitle",
                     1080, 120, 3885, 240);
    lblTitle->setFont(aboutFont(9.75, true));
    lblTitle->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextColor(lblTitle, Green);

    Line1_0 = makeLine(this, "Line1(0)", 1200, 5549, 2, Qt::white);

    lblVersion = place(new QLabel(QStringLiteral("Version"), this), "lblVersion",
                       1080, 600, 3885, 225);
    lblVersion->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextColor(lblVersion, Green);

    lblDisclaimer = place(new ClickableLabel(QStringLiteral("E-Mail : ") + ContactAddress, this),
                          "lblDisclaimer", 600, 1320, 2625, 225);
    makeLink(lblDisclaimer, hand, QStringLiteral("Envoyer un courriel"));

    setTabOrder(cmdOK, cmdSysInfo);
    setTabOrder(cmdSysInfo, Command1);
    cmdOK->setFocus();

    connect(Command1, &QPushButton::clicked, this, &frmAbout::Command1_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    connect(Image2, &ClickableLabel::clicked, this, &frmAbout::Image2_Click);
    connect(Label3, &ClickableLabel::clicked, this, &frmAbout::Label3_Click);
    connect(lblDisclaimer, &ClickableLabel::clicked, this, &frmAbout::lblDisclaimer_Click);
}

void frmAbout::Form_Load()
{
    setWindowTitle(QStringLiteral("A propos : ") + AppTitle);
    lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                                .arg(QUILLBOX_VERSION_MAJOR)
                                .arg(QUILLBOX_VERSION_MINOR)
                                .arg(QUILLBOX_VERSION_PATCH));
    lblTitle->setText(AppTitle);
}

// OK is also the cancel button: Escape presses it.
void frmAbout::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Cancel))
        cmdOK->click();
    else
        QDialog::keyPressEvent(event);
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::Command1_Click()
{
    const QStringList lines = {
        AppTitle + QStringLiteral(" : Version " QUILLBOX_VERSION_STRING),
        QString(),
        Credit,
        QStringLiteral("E-Mail : ") + ContactAddress,
        QStringLiteral("Url : ") + MakerSite,
        QString(),
        QStringLiteral("Gestionnaire de Presse Papier"),
        QString(),
        Freeware,
    };
    MsgBox(lines.join(QLatin1Char('\r')), MsgBoxStyle::Information, QStringLiteral("A propos"));
}

void frmAbout::Image2_Click()
{
    System::shellOpen(MakerSite + QStringLiteral("/Don/Don.htm"));
}

void frmAbout::Label3_Click()
{
    System::shellOpen(MakerSite);
}

void frmAbout::lblDisclaimer_Click()
{
    System::shellOpen(QStringLiteral("mailto:") + ContactAddress);
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}
