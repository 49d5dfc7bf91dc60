#include "logging.h"

Q_LOGGING_CATEGORY(lcQuillbox, "quillbox")
