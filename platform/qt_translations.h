#pragma once
// Qt's own texts (the standard buttons of message boxes and the like) in the
// user's language, as LC_ALL, LC_MESSAGES, LANG and LANGUAGE name it.
class QCoreApplication;

namespace platform {

// Loads Qt's translations for the user's language into app; false when
// there are none for it (English and the C locale need none).
bool installQtTranslations(QCoreApplication& app);

}
