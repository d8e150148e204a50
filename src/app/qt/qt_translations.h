#pragma once
// Qt's own texts (dialog buttons, the file dialog's labels) in Japanese, as the
// rest of the program speaks, whatever the session's language.

class QCoreApplication;

namespace tsy {

// Installs Qt's Japanese translations from where Qt keeps them; false (and Qt's
// English) when they are not installed.
bool InstallQtJapanese(QCoreApplication& app);

}  // namespace tsy
