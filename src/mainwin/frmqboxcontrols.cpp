#include "frmqbox.h"

#include "forms/formlayout.h"
#include "logging.h"
#include "mainwin/keypressfilter.h"
#include "mainwin/msflexgrid.h"
#include "module1.h"
#include "resources/appicons.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include <iterator>
#include <limits>

// The window's controls and menus, as the form designer would lay them out; the
// handlers that give them life are in frmqbox.cpp.

namespace {

const QString Caption = QStringLiteral("Gestionnaire de Presse Papier");
const QColor PaleYellow(255, 255, 192);
const QColor PaleGreen(192, 255, 192);

// The form's font: the classic 8-point sans serif, or the nearest one installed.
QFont formFont(bool bold)
{
    const QString family = QStringLiteral("MS Sans Serif");
    QFont::insertSubstitutions(family, {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans"),
                                        QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    // Spelled out, so that the children of a bold frame do not inherit bold.
    font.setBold(bold);
    return font;
}

QFont plainFont()
{
    return formFont(false);
}

QGroupBox *makeFrame(QWidget *parent, const char *name, const QString &caption,
                     int left, int top, int width, int height)
{
    auto *frame = new QGroupBox(caption, parent);
    place(frame, name, left, top, width, height);
    if (!caption.isEmpty())
        frame->setFont(formFont(true));
    return frame;
}

QAbstractButton *makeButton(QWidget *parent, const char *name, const QString &caption,
                            const QString &tooltip, int left, int top, int width, int height)
{
    auto *button = new QPushButton(caption, parent);
    place(button, name, left, top, width, height);
    button->setFont(plainFont());
    button->setToolTip(tooltip);
    return button;
}

// A push button that shows its picture above its caption.
QAbstractButton *makePictureButton(QWidget *parent, const char *name, const QString &caption,
                                   const QString &tooltip, const QIcon &picture,
                                   int left, int top, int width, int height)
{
    auto *button = new QToolButton(parent);
    place(button, name, left, top, width, height);
    button->setFont(plainFont());
    button->setText(caption);
    button->setToolTip(tooltip);
    button->setIcon(picture);
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    return button;
}

QLabel *makeLabel(QWidget *parent, const char *name, const QString &caption,
                  int left, int top, int width, int height)
{
    auto *label = new QLabel(caption, parent);
    place(label, name, left, top, width, height);
    label->setFont(plainFont());
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPlainTextEdit *makeTextBox(QWidget *parent, const char *name, const QColor &background,
                            int left, int top, int width, int height)
{
    auto *box = new QPlainTextEdit(parent);
    place(box, name, left, top, width, height);
    box->setFont(plainFont());
    // Lines never wrap: the stored line count is the count of lines the box shows.
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setBackground(box, QPalette::Base, background);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Text, Qt::black);
    box->setPalette(palette);
    return box;
}

QAction *makeItem(QMenu *menu, const char *name, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

void addSeparator(QMenu *menu, const char *name)
{
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

} // namespace

FrmQbox::FrmQbox(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("FrmQbox"));
    setWindowTitle(Caption);
    setWindowIcon(AppIcons::windowIcon());
    startupMark("window icon");
    setFont(plainFont());
    // A fixed single border with its close box, and neither minimize nor maximize.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    createControls();
    startupMark("controls and grid");
    createMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    startupMark("menus");

    Form_Load();
}

void FrmQbox::createControls()
{
    auto *client = new QWidget(this);
    client->setFixedSize(twips(6615), twips(5940));
    setCentralWidget(client);

    Frame1 = makeFrame(client, "Frame1", QString(), 3720, 120, 2775, 2175);
    Command8 = makePictureButton(Frame1, "Command8", QStringLiteral("Masquer"),
                                 QStringLiteral("Réduit la fenêtre en icône"), AppIcons::hideIcon(),
                                 120, 1200, 1215, 855);
    Command1 = makeButton(Frame1, "Command1", QStringLiteral("&Copier"),
                          QStringLiteral("Copie le texte dans le presse papier"), 120, 240, 1215, 375);
    Command5 = makePictureButton(Frame1, "Command5", QStringLiteral("&Quitter"),
                                 QStringLiteral("Quitte le gestionnaire de Presse Papier"),
                                 AppIcons::quitIcon(), 1440, 1200, 1215, 855);
    Command4 = makeButton(Frame1, "Command4", QStringLiteral("&Supprimer"),
                          QStringLiteral("Supprime le texte sélectionné"), 1440, 240, 1215, 375);
    Command3 = makeButton(Frame1, "Command3", QStringLiteral("&Modifier"),
                          QStringLiteral("Modifie le texte sélectionné"), 1440, 720, 1215, 375);
    Command2 = makeButton(Frame1, "Command2", QStringLiteral("&Ajouter"),
                          QStringLiteral("Ajoute un texte"), 120, 720, 1215, 375);

    MSFlexGrid1 = new MSFlexGrid(MaxSlots + 1, 2, client);
    place(MSFlexGrid1, "MSFlexGrid1", 120, 120, 3495, 2295);

    Frame2 = makeFrame(client, "Frame2", QStringLiteral("Modification / Ajout d'un texte "),
                       120, 2520, 6375, 3255);
    Text2 = new QLineEdit(Frame2);
    place(Text2, "Text2", 720, 240, 2415, 285);
    // A title has no length limit; the box would cut one at 32767 characters.
    Text2->setMaxLength(std::numeric_limits<int>::max());
    Text2->setFont(plainFont());
    setBackground(Text2, QPalette::Base, PaleYellow);
    Command7 = makeButton(Frame2, "Command7", QStringLiteral("&Annuler"),
                          QStringLiteral("Annule l'édition"), 4920, 240, 975, 300);
    Command6 = makeButton(Frame2, "Command6", QStringLiteral("&Valider"),
                          QStringLiteral("Valide et sauve le texte"), 3600, 240, 1095, 300);
    Text1 = makeTextBox(Frame2, "Text1", PaleYellow, 120, 600, 6135, 2535);
    // Tab moves on to "&Valider"; a pasted tab character is kept.
    Text1->setTabChangesFocus(true);
    Label2 = makeLabel(Frame2, "Label2", QStringLiteral("Titre :"), 120, 240, 495, 255);
    Label2->setBuddy(Text2);

    Frame3 = makeFrame(client, "Frame3", QStringLiteral("Texte à copier dans le presse papier "),
                       120, 2520, 6375, 3255);
    Label1 = makeTextBox(Frame3, "Label1", PaleGreen, 120, 600, 6135, 2535);
    Label1->setPlainText(QStringLiteral("Text3"));
    Label1->setReadOnly(true);
    // Nothing can be typed there, so Tab moves on instead.
    Label1->setTabChangesFocus(true);
    Label1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Label4 = makeLabel(Frame3, "Label4", QStringLiteral("Titre sélectionné :"), 120, 240, 1335, 255);
    Label3 = makeLabel(Frame3, "Label3", QString(), 1560, 240, 2775, 255);
    setBackground(Label3, QPalette::Window, PaleGreen);
    // Named by it while it is empty, rather than by the panel's caption.
    Label4->setBuddy(Label3);

    // What a screen reader announces: the boxes by what their labels and panels say.
    MSFlexGrid1->setAccessibleName(QStringLiteral("Messages"));
    Text2->setAccessibleName(QStringLiteral("Titre"));
    Text1->setAccessibleName(Frame2->title().trimmed());
    Label1->setAccessibleName(Frame3->title().trimmed());

    Frame2->hide();
    Frame3->hide();
    for (QAbstractButton *command : {Command1, Command3, Command4})
        command->setEnabled(false);

    // Keyboard order: grid, the button panel, the editor, then the title box.
    QWidget *tabOrder[] = {MSFlexGrid1, Command1, Command2, Command3, Command4, Command5,
                           Text1, Command6, Command7, Text2, Command8, Label1};
    for (size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    connect(MSFlexGrid1, &MSFlexGrid::Click, this, &FrmQbox::MSFlexGrid1_Click);
    connect(Command1, &QAbstractButton::clicked, this, &FrmQbox::Command1_Click);
    connect(Command2, &QAbstractButton::clicked, this, &FrmQbox::Command2_Click);
    connect(Command3, &QAbstractButton::clicked, this, &FrmQbox::Command3_Click);
    connect(Command4, &QAbstractButton::clicked, this, &FrmQbox::Command4_Click);
    connect(Command5, &QAbstractButton::clicked, this, &FrmQbox::Command5_Click);
    connect(Command6, &QAbstractButton::clicked, this, &FrmQbox::Command6_Click);
    connect(Command7, &QAbstractButton::clicked, this, &FrmQbox::Command7_Click);
    connect(Command8, &QAbstractButton::clicked, this, &FrmQbox::Command8_Click);

    new KeyPressFilter(Label1, [this](qint16 &key) { Label1_KeyPress(key); });
    new KeyPressFilter(Text1, [this](qint16 &key) { Text1_KeyPress(key); });
    new KeyPressFilter(Text2, [this](qint16 &key) { Text2_KeyPress(key); });
    connect(Text2, &QLineEdit::textChanged, this, &FrmQbox::Text2_Change);
}

void FrmQbox::createMenus()
{
    Mnu_Fichier = menuBar()->addMenu(QStringLiteral("&Fichier"));
    Mnu_Fichier->setObjectName(QStringLiteral("Mnu_Fichier"));
    Mnu_Ajouter = makeItem(Mnu_Fichier, "Mnu_Ajouter", QStringLiteral("&Ajouter"));
    addSeparator(Mnu_Fichier, "sep2");
    Mnu_Copier = makeItem(Mnu_Fichier, "Mnu_Copier", QStringLiteral("&Copier"));
    addSeparator(Mnu_Fichier, "sep1");
    Mnu_Modif = makeItem(Mnu_Fichier, "Mnu_Modif", QStringLiteral("&Modifier"));
    Mnu_Sup = makeItem(Mnu_Fichier, "Mnu_Sup", QStringLiteral("&Supprimer"));
    addSeparator(Mnu_Fichier, "sep3");
    Mnu_Masque = makeItem(Mnu_Fichier, "Mnu_Masque", QStringLiteral("Masquer"));
    addSeparator(Mnu_Fichier, "sep0");
    Mnu_Quitter = makeItem(Mnu_Fichier, "Mnu_Quitter", QStringLiteral("&Quitter"));

    Mnu_Aide = menuBar()->addMenu(QStringLiteral("&?"));
    Mnu_Aide->setObjectName(QStringLiteral("Mnu_Aide"));
    Mnu_Apropos = makeItem(Mnu_Aide, "Mnu_Apropos", QStringLiteral("A propos"));

    MenuPopUp = menuBar()->addMenu(QStringLiteral("MenuPopUp"));
    MenuPopUp->setObjectName(QStringLiteral("MenuPopUp"));
    Mnu_Affichier = makeItem(MenuPopUp, "Mnu_Affichier", QStringLiteral("&Afficher"));
    Mnu_Masquer = makeItem(MenuPopUp, "Mnu_Masquer", QStringLiteral("&Masquer"));
    addSeparator(MenuPopUp, "sep5");
    Mnu_Fin = makeItem(MenuPopUp, "Mnu_Fin", QStringLiteral("&Quitter"));

    setSelectionMenuItemsEnabled(false);

    connect(Mnu_Ajouter, &QAction::triggered, this, &FrmQbox::Mnu_Ajouter_Click);
    connect(Mnu_Copier, &QAction::triggered, this, &FrmQbox::Mnu_Copier_Click);
    connect(Mnu_Modif, &QAction::triggered, this, &FrmQbox::Mnu_Modif_Click);
    connect(Mnu_Sup, &QAction::triggered, this, &FrmQbox::Mnu_Sup_Click);
    connect(Mnu_Masque, &QAction::triggered, this, &FrmQbox::Mnu_Masque_Click);
    connect(Mnu_Quitter, &QAction::triggered, this, &FrmQbox::Mnu_Quitter_Click);
    connect(Mnu_Apropos, &QAction::triggered, this, &FrmQbox::Mnu_Apropos_Click);
    connect(Mnu_Affichier, &QAction::triggered, this, &FrmQbox::Mnu_Affichier_Click);
    connect(Mnu_Masquer, &QAction::triggered, this, &FrmQbox::Mnu_Masquer_Click);
    connect(Mnu_Fin, &QAction::triggered, this, &FrmQbox::Mnu_Fin_Click);
}
