#include "Controls.h"

#include <algorithm>

#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QToolTip>

#include "DisplayRefresh.h"
#include "Form.h"
#include "Stretch.h"

namespace {
QColor ToQColor(TColor color) {
  return QColor::fromRgb(PixelOf(color));
}

QString ToQString(const std::string& text) {
  return QString::fromStdString(text);
}

// What of a panel's width its text cannot use: the gap after its frame (2) and the text's
// margins inside it (3 and 2), as paintEvent draws them.
constexpr int kPanelTextInset = 7;

// Shows a control's hint as its tooltip, made when asked rather than set beforehand: a run
// changes the values it quotes thousands of times a second.
class HintFilter : public QObject {
 public:
  HintFilter(QWidget* widget, const TControl& control) : QObject(widget), control_(control) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ToolTip) return false;
    auto* help = static_cast<QHelpEvent*>(event);
    QWidget* widget = control_.NativeWidget();
    const QPoint at = static_cast<QWidget*>(watched)->mapTo(widget, help->pos());
    const std::string hint = control_.HintAt(at.x(), at.y());
    if (hint.empty()) {
      QToolTip::hideText();
    } else {
      QToolTip::showText(help->globalPos(), QString::fromStdString(hint), widget);
    }
    return true;
  }

 private:
  const TControl& control_;
};

class StatusBarWidget : public QWidget {
 public:
  StatusBarWidget(QWidget* parent, const TStatusBar& bar) : QWidget(parent), bar_(bar) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    int left = 0;
    for (int i = 0; i < bar_.PanelCount(); ++i) {
      const QRect panel(left, 2, bar_.ShownPanelWidth(i) - 2, height() - 2);
      painter.setPen(palette().color(QPalette::Mid));
      painter.drawRect(panel.adjusted(0, 0, -1, -1));
      painter.setPen(bar_.PanelWarning(i) ? QColor(Qt::red)
                                          : palette().color(QPalette::WindowText));
      painter.drawText(panel.adjusted(3, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft,
                       ToQString(bar_.PanelText(i)));
      left += bar_.ShownPanelWidth(i);
    }
  }

 private:
  const TStatusBar& bar_;
};

class ButtonWidget : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  // Outside a dialog Qt leaves Return to the default button; here every button is its own.
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
      click();
    } else {
      QPushButton::keyPressEvent(event);
    }
  }
};

// Qt ticks a check box with Space only; Return does the same here, as the Keyboard Shortcuts say.
class CheckBoxWidget : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
      click();
    } else {
      QCheckBox::keyPressEvent(event);
    }
  }
};

class ImageWidget : public QWidget {
 public:
  ImageWidget(QWidget* parent, TImage& image) : QWidget(parent), image_(image) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  // Only copies the bitmap: everything is drawn on it beforehand.
  void paintEvent(QPaintEvent*) override {
    const Bitmap& bitmap = image_.Picture();
    const QImage image(reinterpret_cast<const uchar*>(bitmap.Data()), bitmap.Width(),
                       bitmap.Height(), QImage::Format_RGB32);
    QPainter(this).drawImage(0, 0, image);
  }

 private:
  TImage& image_;
};
}  // namespace

TControl::TControl(std::string name, QWidget* widget) : Name(std::move(name)), widget_(widget) {
  auto* filter = new HintFilter(widget, *this);
  widget->installEventFilter(filter);
  // A list's items take the pointer's events before the list does.
  if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) {
    area->viewport()->installEventFilter(filter);
  }
}

std::string TControl::HintAt(int, int) const {
  return Hint ? Hint() : std::string();
}

int TControl::Left() const {
  return widget_->x();
}
int TControl::Top() const {
  return widget_->y();
}
int TControl::Width() const {
  return widget_->width();
}
int TControl::Height() const {
  return widget_->height();
}

void TControl::SetBounds(int left, int top, int width, int height) {
  widget_->setGeometry(left, top, width, height);
}

void TControl::SetColor(TColor color) {
  QPalette palette = widget_->palette();
  palette.setColor(widget_->backgroundRole(), ToQColor(color));
  widget_->setPalette(palette);
  widget_->setAutoFillBackground(true);
}

void TControl::SetFont(const TFont& font) {
  QFont qfont(ToQString(font.Name));
  qfont.setPixelSize(font.PixelHeight);
  if (font.FixedPitch) {
    qfont.setStyleHint(QFont::TypeWriter);
    qfont.setFixedPitch(true);
  }
  widget_->setFont(qfont);
}

void TControl::SetLeftToRight() {
  widget_->setLayoutDirection(Qt::LeftToRight);
}

void TControl::SetBorderless() {
  if (auto* frame = qobject_cast<QFrame*>(widget_)) frame->setFrameShape(QFrame::NoFrame);
}

void TControl::SetTakesFocus(bool takes) {
  widget_->setFocusPolicy(takes ? Qt::StrongFocus : Qt::NoFocus);
}

TButton::TButton(TForm& parent, std::string name)
    : TControl(std::move(name), new ButtonWidget(parent.NativeWidget())),
      button_(static_cast<QPushButton*>(NativeWidget())) {
  QObject::connect(button_, &QPushButton::clicked, [this] { Click(); });
}

