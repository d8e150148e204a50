#include "app/qt/qt_host.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "app/qt/about_box.h"
#include "app/qt/main_window.h"
#include "app/qt/options_sheet.h"
#include "app/qt/tone_window_host.h"
#include "display/qt/qt_canvas.h"
#include "resources/string_table.h"
#include "resources/window_texts.h"

namespace tsy {
namespace {

QString FromPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
std::string ToPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kInformation: return QMessageBox::Information;
    case MessageIcon::kQuestion: return QMessageBox::Question;
    case MessageIcon::kWarning: return QMessageBox::Warning;
    case MessageIcon::kError: return QMessageBox::Critical;
    case MessageIcon::kNone: break;
  }
  return QMessageBox::NoIcon;
}

// The compile result lines its tracks up in columns, which only a
// fixed-pitch face keeps: the display's, at the box's size.
void ShowInFixedPitch(QMessageBox& box) {
  QLabel* text = box.findChild<QLabel*>("qt_msgbox_label");
  QWidget& target = text ? static_cast<QWidget&>(*text) : box;
  QFont font = DisplayFont();
  const QFont& usual = target.font();
  if (usual.pointSizeF() > 0) font.setPointSizeF(usual.pointSizeF());
  else font.setPixelSize(usual.pixelSize());
  font.setStyleStrategy(QFont::PreferDefault);
  target.setFont(font);
}

// Wide enough for its caption (a path, say) beside the window's buttons:
// a message box otherwise takes the width of its text alone.
void WidenToCaption(QMessageBox& box) {
  constexpr int kTitleBarButtons = 120;  // room the window manager takes beside the caption
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (!grid) return;
  const int width = box.fontMetrics().horizontalAdvance(box.windowTitle()) + kTitleBarButtons;
  grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                grid->columnCount());
}

#ifndef Q_OS_WIN
// Whether the desktop names a program other than this one for files of this
// kind; opening a file that has none would fail after the fact, with nobody
// told. Where this program is installed it is the sources' own program, which
// would open another window instead of an editor.
bool HasAssociatedProgram(const QFileInfo& file) {
  QString type = QMimeDatabase().mimeTypeForFile(file).name();
  QProcess query;
  query.start("xdg-mime", {"query", "default", type});
  if (!query.waitForFinished(3000) || query.exitCode() != 0) return false;
  const QString program = QString::fromUtf8(query.readAllStandardOutput().trimmed());
  return !program.isEmpty() && program != QGuiApplication::desktopFileName() + ".desktop";
}

// Text editors of the common desktops, tried in this order when the user
// names none in $VISUAL or $EDITOR.
constexpr const char* kDesktopEditors[] = {
    "gnome-text-editor", "gedit", "kate", "kwrite", "mousepad", "xed", "pluma", "featherpad", "leafpad", "geany",
};
#endif

// The editor to start, as a program and its arguments before the file.
QStringList EditorCommand() {
#ifdef Q_OS_WIN
  return {"notepad.exe"};
#else
  for (const char* variable : {"VISUAL", "EDITOR"}) {
    QStringList command = QProcess::splitCommand(qEnvironmentVariable(variable));
    if (!command.isEmpty()) return command;
  }
  for (const char* editor : kDesktopEditors)
    if (!QStandardPaths::findExecutable(editor).isEmpty()) return {editor};
  return {};
#endif
}

// "mid" for the pattern "*.mid"; "" for "*.*" or a pattern without an extension.
QString SuffixOf(const FileFilter& filter) {
  const QString pattern = QString::fromStdString(filter.pattern);
  const qsizetype dot = pattern.lastIndexOf('.');
  const QString suffix = dot < 0 ? QString() : pattern.mid(dot + 1);
  return suffix.contains('*') ? QString() : suffix;
}

}  // namespace

