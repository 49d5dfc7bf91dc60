#pragma once

#include <QLoggingCategory>

// Failures the program passes over on purpose, without a word to the user, leave a
// warning here (on standard error), so that a report from the field can be diagnosed;
// QT_LOGGING_RULES="quillbox.warning=false" silences them.
Q_DECLARE_LOGGING_CATEGORY(lcQuillbox)

// Start-up's steps, each with the milliseconds since the first one, for finding where the
// time goes: QT_LOGGING_RULES="quillbox.startup.debug=true". Off, a mark costs one test.
Q_DECLARE_LOGGING_CATEGORY(lcStartup)
void startupMark(const char *step);