void TButton::SetCaption(const std::string& caption) {
  button_->setText(ToQString(caption));
}
std::string TButton::Caption() const {
  return button_->text().toStdString();
}

void TButton::Click() {
  if (OnClick) OnClick();
}

TCheckBox::TCheckBox(TForm& parent, std::string name)
    : TControl(std::move(name), new CheckBoxWidget(parent.NativeWidget())),
      box_(static_cast<QCheckBox*>(NativeWidget())) {
  QObject::connect(box_, &QCheckBox::clicked, [this] {
    if (OnClick) OnClick();
  });
}

void TCheckBox::SetCaption(const std::string& caption) {
  box_->setText(ToQString(caption));
}
std::string TCheckBox::Caption() const {
  return box_->text().toStdString();
}
bool TCheckBox::Checked() const {
  return box_->isChecked();
}
void TCheckBox::SetChecked(bool checked) {
  box_->setChecked(checked);
}

void TStrings::Clear() {
  list_->clear();
}
void TStrings::Add(const std::string& line) {
  list_->addItem(ToQString(line));
}
int TStrings::Count() const {
  return list_->count();
}
std::string TStrings::operator[](int index) const {
  const QListWidgetItem* item = list_->item(index);
  return item != nullptr ? item->text().toStdString() : std::string();
}

TListBox::TListBox(TForm& parent, std::string name)
    : TControl(std::move(name), new QListWidget(parent.NativeWidget())),
      Items(static_cast<QListWidget*>(NativeWidget())) {
  static_cast<QListWidget*>(NativeWidget())->setUniformItemSizes(true);
}

void TListBox::SetItemHeight(int pixels) {
  auto* list = static_cast<QListWidget*>(NativeWidget());
  list->setStyleSheet(QString("QListWidget::item { height: %1px; padding: 0px; }").arg(pixels));
}

// The widgets below only keep a reference to what they show; nothing reads it before it exists.
TStatusBar::TStatusBar(TForm& parent, std::string name)
    : TControl(std::move(name), new StatusBarWidget(parent.NativeWidget(), *this)) {}

void TStatusBar::AddPanel(int width) {
  panels_.push_back({width, {}, false});
}

int TStatusBar::PanelWidth(int index) const {
  return index >= 0 && index < PanelCount() ? panels_[static_cast<std::size_t>(index)].width : 0;
}

int TStatusBar::ShownPanelWidth(int index) const {
  if (index != PanelCount() - 1) return FittedPanelWidth(index);
  int before = 0;
  for (int i = 0; i < index; ++i) before += FittedPanelWidth(i);
  return std::max(FittedPanelWidth(index), Width() - before);
}

// A text too long for its panel widens it and moves the later panels right, rather than lose its
// last digits; the last panel gives up its spare room first.
int TStatusBar::FittedPanelWidth(int index) const {
  const QFontMetrics metrics(NativeWidget()->font());
  const int textWidth = metrics.horizontalAdvance(ToQString(PanelText(index)));
  return std::max(PanelWidth(index), textWidth + kPanelTextInset);
}

void TStatusBar::SetPanelWarning(int index, bool warning) {
  if (index < 0 || index >= PanelCount()) return;
  panels_[static_cast<std::size_t>(index)].warning = warning;
  MarkChanged(NativeWidget());
}

bool TStatusBar::PanelWarning(int index) const {
  return index >= 0 && index < PanelCount() && panels_[static_cast<std::size_t>(index)].warning;
}

int TStatusBar::PanelAt(int x) const {
  for (int i = 0, left = 0; i < PanelCount(); ++i) {
    left += ShownPanelWidth(i);
    if (x >= 0 && x < left) return i;
  }
  return -1;
}

std::string TStatusBar::HintAt(int x, int y) const {
  const int panel = PanelAt(x);
  if (panel < 0 || !PanelHint) return TControl::HintAt(x, y);
  return PanelHint(panel);
}

std::string TStatusBar::PanelText(int index) const {
  return index >= 0 && index < PanelCount() ? panels_[static_cast<std::size_t>(index)].text
                                            : std::string();
}

void TStatusBar::SetPanelText(int index, const std::string& text) {
  if (index < 0 || index >= PanelCount()) return;
  std::string& shown = panels_[static_cast<std::size_t>(index)].text;
  if (shown == text) return;  // a run rewrites the constants' panels every 50 steps
  shown = text;
  MarkChanged(NativeWidget());
}

TImage::TImage(TForm& parent, std::string name, int width, int height)
    : TControl(std::move(name), new ImageWidget(parent.NativeWidget(), *this)),
      bitmap_(width, height),
      Canvas(bitmap_) {
  Canvas.OnChange = [this] { MarkChanged(NativeWidget()); };
}

const Bitmap& TImage::Picture() {
  Canvas.Flush();
  return bitmap_;
}

void TImage::SetPicture(const Bitmap& picture) {
  Canvas.Flush();
  const Bitmap shown = stretch_ ? Stretch(picture, bitmap_.Width(), bitmap_.Height()) : picture;
  for (int y = 0; y < bitmap_.Height(); ++y) {
    for (int x = 0; x < bitmap_.Width(); ++x) {
      bitmap_.At(x, y) = shown.Contains(x, y) ? shown.At(x, y) : PixelOf(clWhite);
    }
  }
  MarkChanged(NativeWidget());
}
