#pragma once

#include "logging.h"

#include <QRegularExpression>
#include <QTest>

// Fails the running test on a warning of the program's category that it did not expect with
// QTest::ignoreMessage(QtWarningMsg, "quillbox: ..."); Qt's own pass. Call it from init().
inline void failOnProgramWarnings()
{
    static const QString prefix = QLatin1String(lcQuillbox().categoryName()) + QLatin1String(": ");
    // The test log sees the category in front of the program's messages, as a terminal does.
    static const QtMessageHandler testLog = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
            testLog(type, context, qstrcmp(context.category, lcQuillbox().categoryName()) ? message : prefix + message);
        });
    QTest::failOnWarning(QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(prefix)));
}
