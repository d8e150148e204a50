#pragma once
// The About box: "バージョン情報", a banner across the top, the version line
// and an OK button.

#include <QString>

class QWidget;

namespace tsy {

// Shows the box modally over `owner`; the main and the Tone window wait.
void ShowAboutBox(QWidget& owner, const QString& versionText);

}  // namespace tsy
