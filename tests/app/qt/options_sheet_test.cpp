// The Options sheet: its pages and controls, loading and storing the
// settings, and the rate field's corrections.
#include "app/qt/options_sheet.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "core/settings/settings.h"
#include "qt_app.h"

namespace tsy {
namespace {

class OptionsSheetTest : public ::testing::Test {
 protected:
  OptionsSheetTest() {
    settings.refreshPeriod = RefreshPeriodFromRate(24);
    settings.windowSave = 1;
    settings.modeEq = 1;
    settings.autoCompile = 0;
    settings.exitCheck = 1;
    settings.priority = 2;
    settings.midiDevice = "No Such Port";
    settings.tone1 = "GMSET.EQN";
    settings.tone2 = "GMSET.EQD";
    settings.folders[kMusFolder] = {"/music/", 1};
  }
  OptionsSheet& sheet() {
    if (!sheet_) sheet_ = std::make_unique<OptionsSheet>(owner, settings);
    return *sheet_;
  }
  template <typename W>
  W* Control(OptionsPage page, int id) {
    auto* widget = qobject_cast<W*>(sheet().Control(page, id));
    EXPECT_NE(widget, nullptr) << "page " << page << " control " << id;
    return widget;
  }
  void Show(OptionsPage page) { sheet().tabs().setCurrentIndex(page); }

  QApplication& app = test::App();  // before any widget
  Settings settings;
  QWidget owner;
  std::unique_ptr<OptionsSheet> sheet_;
};

TEST_F(OptionsSheetTest, FivePagesWithEveryControlOfTheTemplate) {
  EXPECT_EQ(sheet().windowTitle(), "各種設定");
  ASSERT_EQ(sheet().tabs().count(), 5);
  const char* titles[] = {"基本", "音色", "ﾌｧｲﾗ", "ﾌｫﾙﾀﾞ", "ﾃﾞﾊﾞｲｽ"};
  for (int page = 0; page < 5; ++page) {
    EXPECT_EQ(sheet().tabs().tabText(page), titles[page]);
    for (const SheetControl& control : OptionsSheetPages()[page].controls) {
      if (!control.id) continue;
      QWidget* widget = sheet().Control(OptionsPage(page), control.id);
      ASSERT_NE(widget, nullptr) << titles[page] << " " << control.id;
      EXPECT_EQ(widget->isEnabled(), control.enabled) << titles[page] << " " << control.id;
      if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        EXPECT_EQ(button->text(), control.text) << titles[page] << " " << control.id;
      }
    }
  }
  EXPECT_EQ(sheet().tabs().currentIndex(), 0);
  EXPECT_EQ(Control<QCheckBox>(kBasicPage, 111)->text(), "似非ｽﾍﾟｸﾄﾙｱﾅﾗｲｻﾞ");
  EXPECT_EQ(Control<QAbstractButton>(kFolderPage, 104)->text(), "参照...");
  EXPECT_FALSE(Control<QCheckBox>(kFilerPage, 101)->isEnabled());
}

TEST_F(OptionsSheetTest, BasicPageLoadsAndStores) {
  EXPECT_TRUE(Control<QCheckBox>(kBasicPage, 109)->isChecked());
  EXPECT_TRUE(Control<QCheckBox>(kBasicPage, 111)->isChecked());
  EXPECT_FALSE(Control<QCheckBox>(kBasicPage, 110)->isChecked());
  EXPECT_TRUE(Control<QRadioButton>(kBasicPage, 104)->isChecked());  // "最優先(&3)"
  auto* rate = Control<RateBox>(kBasicPage, 101);
  EXPECT_EQ(rate->text(), "24");
  EXPECT_EQ(sheet().Control(kBasicPage, 102), rate);  // the up-down is the field's arrows

  Control<QCheckBox>(kBasicPage, 110)->setChecked(true);
  Control<QCheckBox>(kBasicPage, 109)->setChecked(false);
  sheet().Apply();
  EXPECT_EQ(settings.autoCompile, 1);
  EXPECT_EQ(settings.windowSave, 0);
  EXPECT_EQ(settings.priority, 2);
  EXPECT_EQ(settings.refreshPeriod, 41);
  EXPECT_TRUE(sheet().applied());
}

// The switch beyond the described controls sits below all of them.
TEST_F(OptionsSheetTest, LiveReloadSitsBelowTheDescribedControlsAndLoadsAndStores) {
  settings.liveReload = 1;
  sheet().show();
  auto* live = Control<QCheckBox>(kBasicPage, basic_page::kLiveReload);
  EXPECT_TRUE(live->isChecked());
  auto* rate = Control<RateBox>(kBasicPage, basic_page::kRateEdit);
  EXPECT_GT(live->mapTo(sheet().window(), QPoint(0, 0)).y(), rate->mapTo(sheet().window(), QPoint(0, 0)).y());
  live->setChecked(false);
  sheet().Apply();
  EXPECT_EQ(settings.liveReload, 0);
}

TEST_F(OptionsSheetTest, RateIsCorrectedIntoItsRange) {
  auto* rate = Control<RateBox>(kBasicPage, 101);
  struct Case {
    const char* typed;
    const char* shown;
    int period;
  } cases[] = {{"0", "1", 1000}, {"2000", "1000", 1}, {"", "1", 1000}, {"60", "60", 16}, {"1000", "1000", 1}};
  for (const Case& c : cases) {
    rate->findChild<QLineEdit*>()->setText(c.typed);
    rate->interpretText();  // what leaving the field does
    EXPECT_EQ(rate->text(), c.shown) << c.typed;
    sheet().Apply();
    EXPECT_EQ(settings.refreshPeriod, c.period) << c.typed;
  }
  int position = 0;
  QString letters = "1a";
  EXPECT_EQ(rate->validate(letters, position), QValidator::Invalid);
}

// Apply is lit by a change and put out only by applying: opening another
// page for the first time loads it, which changes nothing.
TEST_F(OptionsSheetTest, ApplyStaysLitWhileAnotherPageHasChanges) {
  auto* apply = sheet().findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Apply);
  EXPECT_FALSE(apply->isEnabled());
  Control<QCheckBox>(kBasicPage, 110)->click();
  EXPECT_TRUE(apply->isEnabled());
  Show(kTonePage);
  EXPECT_TRUE(apply->isEnabled()) << "the basic page's change has not been applied";
  apply->click();
  EXPECT_FALSE(apply->isEnabled());
  Show(kFolderPage);
  EXPECT_FALSE(apply->isEnabled()) << "loading a page is no change";
}

