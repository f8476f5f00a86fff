// picture_widget.cpp: the display on screen, in the window's three views.
//
// Full picture: the whole 320 x 200 C64 picture with a 32-pixel border in the frame's border
// colour, as a monitor shows it. Handheld portrait: the 240 x 320 surface as it is. Handheld
// rotated: the surface turned a quarter turn back, so the C64 picture reads upright at its full
// 320 pixels. The picture is scaled by a whole factor without smoothing; full screen it is as
// large as fits, aspect kept, black around it. A left click is the handheld's tap on the screen.
// Called by: the desktop window, which refreshes it from a timer on the application thread.
#include "platform/desktop/picture_widget.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/display.h"
#include "video/full_picture.h"
#include "video/palette.h"

namespace {
QSize ViewSize(PictureView view) {
  switch (view) {
    case PictureView::FullPicture:
      return {kFullPictureWidth + 2 * kBorderPixels, kFullPictureHeight + 2 * kBorderPixels};
    case PictureView::HandheldPortrait: return {kDisplayWidth, kDisplayHeight};
    default: return {kDisplayHeight, kDisplayWidth};
  }
}
}  // namespace

PictureWidget::PictureWidget(int scale, QWidget* parent)
    : QWidget(parent), scale_(std::clamp(scale, kMinScale, kMaxScale)), indices_(kFullPicturePixels) {
  setFocusPolicy(Qt::NoFocus);
  SetView(PictureView::FullPicture);
}

void PictureWidget::SetView(PictureView view) {
  view_ = view;
  picture_ = QImage(ViewSize(view), QImage::Format_RGB16);
  picture_.fill(Qt::black);
  shownFrame_ = 0;
  Resize();
  Refresh();
}

void PictureWidget::SetScale(int scale) {
  scale_ = std::clamp(scale, kMinScale, kMaxScale);
  Resize();
}

void PictureWidget::SetFillsScreen(bool fills) {
  fillsScreen_ = fills;
  Resize();
}

void PictureWidget::Resize() {
  if (fillsScreen_) {
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  } else {
    setFixedSize(picture_.size() * scale_);
  }
  update();
}

bool PictureWidget::TakeFullPicture() {
  uint8_t border = 0;
  const uint32_t frame = CopyFullPicture(indices_.data(), border);
  if (frame == shownFrame_) return false;
  shownFrame_ = frame;
  picture_.fill(static_cast<uint>(palette565[border]));
  for (int y = 0; y < kFullPictureHeight; ++y) {
    auto* row = reinterpret_cast<uint16_t*>(picture_.scanLine(y + kBorderPixels)) + kBorderPixels;
    const uint8_t* source = indices_.data() + y * kFullPictureWidth;
    for (int x = 0; x < kFullPictureWidth; ++x) row[x] = palette565[source[x] & 15];
  }
  return true;
}

void PictureWidget::Refresh() {
  bool changed;
  if (view_ == PictureView::FullPicture) {
    changed = TakeFullPicture();
  } else {
    // Rows of a QImage are padded to 4 bytes; 240 and 320 pixels of 2 bytes need no padding.
    const uint32_t frame = CopyLatestPicture(view_ == PictureView::HandheldRotated,
                                             reinterpret_cast<uint16_t*>(picture_.bits()));
    changed = frame != shownFrame_;
    shownFrame_ = frame;
  }
  if (changed) update();
}

QRect PictureWidget::PictureRect() const {
  if (!fillsScreen_) return rect();
  const QSize fitted = picture_.size().scaled(size(), Qt::KeepAspectRatio);
  return QRect(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
}

QImage PictureWidget::ShownImage() const {
  const QRect shown = PictureRect();
  return picture_.scaled(shown.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation).convertToFormat(QImage::Format_RGB32);
}

void PictureWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (fillsScreen_) painter.fillRect(rect(), Qt::black);
  painter.drawImage(PictureRect(), picture_);
}

void PictureWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit tapped();
}
