#include "LessonPanel.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "NumberText.h"

namespace {
QString Paragraphs(const std::vector<std::string>& paragraphs) {
  QString html;
  for (const std::string& paragraph : paragraphs) {
    if (!paragraph.empty())
      html += "<p>" + QString::fromStdString(paragraph).toHtmlEscaped() + "</p>";
  }
  return html;
}

QString Html(const std::string& text) {
  return QString::fromStdString(text).toHtmlEscaped();
}

QLabel* Box(const char* colour, const char* hint) {
  auto* label = new QLabel;
  label->setWordWrap(true);
  label->setTextFormat(Qt::RichText);
  label->setStyleSheet(
      QString("QLabel { background: %1; padding: 8px; border-radius: 4px; }").arg(colour));
  label->setToolTip(hint);
  return label;
}

std::string Fixed(double value, int decimals, bool sign = false) {
  if (std::isnan(value)) return "none";
  const QString text = QString::number(value, 'f', decimals);
  return (sign && value >= 0 ? "+" : "") + text.toStdString();
}

QString NumbersTable(const std::vector<LessonNumbers>& numbers) {
  QString html =
      "<b>Your numbers</b><table cellpadding='3'><tr><th align='left'>check</th>"
      "<th align='right'>step</th><th align='right'>left eye</th><th align='right'>right eye</th>"
      "<th align='right'>dominance</th></tr>";
  for (const LessonNumbers& row : numbers) {
    html += "<tr><td>" + Html(row.check) + "</td><td align='right'>" +
            Html(runtime::GroupedDigits(row.step)) + "</td><td align='right'>" +
            Html(Fixed(row.largest.maxLeft, 3)) + "</td><td align='right'>" +
            Html(Fixed(row.largest.maxRight, 3)) + "</td><td align='right'>" +
            Html(Fixed(row.dominance, 2, true)) + "</td></tr>";
  }
  return html +
         "</table><small>Each eye's largest response in the listing, and the ocular dominance "
         "(R − L)/(R + L): −1 is the left eye alone, +1 the right eye alone.</small>";
}
}  // namespace

LessonPanel::LessonPanel(const std::string& title)
    : window_(new QWidget),
      phase_(new QLabel),
      text_(new QLabel),
      watch_(Box("#e8f1fb", "What to look at in the window while this phase plays.")),
      question_(Box("#fff4cc", "The lesson waits here: think of your answer, then Continue.")),
      numbers_(Box("#eef7ee", "Measured by the lesson's checks in this session.")),
      status_(new QLabel),
      continue_(new QPushButton("&Continue")) {
  window_->setWindowTitle(QString::fromStdString("BCM Orvel \u2014 Lesson: " + title));
  window_->setAttribute(Qt::WA_QuitOnClose, false);
  auto* heading = new QLabel(Html(title));
  heading->setStyleSheet("QLabel { font-size: 15pt; font-weight: bold; }");
  heading->setWordWrap(true);
  phase_->setStyleSheet("QLabel { font-weight: bold; }");
  phase_->setWordWrap(true);
  phase_->setToolTip("The phase of the lesson playing now.");
  text_->setWordWrap(true);
  text_->setTextFormat(Qt::RichText);
  text_->setToolTip("What this phase does to the neuron.");
  status_->setWordWrap(true);
  status_->setToolTip("What the lesson is doing; the Speed menu sets how fast it trains.");
  continue_->setEnabled(false);
  continue_->setToolTip("Goes on with the lesson.");
  QObject::connect(continue_, &QPushButton::clicked, [this] {
    if (onContinue) onContinue();
  });
  auto* layout = new QVBoxLayout(window_);
  for (QWidget* part : std::initializer_list<QWidget*>{heading, phase_, text_, watch_, question_,
                                                       numbers_, status_}) {
    layout->addWidget(part);
  }
  layout->addStretch();
  layout->addWidget(continue_, 0, Qt::AlignRight);
  for (QLabel* hidden : {watch_, question_, numbers_}) hidden->hide();
  window_->setFixedWidth(400);
  window_->setMinimumHeight(480);
}

LessonPanel::~LessonPanel() {
  delete window_;
}

void LessonPanel::Show(const QWidget* beside) {
  if (!placed_ && beside != nullptr) {
    // Beside the window where the screen has room, else over its right edge, never off it.
    const QRect frame = beside->frameGeometry();
    QPoint at(frame.right() + 8, frame.top());
    if (const QScreen* screen = beside->screen()) {
      const QRect room = screen->availableGeometry();
      at.setX(std::max(room.left(), std::min(at.x(), room.right() + 1 - window_->width())));
    }
    window_->move(at);
    placed_ = true;
  }
  window_->show();
  window_->raise();
}

std::string LessonPanel::Text() const {
  std::string text = phase_->text().toStdString() + "\n" + text_->text().toStdString() + "\n";
  if (question_->isVisibleTo(window_)) text += question_->text().toStdString() + "\n";
  if (numbers_->isVisibleTo(window_)) text += numbers_->text().toStdString() + "\n";
  return text + status_->text().toStdString();
}

void LessonPanel::ShowPhase(const Lesson::Phase& phase, std::size_t number, std::size_t phases) {
  phase_->setText(QString("Phase %1 of %2: ").arg(number).arg(phases) + Html(phase.title));
  text_->setText(Paragraphs(phase.paragraphs));
  watch_->setText("<b>Watch:</b> " + Html(phase.watch));
  watch_->setVisible(!phase.watch.empty());
  question_->hide();
}

void LessonPanel::ShowRun(std::int64_t steps) {
  Waiting(false, "Training " + runtime::GroupedDigits(steps) +
                     " steps. Stop or Pause halts the lesson; Continue goes on.");
}

void LessonPanel::Ask(const std::string& question) {
  question_->setText("<b>" + Html(question) + "</b>");
  question_->show();
  Waiting(true, "Think of your answer, then press Continue to see.");
}

void LessonPanel::ShowStopped(std::int64_t stepsLeft) {
  Waiting(true, "Stopped with " + runtime::GroupedDigits(stepsLeft) +
                    " steps of this run to go: Continue trains them.");
}

void LessonPanel::ShowFailure(const std::string& why) {
  Waiting(false, "The lesson cannot go on: " + why);
  status_->setStyleSheet("QLabel { color: #b00020; }");
}

void LessonPanel::ShowEnd(const std::vector<std::string>& ending,
                          const std::vector<LessonNumbers>& numbers) {
  phase_->setText("The end");
  text_->setText(Paragraphs(ending));
  question_->hide();
  watch_->hide();
  numbers_->setText(NumbersTable(numbers));
  numbers_->setVisible(!numbers.empty());
  Waiting(false, "The lesson is over. The window is yours again: try it another way.");
}

void LessonPanel::Waiting(bool waiting, const std::string& status) {
  status_->setText(Html(status));
  continue_->setEnabled(waiting);
  if (waiting) continue_->setFocus();
}
