#pragma once

#include <QDialog>
#include <optional>
#include <vector>

#include "Settings.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;

// Experiment → Parameters…: every parameter, the seed and the generator, each with its valid
// range or choices; below them,
// what the field with the focus means and when a change takes effect (its tooltip says the same).
// Small enough for a screen of 640 x 480. A bad value keeps the dialog open and says why.
class ParametersDialog : public QDialog {
 public:
  ParametersDialog(QWidget* parent, const Settings& current);
  ~ParametersDialog() override;
  ParametersDialog(const ParametersDialog&) = delete;
  ParametersDialog& operator=(const ParametersDialog&) = delete;

  // The new settings once all were valid and accepted; nothing before that or when cancelled.
  const std::optional<Settings>& Chosen() const { return chosen_; }
  // The explanation below the fields.
  QString Note() const;

 private:
  QLineEdit* AddRow(QGridLayout& grid, const QString& name, const QString& value,
                    const QString& valid, const QString& note);
  // Places field with its label, its valid values and its note in the grid's next row.
  void PlaceRow(QGridLayout& grid, const QString& name, QWidget* field, const QString& valid,
                const QString& note);
  void ShowNoteOf(QWidget* focused);
  void AcceptIfValid();

  Settings current_;
  std::vector<QLineEdit*> edits_;  // one per ParameterOptions() entry, in its order
  QLineEdit* seed_ = nullptr;
  QComboBox* generator_ = nullptr;
  QLabel* note_ = nullptr;
  std::optional<Settings> chosen_;
  QMetaObject::Connection focusWatch_;
};

// Shows the dialog until it is accepted or cancelled; its Chosen().
std::optional<Settings> AskSettings(QWidget* parent, const Settings& current);
