#include "testsupport.h"
#include "tray/systemtraybackend.h"
#include "tray/traydata.h"

#include <QPixmap>
#include <QTest>
#include <QWidget>

#include <cstring>

class TestTrayData : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theRecordKeepsItsLayout()
    {
        QCOMPARE(sizeof(NotifyIconData), size_t(88));
        QCOMPARE(offsetof(NotifyIconData, hIcon), size_t(20));
        QCOMPARE(offsetof(NotifyIconData, szTip), size_t(24));
    }

    void addThenRemoveSendsTheWholeRecordBothTimes()
    {
        FakeTrayBackend tray;
        QWidget form;
        QPixmap picture(16, 16);
        picture.fill(Qt::red);
        const QIcon icon(picture);
        const QString tip = QStringLiteral("Gestionnaire de Presse Papier");

        TrayNotify(&form, 0, icon, tip);
        TrayNotify(&form, 2);

        QCOMPARE(tray.calls().size(), 2);
        const NotifyIconData &added = tray.calls().at(0).data;
        const NotifyIconData &removed = tray.calls().at(1).data;
        QCOMPARE(tray.calls().at(0).action, 0u);
        QCOMPARE(tray.calls().at(1).action, 2u);
        for (const NotifyIconData *record : {&added, &removed}) {
            QCOMPARE(record->cbSize, 88u);
            QCOMPARE(record->hWnd, quint32(form.winId()));
            QCOMPARE(record->uID, 1u);
            QCOMPARE(record->uFlags, 7u);
            QCOMPARE(record->uCallbackMessage, 512u);
        }
        QVERIFY(added.hIcon != 0);
        QCOMPARE(removed.hIcon, added.hIcon);
        QCOMPARE(IconFromHandle(added.hIcon).cacheKey(), icon.cacheKey());

        QByteArray expectedTip = tip.toLatin1() + '\0' + QByteArray(34, ' ');
        QCOMPARE(QByteArray(added.szTip, 64), expectedTip);
        QCOMPARE(QByteArray(removed.szTip, 64), expectedTip);
        QCOMPARE(TipText(removed), tip);
    }

    void tipsAreStoredInTheEightBitCodePage_data()
    {
        QTest::addColumn<QString>("tip");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("accented") << "Présent" << QByteArray("Pr\xe9sent");
        QTest::newRow("63 characters fill the field") << QString(63, QLatin1Char('a')) << QByteArray(63, 'a');
        QTest::newRow("a longer tip is cut to fit its NUL") << QString(70, QLatin1Char('b')) << QByteArray(63, 'b');
    }
    void tipsAreStoredInTheEightBitCodePage()
    {
        QFETCH(QString, tip);
        QFETCH(QByteArray, stored);
        FakeTrayBackend tray;
        TrayNotify(nullptr, 0, std::nullopt, tip);
        const NotifyIconData &record = tray.calls().constLast().data;
        QCOMPARE(QByteArray(record.szTip, int(std::strlen(record.szTip))), stored);
        QCOMPARE(TipText(record), tip.left(63));
    }

    void activationReasonsBecomeEventCodes_data()
    {
        QTest::addColumn<QSystemTrayIcon::ActivationReason>("reason");
        QTest::addColumn<int>("code");
        QTest::newRow("left click") << QSystemTrayIcon::Trigger << 513;
        QTest::newRow("context request") << QSystemTrayIcon::Context << 517;
        QTest::newRow("double click") << QSystemTrayIcon::DoubleClick << 515;
        QTest::newRow("middle click") << QSystemTrayIcon::MiddleClick << 512;
        QTest::newRow("unknown") << QSystemTrayIcon::Unknown << 512;
    }
    void activationReasonsBecomeEventCodes()
    {
        QFETCH(QSystemTrayIcon::ActivationReason, reason);
        QFETCH(int, code);
        QCOMPARE(SystemTrayBackend::eventCodeFor(reason), code);
    }
};

QTEST_MAIN(TestTrayData)
#include "tst_traydata.moc"