QString DialogFilter(const FileFilter& filter) {
  QString description = QString::fromStdString(filter.description);
  QString pattern = QString::fromStdString(filter.pattern);
  if (description.endsWith("(" + pattern + ")", Qt::CaseInsensitive)) return description;
  return description + " (" + pattern + ")";
}

QtShellHost::QtShellHost(MainWindow& window, Settings& settings) : window_(window), settings_(settings) {}

bool QtShellHost::AskYesNo(const std::string& text, bool noIsDefault) {
  QMessageBox box(QMessageBox::Question, kProgramCaption, QString::fromStdString(text),
                  QMessageBox::Yes | QMessageBox::No, &window_);
  box.setDefaultButton(noIsDefault ? QMessageBox::No : QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

void QtShellHost::ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) {
  QMessageBox box(BoxIcon(icon), QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok,
                  &window_);
  if (caption == LoadText(TextId::kCompileResultCaption)) ShowInFixedPitch(box);
  WidenToCaption(box);
  box.exec();
}

FileDialogResult QtShellHost::RunFileDialog(const FileDialogRequest& request) {
  QFileDialog dialog(&window_, QString::fromStdString(request.title));
  dialog.setWindowModality(Qt::ApplicationModal);  // the main and the Tone window wait
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  QStringList filters;
  for (const FileFilter& filter : request.filters) filters << DialogFilter(filter);
  dialog.setNameFilters(filters);
  // A name typed without an extension gets the first filter's ("*.mid" ->
  // ".mid"), and the overwrite question is asked of that name.
  if (request.save && !request.filters.empty()) dialog.setDefaultSuffix(SuffixOf(request.filters.front()));
  if (!request.initialFolder.empty()) dialog.setDirectory(FromPath(request.initialFolder));
  dialog.selectFile(FromPath(request.initialName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  int index = filters.indexOf(dialog.selectedNameFilter());
  return {index < 0 ? 1 : index + 1, ToPath(dialog.selectedFiles().first())};
}

bool QtShellHost::OpenWithAssociation(const std::string& path) {
  QFileInfo file(FromPath(path));
  if (!file.exists()) return false;
#ifndef Q_OS_WIN
  if (!HasAssociatedProgram(file)) return false;
#endif
  return QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
}

bool QtShellHost::StartTextEditor(const std::string& path) {
  QStringList command = EditorCommand();
  if (command.isEmpty()) return false;
  QString program = command.takeFirst();
  return QProcess::startDetached(program, command << FromPath(path));
}

void QtShellHost::ShowAbout(const std::string& versionText) {
  ShowAboutBox(window_, QString::fromStdString(versionText));
}

bool QtShellHost::RunOptionsSheet() { return tsy::RunOptionsSheet(window_, settings_); }

void QtShellHost::OpenToneWindow() { ::tsy::OpenToneWindow(window_, settings_); }

void QtShellHost::RaiseOwnedWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget == &window_ || widget->parentWidget() != &window_ || !widget->isVisible()) continue;
    widget->raise();
    widget->activateWindow();
    return;
  }
}

void QtShellHost::Repaint() { window_.RepaintDisplay(); }

void QtShellHost::SetCaption(const std::string& caption) { window_.setWindowTitle(QString::fromStdString(caption)); }

void QtShellHost::StartDisplayRefresh() { window_.StartDisplayRefresh(); }

void QtShellHost::RequestClose() { QMetaObject::invokeMethod(&window_, &QWidget::close, Qt::QueuedConnection); }

void QtShellHost::Post(std::function<void()> task) {
  QMetaObject::invokeMethod(&window_, std::move(task), Qt::QueuedConnection);
}

std::optional<int> QtShellHost::AskNumber(const std::string& prompt, int value, int min, int max) {
  bool ok = false;
  const int number =
      QInputDialog::getInt(&window_, kProgramCaption, QString::fromStdString(prompt), value, min, max, 1, &ok);
  if (!ok) return std::nullopt;
  return number;
}

}  // namespace tsy
