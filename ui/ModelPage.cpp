#include "ModelPage.h"

#include <QDialog>
#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {
// Built in by the ui library's resources, so it is there wherever the program is installed.
constexpr const char* kModelPath = ":/docs/model.md";
}  // namespace

QDialog* ShowModelPage(QWidget* parent) {
  Q_INIT_RESOURCE(model_page);
  auto* page = new QDialog(parent);
  page->setAttribute(Qt::WA_DeleteOnClose);
  page->setWindowTitle("BCM Orvel \u2014 Model");
  auto* text = new QTextBrowser;
  QFile model(kModelPath);
  text->setMarkdown(model.open(QIODevice::ReadOnly)
                        ? QString::fromUtf8(model.readAll())
                        : "The model's page is missing from this build.");
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(text);
  page->resize(720, 600);
  page->show();
  return page;
}
