// Qt's own dialog texts read Japanese, as the program's own texts do.
#include "app/qt/qt_translations.h"

#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QPushButton>

#include "qt_app.h"

namespace tsy {
namespace {

TEST(QtTranslations, DialogButtonsReadJapanese) {
  ASSERT_TRUE(InstallQtJapanese(test::App())) << "qt6-translations-l10n is not installed";
  QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply |
                       QDialogButtonBox::Yes | QDialogButtonBox::No);
  EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text().toStdString(), "キャンセル");
  EXPECT_EQ(box.button(QDialogButtonBox::Apply)->text().toStdString(), "適用");
  EXPECT_EQ(box.button(QDialogButtonBox::Yes)->text().toStdString(), "はい(&Y)");
  EXPECT_EQ(box.button(QDialogButtonBox::No)->text().toStdString(), "いいえ(&N)");
}

}  // namespace
}  // namespace tsy
