#pragma once

#include <QLoggingCategory>

// Failures the program passes over on purpose, without a word to the user, leave a
// warning here (on standard error), so that a report from the field can be diagnosed;
// QT_LOGGING_RULES="quillbox.warning=false" silences them.
Q_DECLARE_LOGGING_CATEGORY(lcQuillbox)
