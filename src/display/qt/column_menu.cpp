#include "display/qt/column_menu.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidgetAction>

namespace tsy {
namespace {

constexpr int kMarkSize = 12;

// The check mark drawn in the menu's text colour, or an empty square of its
// size so that every item's text starts at the same place.
QIcon CheckMark(bool checked, const QColor& colour) {
  QPixmap mark(kMarkSize, kMarkSize);
  mark.fill(Qt::transparent);
  if (checked) {
    QPainter painter(&mark);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, 2));
    const QPointF stroke[] = {{2, 6.5}, {5, 9.5}, {10, 2.5}};
    painter.drawPolyline(stroke, 3);
  }
  return QIcon(mark);
}

}  // namespace

void AddColumns(QMenu& menu, const std::vector<ColumnMenuItem>& items, QMenu& top) {
  auto* grid = new QWidget(&menu);
  auto* columns = new QHBoxLayout(grid);
  columns->setContentsMargins(2, 2, 2, 2);
  columns->setSpacing(2);
  QVBoxLayout* column = nullptr;
  const QColor textColour = menu.palette().color(QPalette::WindowText);
  for (const ColumnMenuItem& item : items) {
    if (!column || item.newColumn) {
      if (column) {
        auto* bar = new QFrame(grid);
        bar->setFrameShape(QFrame::VLine);
        columns->addWidget(bar);
      }
      column = new QVBoxLayout;
      column->setSpacing(0);
      columns->addLayout(column);
    }
    auto* button = new QToolButton(grid);
    button->setText(item.text);
    button->setIcon(CheckMark(item.checked, textColour));
    button->setIconSize(QSize(kMarkSize, kMarkSize));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    button->setCheckable(true);
    button->setChecked(item.checked);
    button->setMinimumWidth(48);
    QObject::connect(button, &QToolButton::clicked, &top, [&top, choose = item.choose] {
      top.close();
      choose();
    });
    column->addWidget(button);
  }
  auto* action = new QWidgetAction(&menu);
  action->setDefaultWidget(grid);
  menu.addAction(action);
}

}  // namespace tsy
