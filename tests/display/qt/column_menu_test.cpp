// Pop-ups in columns: where the columns break, the check mark before the
// checked item (and only there), and a click that chooses and closes.
#include "display/qt/column_menu.h"

#include <gtest/gtest.h>

#include "qt_app.h"

#include <QApplication>
#include <QImage>
#include <QLayout>
#include <QToolButton>

namespace tsy {
namespace {

class ColumnMenuTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::App(); }

  // Sixteen channels in two columns, the second from "9" on, "3" checked.
  void Build() {
    for (int c = 0; c < 16; ++c) items_.push_back({QString::number(c + 1), c == 2, c == 8, [this, c] { chosen_ = c; }});
    AddColumns(menu_, items_, menu_);
    buttons_ = menu_.findChildren<QToolButton*>();
    ASSERT_EQ(buttons_.size(), 16);
    buttons_.front()->parentWidget()->layout()->activate();
  }

  static bool HasMark(const QToolButton* button) {
    const QImage mark = button->icon().pixmap(button->iconSize()).toImage();
    for (int y = 0; y < mark.height(); ++y)
      for (int x = 0; x < mark.width(); ++x)
        if (qAlpha(mark.pixel(x, y)) != 0) return true;
    return false;
  }

  QMenu menu_;
  std::vector<ColumnMenuItem> items_;
  QList<QToolButton*> buttons_;
  int chosen_ = -1;
};

TEST_F(ColumnMenuTest, TheColumnsBreakWhereAskedAndOnlyTheCheckedItemHasItsMark) {
  Build();
  for (int c = 1; c < 8; ++c) {
    EXPECT_EQ(buttons_[c]->x(), buttons_[0]->x()) << buttons_[c]->text().toStdString();
    EXPECT_GT(buttons_[c]->y(), buttons_[c - 1]->y());
  }
  EXPECT_GT(buttons_[8]->x(), buttons_[7]->x()) << "\"9\" heads the second column";
  EXPECT_EQ(buttons_[8]->y(), buttons_[0]->y());
  for (int c = 9; c < 16; ++c) EXPECT_EQ(buttons_[c]->x(), buttons_[8]->x());
  for (int c = 0; c < 16; ++c) EXPECT_EQ(HasMark(buttons_[c]), c == 2) << buttons_[c]->text().toStdString();
}

TEST_F(ColumnMenuTest, AClickChoosesItsItemAndClosesTheMenu) {
  Build();
  menu_.show();
  buttons_[11]->click();
  EXPECT_EQ(chosen_, 11);
  EXPECT_FALSE(menu_.isVisible());
}

}  // namespace
}  // namespace tsy