TEST_F(OptionsSheetTest, PagesNeverShownAreNotStored) {
  sheet();
  settings.midiDevice = "Changed Meanwhile";
  settings.tone1 = "other.EQN";
  sheet().Apply();
  EXPECT_EQ(settings.midiDevice, "Changed Meanwhile");
  EXPECT_EQ(settings.tone1, "other.EQN");
}

TEST_F(OptionsSheetTest, MissingDeviceFallsBackToTheMapper) {
  Show(kDevicePage);
  auto* list = Control<QComboBox>(kDevicePage, 101);
  ASSERT_GE(list->count(), 2);
  EXPECT_EQ(list->itemText(0), "MIDI Mapper");
  EXPECT_EQ(list->itemText(1), "Direct Music");
  EXPECT_EQ(list->currentIndex(), 0);
  sheet().Apply();
  EXPECT_EQ(settings.midiDevice, "MIDI Mapper");

  settings.midiDevice = "direct";  // a prefix, in any case
  sheet_.reset();
  Show(kDevicePage);
  EXPECT_EQ(Control<QComboBox>(kDevicePage, 101)->currentText(), "Direct Music");
}

TEST_F(OptionsSheetTest, ToneFileDialogsShowTheirFilterOnce) {
  Show(kTonePage);
  QStringList filters;
  const auto shownFilters = [&](int browse) {
    test::WhenModalOpens([&](QWidget& dialog) { filters = static_cast<QFileDialog&>(dialog).nameFilters(); });
    Control<QAbstractButton>(kTonePage, browse)->click();
    return filters.join("|").toStdString();
  };
  EXPECT_EQ(shownFilters(tone_page::kEqnBrowse), "EQNファイル(*.EQN)");
  EXPECT_EQ(shownFilters(tone_page::kEqdBrowse), "EQDファイル(*.EQD)");
}

TEST_F(OptionsSheetTest, TonesAndFoldersLoadAndStore) {
  Show(kTonePage);
  EXPECT_EQ(Control<QLineEdit>(kTonePage, 103)->text(), "GMSET.EQN");
  EXPECT_EQ(Control<QLineEdit>(kTonePage, 105)->text(), "GMSET.EQD");
  Control<QLineEdit>(kTonePage, 105)->setText(QString(300, 'x'));
  Control<QCheckBox>(kTonePage, 102)->setChecked(true);
  Show(kFolderPage);
  EXPECT_EQ(Control<QLineEdit>(kFolderPage, 103)->text(), "/music/");
  EXPECT_TRUE(Control<QCheckBox>(kFolderPage, 102)->isChecked());
  Control<QLineEdit>(kFolderPage, 111)->setText("/exports/");
  Control<QCheckBox>(kFolderPage, 110)->setChecked(true);
  sheet().Apply();
  EXPECT_EQ(settings.tone2, std::string(255, 'x'));
  EXPECT_EQ(settings.toneAutoJump, 1);
  EXPECT_EQ(settings.folders[kSmfFolder].directory, "/exports/");
  EXPECT_EQ(settings.folders[kSmfFolder].lastDir, 1);
  EXPECT_EQ(settings.folders[kMusFolder].directory, "/music/");
}

TEST_F(OptionsSheetTest, CancelSavesNothingButKeepsWhatWasApplied) {
  test::WhenModalOpens([](QWidget& window) { static_cast<QDialog&>(window).reject(); });
  EXPECT_FALSE(RunOptionsSheet(owner, settings));

  test::WhenModalOpens([](QWidget& window) {
    auto& sheet = static_cast<OptionsSheet&>(window);
    ASSERT_EQ(sheet.windowTitle(), "各種設定");
    static_cast<QCheckBox*>(sheet.Control(kBasicPage, 110))->setChecked(true);
    sheet.Apply();
    sheet.reject();
  });
  EXPECT_TRUE(RunOptionsSheet(owner, settings));
  EXPECT_EQ(settings.autoCompile, 1);
}

}  // namespace
}  // namespace tsy
