#pragma once
// The Options sheet "各種設定": five pages that edit the settings record in
// memory. Each page loads its controls when it is first shown and stores
// them on OK or Apply; pages never shown are left alone.

#include <QDialog>
#include <QSpinBox>
#include <array>

#include "resources/options_sheet.h"

class QPushButton;
class QTabWidget;

namespace tsy {

struct Settings;

// The display refresh rate's field: digits only, arrows step within
// 1..1000, and anything typed outside that range is corrected when the field
// is left (0 shows 1, 2000 shows 1000).
class RateBox : public QSpinBox {
  Q_OBJECT

 public:
  explicit RateBox(QWidget* parent);
  QValidator::State validate(QString& text, int& position) const override;
  void fixup(QString& text) const override;
};

class OptionsSheet : public QDialog {
  Q_OBJECT

 public:
  OptionsSheet(QWidget& owner, Settings& settings);

  // True once OK or Apply stored the pages: the sheet saved changes.
  bool applied() const { return applied_; }
  QTabWidget& tabs() { return *tabs_; }
  // Control `id` of `page` (the rate's up-down is the rate field itself).
  QWidget* Control(OptionsPage page, int id) const;
  // OK and Apply: every page that was shown stores its controls.
  void Apply();

 private:
  void BuildPage(OptionsPage page);
  void PageShown(int index);
  void ReportChange();

  void LoadBasic();
  void StoreBasic();
  void LoadTones();
  void StoreTones();
  void ChooseToneFile(int editId, const char* filter, const char* pattern);
  void LoadFolders();
  void StoreFolders();
  void ChooseFolder(int group);
  void LoadDevices();
  void StoreDevice();

  Settings& settings_;
  QTabWidget* tabs_;
  QPushButton* applyButton_;
  std::array<bool, kOptionsPageCount> loaded_{};
  bool applied_ = false;
};

// Runs the sheet modally over `owner`; true when it saved changes (then the
// caller applies the output choice).
bool RunOptionsSheet(QWidget& owner, Settings& settings);

}  // namespace tsy
