#include "Form.h"

#include <QCloseEvent>
#include <QWidget>

namespace {
class FormWindow : public QWidget {
 public:
  explicit FormWindow(const TForm& form) : form_(form) {}

 protected:
  void closeEvent(QCloseEvent* event) override {
    if (form_.CanClose && !form_.CanClose()) {
      event->ignore();
    } else {
      event->accept();
    }
  }

 private:
  const TForm& form_;
};
}  // namespace

TForm::TForm() : window_(new FormWindow(*this)) {}

// The window goes first: with it go the native widgets and every connection to a control.
TForm::~TForm() {
  delete window_;
}

void TForm::SetCaption(const std::string& caption) {
  window_->setWindowTitle(QString::fromStdString(caption));
}

std::string TForm::Caption() const {
  return window_->windowTitle().toStdString();
}

void TForm::SetClientBounds(int left, int top, int width, int height) {
  window_->setGeometry(left, top, width, height);
  window_->setFixedSize(width, height);
}

int TForm::ClientWidth() const {
  return window_->width();
}
int TForm::ClientHeight() const {
  return window_->height();
}

void TForm::SetColor(TColor color) {
  QPalette palette = window_->palette();
  palette.setColor(QPalette::Window, QColor::fromRgb(PixelOf(color)));
  window_->setPalette(palette);
  window_->setAutoFillBackground(true);
}

void TForm::SetFont(const TFont& font) {
  QFont qfont(QString::fromStdString(font.Name));
  qfont.setPixelSize(font.PixelHeight);
  window_->setFont(qfont);
}

void TForm::SetTabOrder(const std::vector<TControl*>& order) {
  for (std::size_t i = 1; i < order.size(); ++i) {
    QWidget::setTabOrder(order[i - 1]->NativeWidget(), order[i]->NativeWidget());
  }
}

void TForm::Show() {
  window_->show();
}

void TForm::Close() {
  window_->close();
}

void TForm::Release() {
  if (released_) return;
  released_ = true;
  if (OnDestroy) OnDestroy();
}
