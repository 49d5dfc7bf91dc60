#include "frmqbox.h"

#include "about/frmabout.h"
#include "logging.h"
#include "mainwin/msflexgrid.h"
#include "module1.h"
#include "platform/clipboard.h"
#include "mainwin/crlftext.h"
#include "mainwin/keypressfilter.h"
#include "platform/msgbox.h"
#include "store/programfolder.h"
#include "platform/programexit.h"
#include "mainwin/twips.h"
#include "resources/appicons.h"
#include "store/codepage.h"
#include "store/slotstore.h"
#include "tray/traybackend.h"
#include "tray/traydata.h"

#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

#include <limits>

namespace {

const QString Caption = QStringLiteral("Gestionnaire de Presse Papier");
const QColor PaleYellow(255, 255, 192);
const QColor PaleGreen(192, 255, 192);
const QColor OccupiedYellow(255, 255, 0);
const QString Unreadable = QStringLiteral("(illisible)");

void place(QWidget *widget, const char *name, int left, int top, int width, int height)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(twips(left), twips(top), twips(width), twips(height));
}

void setBackground(QWidget *widget, QPalette::ColorRole role, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

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
    setFont(plainFont());
    // A fixed single border with its close box, and neither minimize nor maximize.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    createControls();
    createMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    Form_Load();
}

FrmQbox::~FrmQbox()
{
    // The tray's handler calls into this window.
    if (TrayBackend *backend = TrayBackend::current())
        backend->setEventHandler({});
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
    Label2 = makeLabel(Frame2, "Label2", QStringLiteral("Titre :"), 120, 240, 495, 255);

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

void FrmQbox::Form_Load()
{
    AppFolder = ProgramFolder();

    if (TrayBackend *backend = TrayBackend::current()) {
        backend->setEventHandler([this](int eventCode) {
            Form_MouseMove(0, 0, float(eventCode * TwipsPerPixel), 0);
        });
        backend->setContextMenu(MenuPopUp);
    }
    TrayNotify(this, TrayAction::Add, windowIcon(), Caption);

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

    // A file the reader cannot make sense of still gets a row, its file name's, so
    // that it can be seen, opened and deleted; it is never changed here.
    for (int n = 1; n <= MaxSlots; ++n) {
        if (!FileExists(SlotFilePath(n)))
            continue;
        const SlotRecord slot = ReadSlotTitle(n);
        NumMes = slot.number.value_or(qint16(n));
        MSFlexGrid1->setRow(NumMes);
        MSFlexGrid1->setCol(1);
        MSFlexGrid1->setCellBackColor(OccupiedYellow);
        MSFlexGrid1->setText(slot.title && !slot.title->isEmpty() ? *slot.title : Unreadable);
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

void FrmQbox::setDisplayText(const QString &crlfText)
{
    CrLfText::write(Label1, crlfText);
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
    const QString path = SlotFilePath(NumMes);
    if (FileExists(path)) {
        const SlotRecord slot = ReadSlot(NumMes);
        if (slot.number)
            NumMes = *slot.number;
        setDisplayText(slot.text);
    } else {
        // Removed behind the program's back: the previous message's text must not
        // stand under this title, where a copy would take it.
        setDisplayText(QString());
    }
    Command1->setEnabled(true);
    setSelectedTooltips();
    Command1->setToolTip(QStringLiteral("Copie le texte N° ") + QString::number(NumMes)
                         + QStringLiteral(" dans le presse papier"));
    Frame3->show();
    Label3->setText(MSFlexGrid1->text());
    Command4->setEnabled(true);
    Command3->setEnabled(true);
    setSelectionMenuItemsEnabled(true);
}

void FrmQbox::Command1_Click()
{
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
    Text1->clear();
    Text2->clear();
    if (NumMes > MaxSlots) {
        MsgBox(QStringLiteral("Nombre maximum de message atteint !"), MsgBoxStyle::Information,
               QStringLiteral("Avertissement"));
        Frame2->hide();
        Frame3->hide();
        Frame1->show();
        MSFlexGrid1->setEnabled(true);
    }
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
    const QString path = SlotFilePath(NumMes);
    if (!FileExists(path)) {
        MsgBox(QStringLiteral("Le message n'existe pas !"), MsgBoxStyle::Critical, QStringLiteral("Erreur"));
        Frame2->hide();
        Frame1->show();
        MSFlexGrid1->setEnabled(true);
        return;
    }
    const SlotRecord slot = ReadSlot(NumMes);
    if (slot.number)
        NumMes = *slot.number;
    setBodyText(slot.text);
    Text2->setText(slot.title.value_or(QString()));
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
    }

    Frame2->hide();
    const WriteResult result = WriteSlot(NumMes, title, body);
    if (result != WriteResult::Ok && result != WriteResult::Failed) {
        Frame2->show();
        warnUnsavable(result, title, body);
        return;
    }
    if (result == WriteResult::Failed) {
        MsgBox(QStringLiteral("Erreur lors de la sauvegarde du message N° ") + QString::number(NumMes),
               MsgBoxStyle::Critical, QStringLiteral("Erreur"));
        Frame3->hide();
        Frame2->hide();
        Frame1->show();
        MSFlexGrid1->setEnabled(true);
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
    setDisplayText(body);
    Label3->setText(Text2->text());
    setSelectedTooltips();
}

void FrmQbox::Command7_Click()
{
    Frame2->hide();
    Frame1->show();
    MSFlexGrid1->setEnabled(true);
    setSelectionButtonsEnabled(false);
    setSelectionMenuItemsEnabled(false);
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
    const QString storable = StorableTitle(text);
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
    MSFlexGrid1->setEnabled(false);
    const QString path = SlotFilePath(NumMes);
    const QString n = QString::number(NumMes);
    const int answer = MsgBox(QStringLiteral("Supprimer le message ") + n + QLatin1Char('\r') + path
                                  + QLatin1Char('\r') + QStringLiteral("Confirmez ?"),
                              MsgBoxStyle::YesNo | MsgBoxStyle::Question | MsgBoxStyle::DefaultButton2,
                              QStringLiteral("Suppression d'un message"));
    if (answer == MsgBoxResult::Yes) {
        if (!FileExists(path)) {
            MSFlexGrid1->setEnabled(true);
            return;
        }
        if (!DeleteSlot(NumMes))
            qCWarning(lcQuillbox, "cannot remove %s; the message is listed again at the next start",
                      qPrintable(QDir::toNativeSeparators(path)));
        // A number outside the grid has no title cell to clear.
        if (MSFlexGrid1->setRow(NumMes) && MSFlexGrid1->setCol(1)) {
            MSFlexGrid1->resetCellBackColor();
            MSFlexGrid1->setText(QString());
        }
        NumMes = 0;
        Command3->setToolTip(QStringLiteral("Modifier le message N° "));
        Command4->setToolTip(QStringLiteral("Supprimer le message N° "));
    }
    NumMes = 0;
    Frame1->show();
    setSelectionButtonsEnabled(false);
    setSelectionMenuItemsEnabled(false);
    MSFlexGrid1->setEnabled(true);
    setDisplayText(QString());
    Label3->setText(QString());
    Frame3->hide();
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
    const TrayBackend *backend = TrayBackend::current();
    if (backend && backend->isAvailable())
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
    EndProgram();
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
