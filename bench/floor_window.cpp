// The toolkit floor: the main window's widget set built with Qt alone, reading no file.
// Its start-up time and memory are what any Qt program showing this window pays; the
// benchmark compares the real program against it.

#include "forms/formlayout.h"

#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTableWidget>
#include <QToolButton>

namespace {

constexpr int Rows = 50;

// A plain two-colour picture at both icon sizes, drawn as the real icons are.
QIcon drawnIcon(const QColor &fill)
{
    QIcon icon;
    for (int size : {16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::black);
        p.setBrush(fill);
        p.drawRoundedRect(QRectF(1, 1, size - 2, size - 2), 2, 2);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QGroupBox *frame(QWidget *parent, const QString &caption, int l, int t, int w, int h)
{
    auto *box = new QGroupBox(caption, parent);
    place(box, "", l, t, w, h);
    if (!caption.isEmpty()) {
        QFont bold(QStringLiteral("MS Sans Serif"));
        bold.setPointSizeF(8.25);
        bold.setBold(true);
        box->setFont(bold);
    }
    return box;
}

void button(QWidget *parent, const QString &caption, const QString &tip, int l, int t, int w, int h)
{
    auto *b = new QPushButton(caption, parent);
    place(b, "", l, t, w, h);
    b->setFont(QApplication::font());
    b->setToolTip(tip);
}

void pictureButton(QWidget *parent, const QString &caption, const QIcon &icon, int l, int t, int w, int h)
{
    auto *b = new QToolButton(parent);
    place(b, "", l, t, w, h);
    b->setFont(QApplication::font());
    b->setText(caption);
    b->setIcon(icon);
    b->setIconSize(QSize(32, 32));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
}

QPlainTextEdit *textBox(QWidget *parent, const QColor &background, int l, int t, int w, int h)
{
    auto *box = new QPlainTextEdit(parent);
    place(box, "", l, t, w, h);
    box->setFont(QApplication::font());
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setBackground(box, QPalette::Base, background);
    return box;
}

QTableWidget *grid(QWidget *parent)
{
    auto *table = new QTableWidget(Rows, 2, parent);
    place(table, "", 120, 120, 3495, 2295);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->horizontalHeader()->setSectionsClickable(false);
    table->setHorizontalHeaderItem(0, new QTableWidgetItem(QStringLiteral("N°Mes")));
    table->setHorizontalHeaderItem(1, new QTableWidgetItem(QStringLiteral("Titre")));
    table->setColumnWidth(0, twips(600));
    table->setColumnWidth(1, twips(2550));

    const QBrush fixed = table->palette().button();
    for (int r = 0; r < Rows; ++r) {
        auto *number = new QTableWidgetItem(QString::number(r + 1));
        number->setBackground(fixed);
        number->setFlags(Qt::ItemIsEnabled);
        number->setTextAlignment(Qt::AlignCenter);
        table->setItem(r, 0, number);
        auto *title = new QTableWidgetItem;
        title->setTextAlignment(Qt::AlignCenter);
        table->setItem(r, 1, title);
    }
    return table;
}

void menus(QMainWindow *window)
{
    QMenu *file = window->menuBar()->addMenu(QStringLiteral("&Fichier"));
    file->addAction(QStringLiteral("&Ajouter"));
    file->addSeparator();
    file->addAction(QStringLiteral("&Copier"))->setEnabled(false);
    file->addSeparator();
    file->addAction(QStringLiteral("&Modifier"))->setEnabled(false);
    file->addAction(QStringLiteral("&Supprimer"))->setEnabled(false);
    file->addSeparator();
    file->addAction(QStringLiteral("Masquer"));
    file->addSeparator();
    file->addAction(QStringLiteral("&Quitter"), qApp, &QApplication::quit);

    QMenu *help = window->menuBar()->addMenu(QStringLiteral("&?"));
    help->addAction(QStringLiteral("A propos"));

    QMenu *popup = window->menuBar()->addMenu(QStringLiteral("MenuPopUp"));
    popup->addAction(QStringLiteral("&Afficher"));
    popup->addAction(QStringLiteral("&Masquer"));
    popup->addSeparator();
    popup->addAction(QStringLiteral("&Quitter"));
    popup->menuAction()->setVisible(false);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QColor paleYellow(255, 255, 192);
    const QColor paleGreen(192, 255, 192);

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Gestionnaire de Presse Papier"));
    const QIcon appIcon = drawnIcon(QColor(181, 120, 60));
    window.setWindowIcon(appIcon);
    window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    auto *client = new QWidget(&window);
    client->setFixedSize(twips(6615), twips(5940));
    window.setCentralWidget(client);

    QGroupBox *buttons = frame(client, QString(), 3720, 120, 2775, 2175);
    pictureButton(buttons, QStringLiteral("Masquer"), drawnIcon(Qt::darkBlue), 120, 1200, 1215, 855);
    button(buttons, QStringLiteral("&Copier"), QStringLiteral("Copie le texte dans le presse papier"),
           120, 240, 1215, 375);
    pictureButton(buttons, QStringLiteral("&Quitter"), drawnIcon(Qt::red), 1440, 1200, 1215, 855);
    button(buttons, QStringLiteral("&Supprimer"), QStringLiteral("Supprime le texte sélectionné"),
           1440, 240, 1215, 375);
    button(buttons, QStringLiteral("&Modifier"), QStringLiteral("Modifie le texte sélectionné"),
           1440, 720, 1215, 375);
    button(buttons, QStringLiteral("&Ajouter"), QStringLiteral("Ajoute un texte"), 120, 720, 1215, 375);

    grid(client);

    QGroupBox *edit = frame(client, QStringLiteral("Modification / Ajout d'un texte "), 120, 2520, 6375, 3255);
    auto *title = new QLineEdit(edit);
    place(title, "", 720, 240, 2415, 285);
    setBackground(title, QPalette::Base, paleYellow);
    button(edit, QStringLiteral("&Annuler"), QStringLiteral("Annule l'édition"), 4920, 240, 975, 300);
    button(edit, QStringLiteral("&Valider"), QStringLiteral("Valide et sauve le texte"), 3600, 240, 1095, 300);
    textBox(edit, paleYellow, 120, 600, 6135, 2535);
    place(new QLabel(QStringLiteral("Titre :"), edit), "", 120, 240, 495, 255);

    QGroupBox *view = frame(client, QStringLiteral("Texte à copier dans le presse papier "), 120, 2520, 6375, 3255);
    QPlainTextEdit *display = textBox(view, paleGreen, 120, 600, 6135, 2535);
    display->setPlainText(QStringLiteral("Text3"));
    display->setReadOnly(true);
    place(new QLabel(QStringLiteral("Titre sélectionné :"), view), "", 120, 240, 1335, 255);
    auto *selected = new QLabel(view);
    place(selected, "", 1560, 240, 2775, 255);
    setBackground(selected, QPalette::Window, paleGreen);
    edit->hide();
    view->hide();

    menus(&window);
    window.layout()->setSizeConstraint(QLayout::SetFixedSize);

    QSystemTrayIcon tray(appIcon);
    tray.setToolTip(window.windowTitle());
    tray.show();

    window.show();
    return app.exec();
}
