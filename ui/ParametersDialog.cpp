#include "ParametersDialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>
#include <vector>

#include "CommandLine.h"

namespace {
QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLineEdit* AddRow(QFormLayout& form, const QString& name, const QString& value,
                  const QString& explanation) {
  auto* edit = new QLineEdit(value);
  auto* note = new QLabel(explanation);
  note->setEnabled(false);  // greyed: it explains, it is not a value
  auto* row = new QVBoxLayout;
  row->setSpacing(0);
  row->addWidget(edit);
  row->addWidget(note);
  form.addRow(name, row);
  return edit;
}
}  // namespace

std::optional<Settings> AskSettings(QWidget* parent, const Settings& current) {
  QDialog dialog(parent);
  dialog.setWindowTitle("Parameters");
  auto* form = new QFormLayout;
  std::vector<QLineEdit*> edits;
  for (const ParameterOption& option : ParameterOptions()) {
    edits.push_back(
        AddRow(*form, Text(option.name), Text(option.get(current.parameters)),
               Text(std::string(option.meaning) + "; valid: " + std::string(option.valid) +
                    "; takes effect " + TakesEffectText(option))));
  }
  QLineEdit* seed = AddRow(*form, "seed", QString::number(current.seed),
                           QString(kSeedRange) +
                               "; a new seed reseeds the generator at once, so the next step "
                               "draws from it");
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addLayout(form);
  layout->addWidget(buttons);

  std::optional<Settings> chosen;
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(buttons, &QDialogButtonBox::accepted, [&] {
    std::vector<std::string> texts;
    texts.reserve(edits.size());
    for (QLineEdit* edit : edits) texts.push_back(edit->text().trimmed().toStdString());
    Settings read = current;
    const std::string problem = ReadSettings(texts, seed->text().trimmed().toStdString(), read);
    if (!problem.empty()) {
      QMessageBox::warning(&dialog, "Parameters", Text(problem));
      return;
    }
    chosen = read;
    dialog.accept();
  });
  dialog.exec();
  return chosen;
}
