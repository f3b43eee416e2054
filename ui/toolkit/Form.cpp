#include "Form.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

#include "WindowPlacement.h"

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

ScreenRect ToScreenRect(const QRect& rect) {
  return {rect.x(), rect.y(), rect.width(), rect.height()};
}
}  // namespace

TForm::TForm()
    : frame_(new FormWindow(*this)), scroller_(new QScrollArea(frame_)), window_(new QWidget) {
  auto* layout = new QVBoxLayout(frame_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(scroller_);
  scroller_->setFrameShape(QFrame::NoFrame);
  // Tab visits the controls only; the scroller still brings the focused one into view.
  scroller_->setFocusPolicy(Qt::NoFocus);
  scroller_->setWidget(window_);
  // A native window of its own lets scripts find and click the client area by name, whatever
  // sits above it.
  window_->setAttribute(Qt::WA_NativeWindow);
}

// The window goes first: with it go the native widgets and every connection to a control.
TForm::~TForm() {
  delete frame_;
}

void TForm::SetCaption(const std::string& caption) {
  frame_->setWindowTitle(QString::fromStdString(caption));
}

std::string TForm::Caption() const {
  return frame_->windowTitle().toStdString();
}

void TForm::SetClientBounds(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  window_->setFixedSize(width, height);
  FitToScreen();
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

QMenuBar* TForm::MenuBar() {
  if (menuBar_ == nullptr) {
    menuBar_ = new QMenuBar(frame_);
    frame_->layout()->setMenuBar(menuBar_);
  }
  return menuBar_;
}

// The stored place where the window fits the screen's free area, else the nearest place that
// does; a screen too small for the window gets scroll bars instead of unreachable controls.
void TForm::FitToScreen() {
  const int menuHeight = menuBar_ != nullptr ? menuBar_->sizeHint().height() : 0;
  const ScreenRect wanted{left_, top_, window_->width(), window_->height() + menuHeight};
  QScreen* screen = QGuiApplication::screenAt(QPoint(left_, top_));
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  const ScreenRect placed =
      screen != nullptr ? PlaceWindow(wanted, ToScreenRect(screen->availableGeometry())) : wanted;
  frame_->setGeometry(placed.left, placed.top, placed.width, placed.height);
  frame_->setFixedSize(placed.width, placed.height);
}

void TForm::Show() {
  FitToScreen();
  frame_->show();
  if (QWindow* client = window_->windowHandle()) {
    client->setTitle(frame_->windowTitle() + " client area");
  }
}

void TForm::Close() {
  frame_->close();
}

void TForm::Release() {
  if (released_) return;
  released_ = true;
  if (OnDestroy) OnDestroy();
}
