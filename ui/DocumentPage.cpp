#include "DocumentPage.h"

#include <QDialog>
#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

QDialog* ShowDocumentPage(QWidget* parent, const std::string& name, const std::string& title) {
  Q_INIT_RESOURCE(documents);
  auto* page = new QDialog(parent);
  page->setAttribute(Qt::WA_DeleteOnClose);
  page->setWindowTitle(QString::fromStdString("BCM Orvel \u2014 " + title));
  auto* text = new QTextBrowser;
  // The pages name their pictures as files beside them, as they are in docs/.
  text->setSearchPaths({":/docs"});
  text->setOpenExternalLinks(true);
  QFile document(QString::fromStdString(":/docs/" + name + ".md"));
  text->setMarkdown(
      document.open(QIODevice::ReadOnly)
          ? QString::fromUtf8(document.readAll())
          : QString::fromStdString("The page " + name + ".md is missing from this build."));
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(text);
  page->resize(760, 640);
  page->show();
  return page;
}
