#pragma once
// A pop-up laid out in columns, as QMenu cannot break a column where asked:
// one button per item, a bar between the columns, a check mark before the
// checked item. The main window's "Track" pop-up and the Tone window's
// channel pop-up are built with it.

#include <QMenu>
#include <QString>
#include <functional>
#include <vector>

namespace tsy {

struct ColumnMenuItem {
  QString text;
  bool checked = false;
  bool newColumn = false;  // the item starts a new column behind a bar
  std::function<void()> choose;
};

// Adds the columns of `items` to `menu`. A click closes `top` (the whole
// menu the pop-up belongs to), then runs the item's `choose`.
void AddColumns(QMenu& menu, const std::vector<ColumnMenuItem>& items, QMenu& top);

}  // namespace tsy
