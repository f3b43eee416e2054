#include "MainMenu.h"

#include <QActionGroup>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QUrl>
#include <QVBoxLayout>
#include <filesystem>
#include <functional>

#include "BuiltInLessons.h"
#include "CommandLine.h"
#include "DocumentPage.h"
#include "HelpTexts.h"
#include "LogChoice.h"
#include "ParametersDialog.h"
#include "SaveName.h"
#include "Session.h"
#include "WindowCommands.h"

namespace {
QAction* AddItem(QMenu& menu, const QString& text, const QKeySequence& shortcut,
                 std::function<void()> command) {
  QAction* action = menu.addAction(text);
  action->setShortcut(shortcut);
  // Works wherever the focus is in the window, a list or a check box included.
  action->setShortcutContext(Qt::WindowShortcut);
  QObject::connect(action, &QAction::triggered, std::move(command));
  return action;
}

// Asks for a file of this kind to write, with the extension added when the name has none; ""
// when cancelled. The dialog asked before replacing the name typed, not the one extended, so a
// file of the extended name is replaced only when the user says so here.
std::string AskSavePath(QWidget* parent, const QString& title, const QString& kind,
                        const char* extension) {
  const QString filter = kind + " (*" + QString::fromLatin1(extension) + ")";
  const std::string chosen =
      QFileDialog::getSaveFileName(parent, title, QString(), filter).toStdString();
  std::string path = WithDefaultExtension(chosen, extension);
  if (path == chosen || !std::filesystem::exists(path)) return path;
  const auto answer = QMessageBox::question(
      parent, title, QString::fromStdString(path + " already exists. Replace it?"),
      QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
  return answer == QMessageBox::Yes ? path : "";
}

// Without a file manager to open it, the user can still go to the folder: its name can be
// selected and copied.
void ShowUnopenedFolder(QWidget* parent, const QString& folder) {
  QMessageBox box(
      QMessageBox::Information, "Open Log Folder",
      "No file manager could be started to open the log folder. The logs are in\n\n" + folder,
      QMessageBox::Ok, parent);
  box.setTextInteractionFlags(Qt::TextSelectableByMouse);
  box.exec();
}

// A dialog of its own: a message box would narrow the table to half the screen and wrap its rows.
void ShowShortcuts(QWidget* parent) {
  QDialog dialog(parent);
  dialog.setWindowTitle("Keyboard Shortcuts");
  auto* table = new QLabel(QString::fromStdString(ShortcutsTable()));
  table->setTextFormat(Qt::RichText);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(table);
  layout->addWidget(buttons);
  dialog.exec();
}

std::string AskOpenPath(QWidget* parent, const QString& title, const QString& filter) {
  return QFileDialog::getOpenFileName(parent, title, QString(), filter).toStdString();
}
}  // namespace

MainMenu::MainMenu(QMenuBar& bar, QWidget* window, WindowCommands& commands, const Session& session)
    : bar_(bar), window_(window), commands_(commands), session_(session) {
  AddFile(*bar.addMenu("&File"));
  AddRun(*bar.addMenu("&Run"));
  AddExperiment(*bar.addMenu("&Experiment"));
  AddView(*bar.addMenu("&View"));
  AddHelp(*bar.addMenu("&Help"));
}

void MainMenu::AddFile(QMenu& menu) {
  QWidget* window = window_;
  AddItem(menu, "Save &Picture…", QKeySequence("Ctrl+Shift+S"), [this, window] {
    const std::string path = AskSavePath(window, "Save Picture", "PNG pictures", ".png");
    if (!path.empty()) commands_.SavePictureTo(path);
  });
  AddItem(menu, "&Save State…", QKeySequence::fromString("Ctrl+S"), [this, window] {
    const std::string path = AskSavePath(window, "Save State", "States", ".json");
    if (!path.empty()) commands_.SaveStateTo(path);
  });
  AddItem(menu, "&Open State…", QKeySequence::fromString("Ctrl+O"), [this, window] {
    const std::string path = AskOpenPath(window, "Open State", "States (*.json)");
    if (!path.empty()) commands_.OpenStateFrom(path);
  });
  AddItem(menu, "&Export Course…", {}, [this, window] {
    const std::string path = AskSavePath(window, "Export Course", "Tables", ".csv");
    if (!path.empty()) commands_.ExportCourseTo(path);
  });
  AddItem(menu, "Open &Log Folder", {}, [this] {
    const QString folder = QString::fromStdString(commands_.LogFolder());
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
      ShowUnopenedFolder(window_, folder);
  });
  AddLogging(menu);
  menu.addSeparator();
  AddItem(menu, "&Quit", QKeySequence::fromString("Ctrl+Q"), [this] { commands_.Quit(); });
}

// A choice takes effect at once. Less can be chosen at any time, more not: a closed log would
// reopen with a hole in it, so the wider choices are greyed out. The title tells what the logs
// have written so far.
void MainMenu::AddLogging(QMenu& file) {
  QMenu& menu = *file.addMenu("&Logging");
  auto* group = new QActionGroup(&menu);
  const std::pair<LogChoice, const char*> choices[] = {
      {LogChoice::kAll, "&All: the seven logs and course.csv"},
      {LogChoice::kCourse, "&Course only: course.csv"},
      {LogChoice::kNone, "&None: run.json only"}};
  for (const auto& [choice, text] : choices) {
    QAction* item =
        AddItem(menu, text, {}, [this, choice = choice] { commands_.NarrowLogs(choice); });
    item->setCheckable(true);
    group->addAction(item);
    logChoices_[static_cast<std::size_t>(choice)] = item;
  }
  QObject::connect(&file, &QMenu::aboutToShow, [this, &menu] {
    const RunLogs* logs = session_.Logs();
    if (logs == nullptr) return;
    const auto chosen = static_cast<std::size_t>(logs->Choice());
    for (std::size_t choice = 0; choice < logChoices_.size(); ++choice) {
      logChoices_[choice]->setChecked(choice == chosen);
      logChoices_[choice]->setEnabled(choice >= chosen);
    }
    menu.setTitle(
        QString::fromStdString("&Logging (" + ByteText(logs->BytesWritten()) + " written)"));
  });
}

std::string MainMenu::LogsText() const {
  const RunLogs* logs = session_.Logs();
  if (logs == nullptr) return "not open";
  return std::string(LogChoiceName(logs->Choice())) + ", " + ByteText(logs->BytesWritten()) +
         " written so far";
}

void MainMenu::AddRun(QMenu& menu) {
  AddItem(menu, "&Start", QKeySequence(Qt::Key_F5), [this] { commands_.StartClick(); });
  AddItem(menu, "S&top", QKeySequence(Qt::Key_Escape), [this] { commands_.StopClick(); });
  QAction* pause =
      AddItem(menu, "&Pause", QKeySequence(Qt::Key_F6), [this] { commands_.PauseClick(); });
  pause->setCheckable(true);
  QObject::connect(&menu, &QMenu::aboutToShow,
                   [this, pause] { pause->setChecked(session_.simulation().paused()); });
  menu.addSeparator();
  AddItem(menu, "&Reset Weights", {}, [this] { commands_.ResetWeightsClick(); });
  AddItem(menu, "&Check It Out", {}, [this] { commands_.CheckItOutClick(); });
  menu.addSeparator();
  AddSpeeds(*menu.addMenu("Spee&d"));
}

void MainMenu::AddSpeeds(QMenu& menu) {
  speedMenu_ = &menu;
  auto* group = new QActionGroup(&menu);
  const std::pair<std::int64_t, const char*> speeds[] = {{0, "&Full"},
                                                         {1000000, "&1,000,000 steps per second"},
                                                         {100000, "100,000 steps per second"},
                                                         {10000, "10,000 steps per second"},
                                                         {1000, "1,000 steps per second"}};
  for (const auto& [rate, text] : speeds) {
    QAction* item = AddItem(menu, text, {}, [this, rate = rate] { commands_.SetSpeed(rate); });
    item->setCheckable(true);
    group->addAction(item);
    speeds_[rate] = item;
  }
  ShowSpeed(commands_.Speed());
}

void MainMenu::ShowSpeed(std::int64_t stepsPerSecond) {
  const auto item = speeds_.find(stepsPerSecond);
  if (item != speeds_.end()) {
    item->second->setChecked(true);
    return;
  }
  // A rate from the command line that no item names gets an item of its own, ticked.
  QAction* custom = AddItem(
      *speedMenu_, QString::fromStdString(std::to_string(stepsPerSecond)) + " steps per second", {},
      [this, stepsPerSecond] { commands_.SetSpeed(stepsPerSecond); });
  custom->setCheckable(true);
  speeds_.begin()->second->actionGroup()->addAction(custom);
  speeds_[stepsPerSecond] = custom;
  custom->setChecked(true);
}

QList<QAction*> MainMenu::ShortcutActions() const {
  QList<QAction*> found;
  for (const QMenu* menu : bar_.findChildren<QMenu*>()) {
    for (QAction* action : menu->actions()) {
      if (!action->shortcut().isEmpty()) found.append(action);
    }
  }
  return found;
}

void MainMenu::AddExperiment(QMenu& menu) {
  AddItem(menu, "&Parameters…", {}, [this] {
    if (const auto settings = AskSettings(window_, commands_.CurrentSettings())) {
      commands_.ApplySettings(*settings);
    }
  });
  AddLessons(*menu.addMenu("&Lessons"));
}

// The lessons that ship, then any lesson file, such as one a teacher wrote.
void MainMenu::AddLessons(QMenu& menu) {
  int number = 0;
  for (BuiltInLesson& builtIn : BuiltInLessons()) {
    const QString text =
        QString("&%1. ").arg(++number) + QString::fromStdString(builtIn.lesson.title);
    AddItem(menu, text, {},
            [this, lesson = std::move(builtIn.lesson)] { commands_.PlayLesson(lesson); });
  }
  menu.addSeparator();
  AddItem(menu, "&Open Lesson File…", {}, [this] {
    const std::string path = AskOpenPath(window_, "Open Lesson", "Lessons (*.txt);;All files (*)");
    if (path.empty()) return;
    try {
      commands_.PlayLesson(ReadLessonFile(path));
    } catch (const UsageError& fault) {
      QMessageBox::warning(window_, "Open Lesson", QString::fromStdString(fault.what()));
    }
  });
}

void MainMenu::AddView(QMenu& menu) {
  AddItem(menu, "&Course", {}, [this] { commands_.ShowCourse(); });
  fit_ = menu.addAction("Fit &Weights");
  fit_->setCheckable(true);
  QObject::connect(fit_, &QAction::toggled,
                   [this](bool fitted) { commands_.SetFitWeights(fitted); });
}

void MainMenu::FitWeights(bool fitted) {
  fit_->setChecked(fitted);
}

// The pages a student reads first, About last, as desktop programs place it.
void MainMenu::AddHelp(QMenu& menu) {
  AddItem(menu, "&Guide", QKeySequence(Qt::Key_F1),
          [this] { ShowDocumentPage(window_, "guide", "Guide"); });
  AddItem(menu, "&Model", {}, [this] { ShowDocumentPage(window_, "model", "Model"); });
  AddItem(menu, "&Keyboard Shortcuts", {}, [this] { ShowShortcuts(window_); });
  menu.addSeparator();
  AddItem(menu, "&About", {}, [this] {
    QMessageBox::about(
        window_, "About BCM Orvel",
        QString::fromStdString(
            AboutText(session_.Seed(), session_.Generator(), session_.simulation().parameters(),
                      session_.ReplayCommand(), commands_.LogFolder(), LogsText())));
  });
}
