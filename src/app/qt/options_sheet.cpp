#include "app/qt/options_sheet.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/qt/qt_host.h"
#include "app/qt/tone_window_host.h"
#include "core/settings/settings.h"
#include "core/settings/tone_files.h"
#include "midiout/device_choice.h"
#include "resources/string_table.h"

namespace tsy {
namespace {

// Text limits in bytes, as the settings record and the platform's buffers take them.
constexpr size_t kToneFileMax = 255;
constexpr size_t kFolderMax = 259;
constexpr size_t kDeviceMax = 31;
constexpr size_t kFolderBrowserBuffer = 262;   // chosen folder, separator and zero byte
constexpr size_t kToneDialogBuffer = 516;      // chosen tone file and zero byte
constexpr int kShortestPreselectedFolder = 4;  // "C:\" and shorter are not preselected

QString ObjectName(int id) { return QString("c%1").arg(id); }

// `text` as UTF-8, cut to at most `maxBytes` bytes without splitting a character.
std::string LimitBytes(const QString& text, size_t maxBytes) {
  std::string bytes = text.toStdString();
  if (bytes.size() <= maxBytes) return bytes;
  size_t end = maxBytes;
  while (end > 0 && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80) --end;
  return bytes.substr(0, end);
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

// The first entry, searching after entry 0 and wrapping to the top, whose
// text starts with `prefix` ignoring case; entry 0 when none does (or when
// there is no prefix to look for).
int FindByPrefix(const QStringList& entries, const QString& prefix) {
  if (prefix.isEmpty()) return 0;
  for (int k = 1; k <= entries.size(); ++k) {
    int i = k % entries.size();
    if (entries[i].startsWith(prefix, Qt::CaseInsensitive)) return i;
  }
  return 0;
}

// Kinds that sit in one row behind a label (or behind the edit they follow).
bool JoinsRow(ControlKind kind) {
  return kind == ControlKind::kEdit || kind == ControlKind::kNumberEdit || kind == ControlKind::kPushButton ||
         kind == ControlKind::kDropDownList;
}

}  // namespace

// --- the rate field ------------------------------------------------------------

RateBox::RateBox(QWidget* parent) : QSpinBox(parent) {
  setRange(basic_page::kRateMin, basic_page::kRateMax);
  setAlignment(Qt::AlignRight);
  setGroupSeparatorShown(false);
}

QValidator::State RateBox::validate(QString& text, int&) const {
  for (QChar c : text)
    if (!c.isDigit()) return QValidator::Invalid;
  if (text.size() > 9) return QValidator::Invalid;
  bool read = false;
  int value = text.toInt(&read);
  return read && value >= minimum() && value <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
}

void RateBox::fixup(QString& text) const {
  int value = text.toInt();  // a failed read gives 0
  text = QString::number(std::clamp(value, minimum(), maximum()));
}

// --- the sheet -----------------------------------------------------------------

OptionsSheet::OptionsSheet(QWidget& owner, Settings& settings) : QDialog(&owner), settings_(settings) {
  setWindowTitle(kOptionsSheetTitle);
  setWindowModality(Qt::ApplicationModal);  // the main and the Tone window wait
  auto* layout = new QVBoxLayout(this);
  tabs_ = new QTabWidget(this);
  layout->addWidget(tabs_);
  for (int page = 0; page < kOptionsPageCount; ++page) BuildPage(OptionsPage(page));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
  applyButton_ = buttons->button(QDialogButtonBox::Apply);
  applyButton_->setEnabled(false);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    Apply();
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(applyButton_, &QPushButton::clicked, this, [this] {
    Apply();
    applyButton_->setEnabled(false);
  });
  layout->addWidget(buttons);

  tabs_->setCurrentIndex(kBasicPage);
  PageShown(kBasicPage);
  connect(tabs_, &QTabWidget::currentChanged, this, &OptionsSheet::PageShown);
}

QWidget* OptionsSheet::Control(OptionsPage page, int id) const {
  QWidget* pageWidget = tabs_->widget(page);
  if (QWidget* control = pageWidget->findChild<QWidget*>(ObjectName(id))) return control;
  for (QWidget* control : pageWidget->findChildren<QWidget*>())
    if (control->property("upDownId").toInt() == id) return control;
  return nullptr;
}

// Builds a page from its template: group boxes hold the controls that name
// them; a label and the fields behind it share a row.
void OptionsSheet::BuildPage(OptionsPage page) {
  const SheetPage& sheetPage = OptionsSheetPages()[page];
  auto* pageWidget = new QWidget;
  auto* pageLayout = new QVBoxLayout(pageWidget);
  QMap<QString, QVBoxLayout*> groups;
  QHBoxLayout* row = nullptr;
  QLabel* pendingLabel = nullptr;  // gets the next field as its buddy
  QSpinBox* rate = nullptr;

  for (const SheetControl& control : sheetPage.controls) {
    QVBoxLayout* parent = control.group ? groups.value(control.group, pageLayout) : pageLayout;
    if (control.kind == ControlKind::kUpDown) {
      // The rate field carries its own arrows: the up-down is that field.
      if (rate) rate->setProperty("upDownId", control.id);
      continue;
    }
    QWidget* widget = nullptr;
    switch (control.kind) {
      case ControlKind::kGroupBox: {
        auto* box = new QGroupBox(control.text);
        groups[control.text] = new QVBoxLayout(box);
        widget = box;
        break;
      }
      case ControlKind::kCheckBox: widget = new QCheckBox(control.text); break;
      case ControlKind::kRadioButton: widget = new QRadioButton(control.text); break;
      case ControlKind::kLabel: widget = new QLabel(control.text); break;
      case ControlKind::kEdit: widget = new QLineEdit(control.text); break;
      case ControlKind::kNumberEdit: widget = rate = new RateBox(nullptr); break;
      case ControlKind::kPushButton: widget = new QPushButton(control.text); break;
      case ControlKind::kDropDownList: widget = new QComboBox; break;
      case ControlKind::kUpDown: break;
    }
    if (control.id) widget->setObjectName(ObjectName(control.id));
    widget->setEnabled(control.enabled);

    if (control.kind == ControlKind::kLabel || (JoinsRow(control.kind) && !row)) {
      row = new QHBoxLayout;
      parent->addLayout(row);
    } else if (!JoinsRow(control.kind)) {
      row = nullptr;
    }
    if (row) row->addWidget(widget, control.kind == ControlKind::kPushButton ? 0 : 1);
    else parent->addWidget(widget);
    if (pendingLabel && control.kind != ControlKind::kLabel) pendingLabel->setBuddy(widget);
    pendingLabel = control.kind == ControlKind::kLabel ? static_cast<QLabel*>(widget) : nullptr;

    if (auto* button = qobject_cast<QAbstractButton*>(widget))
      connect(button, &QAbstractButton::clicked, this, &OptionsSheet::ReportChange);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
      connect(edit, &QLineEdit::textEdited, this, &OptionsSheet::ReportChange);
    if (auto* spin = qobject_cast<QSpinBox*>(widget))
      connect(spin, &QSpinBox::textChanged, this, &OptionsSheet::ReportChange);
    if (auto* list = qobject_cast<QComboBox*>(widget))
      connect(list, &QComboBox::activated, this, &OptionsSheet::ReportChange);
  }
  pageLayout->addStretch();
  tabs_->addTab(pageWidget, sheetPage.title);

  switch (page) {
    case kTonePage:
      connect(static_cast<QPushButton*>(Control(page, tone_page::kEqnBrowse)), &QPushButton::clicked, this,
              [this] { ChooseToneFile(tone_page::kEqnEdit, tone_page::kEqnFilter, tone_page::kEqnPattern); });
      connect(static_cast<QPushButton*>(Control(page, tone_page::kEqdBrowse)), &QPushButton::clicked, this,
              [this] { ChooseToneFile(tone_page::kEqdEdit, tone_page::kEqdFilter, tone_page::kEqdPattern); });
      break;
    case kFolderPage:
      for (int group = 0; group < kFolderCount; ++group)
        connect(static_cast<QPushButton*>(Control(page, folder_page::kGroups[group].browse)), &QPushButton::clicked,
                this, [this, group] { ChooseFolder(group); });
      break;
    default: break;
  }
}

void OptionsSheet::PageShown(int index) {
  if (index < 0 || loaded_[index]) return;
  loaded_[index] = true;
  const bool changed = applyButton_->isEnabled();
  switch (OptionsPage(index)) {
    case kBasicPage: LoadBasic(); break;
    case kTonePage: LoadTones(); break;
    case kFilerPage: break;
    case kFolderPage: LoadFolders(); break;
    case kDevicePage: LoadDevices(); break;
  }
  applyButton_->setEnabled(changed);  // loading is no change; another page's changes still wait
}

void OptionsSheet::ReportChange() { applyButton_->setEnabled(true); }

void OptionsSheet::Apply() {
  if (loaded_[kBasicPage]) StoreBasic();
  if (loaded_[kTonePage]) StoreTones();
  if (loaded_[kFolderPage]) StoreFolders();
  if (loaded_[kDevicePage]) StoreDevice();
  applied_ = true;
}

// --- page "基本" ----------------------------------------------------------------

namespace {

QCheckBox* Check(const OptionsSheet& sheet, OptionsPage page, int id) {
  return static_cast<QCheckBox*>(sheet.Control(page, id));
}

struct CheckSetting {
  int id;
  uint8_t Settings::*field;
};
constexpr CheckSetting kBasicChecks[] = {
    {basic_page::kWindowSave, &Settings::windowSave}, {basic_page::kAutoCompile, &Settings::autoCompile},
    {basic_page::kModeEq, &Settings::modeEq},         {basic_page::kExitCheck, &Settings::exitCheck},
    {basic_page::kLiveReload, &Settings::liveReload},
};

struct PriorityChoice {
  int id;
  uint8_t priority;
};
constexpr PriorityChoice kPriorities[] = {
    {basic_page::kPriorityHighest, 2},
    {basic_page::kPriorityNormal, 1},
    {basic_page::kPriorityIdle, 0},
};

}  // namespace

void OptionsSheet::LoadBasic() {
  for (const CheckSetting& c : kBasicChecks) Check(*this, kBasicPage, c.id)->setChecked(settings_.*c.field != 0);
  for (const PriorityChoice& p : kPriorities)
    static_cast<QRadioButton*>(Control(kBasicPage, p.id))->setChecked(settings_.priority == p.priority);
  auto* rate = static_cast<RateBox*>(Control(kBasicPage, basic_page::kRateEdit));
  rate->setValue(RateFromRefreshPeriod(settings_.refreshPeriod));
}

void OptionsSheet::StoreBasic() {
  for (const CheckSetting& c : kBasicChecks) settings_.*c.field = Check(*this, kBasicPage, c.id)->isChecked() ? 1 : 0;
  settings_.priority = 0;
  for (const PriorityChoice& p : kPriorities)
    if (static_cast<QRadioButton*>(Control(kBasicPage, p.id))->isChecked()) {
      settings_.priority = p.priority;
      break;
    }
  auto* rate = static_cast<RateBox*>(Control(kBasicPage, basic_page::kRateEdit));
  rate->interpretText();  // corrects what was typed, as leaving the field does
  settings_.refreshPeriod = RefreshPeriodFromRate(rate->value());
}

// --- page "音色" ----------------------------------------------------------------

void OptionsSheet::LoadTones() {
  static_cast<QLineEdit*>(Control(kTonePage, tone_page::kEqnEdit))->setText(Text(settings_.tone1));
  static_cast<QLineEdit*>(Control(kTonePage, tone_page::kEqdEdit))->setText(Text(settings_.tone2));
  Check(*this, kTonePage, tone_page::kAutoJump)->setChecked(settings_.toneAutoJump != 0);
  Check(*this, kTonePage, tone_page::kExitCheck)->setChecked(settings_.toneExitCheck != 0);
}

void OptionsSheet::StoreTones() {
  settings_.tone1 = LimitBytes(static_cast<QLineEdit*>(Control(kTonePage, tone_page::kEqnEdit))->text(), kToneFileMax);
  settings_.tone2 = LimitBytes(static_cast<QLineEdit*>(Control(kTonePage, tone_page::kEqdEdit))->text(), kToneFileMax);
  settings_.toneAutoJump = Check(*this, kTonePage, tone_page::kAutoJump)->isChecked() ? 1 : 0;
  settings_.toneExitCheck = Check(*this, kTonePage, tone_page::kExitCheck)->isChecked() ? 1 : 0;
  LoadToneFiles(settings_);
  RepaintToneWindow();
}

void OptionsSheet::ChooseToneFile(int editId, const char* filter, const char* pattern) {
  auto* edit = static_cast<QLineEdit*>(Control(kTonePage, editId));
  QString chosen = QFileDialog::getOpenFileName(this, QString(), edit->text(), DialogFilter({filter, pattern}));
  if (chosen.isEmpty() || chosen.toStdString().size() >= kToneDialogBuffer) return;
  edit->setText(QDir::toNativeSeparators(chosen));
  ReportChange();
}

// --- page "ﾌｫﾙﾀﾞ" ---------------------------------------------------------------

void OptionsSheet::LoadFolders() {
  for (int group = 0; group < kFolderCount; ++group) {
    const folder_page::FolderGroup& ids = folder_page::kGroups[group];
    static_cast<QLineEdit*>(Control(kFolderPage, ids.edit))->setText(Text(settings_.folders[group].directory));
    Check(*this, kFolderPage, ids.lastDir)->setChecked(settings_.folders[group].lastDir != 0);
  }
}

void OptionsSheet::StoreFolders() {
  for (int group = 0; group < kFolderCount; ++group) {
    const folder_page::FolderGroup& ids = folder_page::kGroups[group];
    settings_.folders[group].directory =
        LimitBytes(static_cast<QLineEdit*>(Control(kFolderPage, ids.edit))->text(), kFolderMax);
    settings_.folders[group].lastDir = Check(*this, kFolderPage, ids.lastDir)->isChecked() ? 1 : 0;
  }
}

// The folder browser, starting at the group's folder; the chosen folder is
// stored with a trailing separator, unless it is too long to keep.
void OptionsSheet::ChooseFolder(int group) {
  const folder_page::FolderGroup& ids = folder_page::kGroups[group];
  auto* edit = static_cast<QLineEdit*>(Control(kFolderPage, ids.edit));
  QString start = edit->text().size() >= kShortestPreselectedFolder ? edit->text() : QString();
  QString chosen =
      QFileDialog::getExistingDirectory(this, LoadText(ids.browserTitle), start, QFileDialog::ShowDirsOnly);
  if (chosen.isEmpty()) return;
  chosen = QDir::toNativeSeparators(chosen);
  if (!chosen.endsWith(QDir::separator())) chosen += QDir::separator();
  if (chosen.toStdString().size() >= kFolderBrowserBuffer) return;
  edit->setText(chosen);
  ReportChange();
}

// --- page "ﾃﾞﾊﾞｲｽ" ---------------------------------------------------------------

void OptionsSheet::LoadDevices() {
  auto* list = static_cast<QComboBox*>(Control(kDevicePage, device_page::kOutputList));
  QStringList names;
  for (const std::string& name : DeviceNames()) names << Text(name);
  list->addItems(names);
  list->setCurrentIndex(FindByPrefix(names, Text(settings_.midiDevice)));
}

void OptionsSheet::StoreDevice() {
  auto* list = static_cast<QComboBox*>(Control(kDevicePage, device_page::kOutputList));
  settings_.midiDevice = LimitBytes(list->currentText(), kDeviceMax);
}

bool RunOptionsSheet(QWidget& owner, Settings& settings) {
  OptionsSheet sheet(owner, settings);
  sheet.exec();
  return sheet.applied();
}

}  // namespace tsy
