#include "ParametersDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>

#include "CommandLine.h"

namespace {
QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The longest note, the seed's, takes three lines at the dialog's width; a note never moves the
// buttons.
constexpr int kNoteLines = 3;
}  // namespace

ParametersDialog::ParametersDialog(QWidget* parent, const Settings& current)
    : QDialog(parent), current_(current) {
  setWindowTitle("Parameters");
  auto* grid = new QGridLayout;
  for (const ParameterOption& option : ParameterOptions()) {
    edits_.push_back(
        AddRow(*grid, Text(option.name), Text(option.get(current.parameters)), Text(option.valid),
               Text(std::string(option.meaning) + "; takes effect " + TakesEffectText(option))));
  }
  seed_ = AddRow(*grid, "seed", QString::number(current.seed), QString("whole, ") + kSeedRange,
                 "a new seed reseeds the generator at once, so the next step draws from it");
  generator_ = new QComboBox;
  for (const auto kind : {runtime::GeneratorKind::kClassic, runtime::GeneratorKind::kPcg32}) {
    generator_->addItem(Text(runtime::GeneratorName(kind)), static_cast<int>(kind));
  }
  generator_->setCurrentIndex(generator_->findData(static_cast<int>(current.generator)));
  PlaceRow(*grid, "generator", generator_, "classic or pcg32",
           "a new generator restarts from the seed at once, as a new seed does; pcg32's probe "
           "and Check It Out draw from a stream of their own");
  note_ = new QLabel;
  note_->setTextFormat(Qt::RichText);
  note_->setWordWrap(true);
  note_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // The fields set the width; the note wraps within it.
  note_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  note_->setFixedHeight(QFontMetrics(note_->font()).lineSpacing() * kNoteLines);
  ShowNoteOf(edits_.front());
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addSpacing(note_->fontMetrics().lineSpacing() / 2);
  layout->addWidget(note_);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] { AcceptIfValid(); });
  focusWatch_ = connect(qApp, &QApplication::focusChanged, this,
                        [this](QWidget*, QWidget* focused) { ShowNoteOf(focused); });
}

// The focus moves while QWidget's destructor takes the fields away, after this part is gone.
ParametersDialog::~ParametersDialog() {
  disconnect(focusWatch_);
}

QString ParametersDialog::Note() const {
  return note_->text();
}

QLineEdit* ParametersDialog::AddRow(QGridLayout& grid, const QString& name, const QString& value,
                                    const QString& valid, const QString& note) {
  auto* edit = new QLineEdit(value);
  PlaceRow(grid, name, edit, valid, note);
  return edit;
}

void ParametersDialog::PlaceRow(QGridLayout& grid, const QString& name, QWidget* field,
                                const QString& valid, const QString& note) {
  const int row = grid.rowCount();
  auto* label = new QLabel(name);
  auto* range = new QLabel(valid);
  range->setEnabled(false);  // greyed: it explains, it is not a value
  label->setBuddy(field);
  field->setToolTip("<b>" + name + "</b>: " + note);
  grid.addWidget(label, row, 0);
  grid.addWidget(field, row, 1);
  grid.addWidget(range, row, 2);
}

void ParametersDialog::ShowNoteOf(QWidget* focused) {
  const bool field = qobject_cast<QLineEdit*>(focused) != nullptr || focused == generator_;
  if (field && focused->window() == this) note_->setText(focused->toolTip());
}

void ParametersDialog::AcceptIfValid() {
  std::vector<std::string> texts;
  texts.reserve(edits_.size());
  for (QLineEdit* edit : edits_) texts.push_back(edit->text().trimmed().toStdString());
  Settings read = current_;
  const std::string problem = ReadSettings(texts, seed_->text().trimmed().toStdString(), read);
  if (!problem.empty()) {
    QMessageBox::warning(this, "Parameters", Text(problem));
    return;
  }
  read.generator = static_cast<runtime::GeneratorKind>(generator_->currentData().toInt());
  chosen_ = read;
  accept();
}

std::optional<Settings> AskSettings(QWidget* parent, const Settings& current) {
  ParametersDialog dialog(parent, current);
  dialog.exec();
  return dialog.Chosen();
}
