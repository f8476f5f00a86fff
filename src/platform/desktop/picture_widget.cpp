// picture_widget.cpp: the display on screen, as a person holding the handheld sees it.
//
// Portrait shows the 240 x 320 surface as it is; the rotated layout shows it turned a quarter
// turn back, so the C64 picture reads upright at its full 320 pixels. The picture is scaled by a
// whole factor without smoothing. A left click is the handheld's tap on the screen.
// Called by: the desktop window, which refreshes it from a timer on the application thread.
#include "platform/desktop/picture_widget.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/display.h"
#include "video/presentation.h"

PictureWidget::PictureWidget(int scale, QWidget* parent) : QWidget(parent), scale_(scale) {
  setFocusPolicy(Qt::NoFocus);
  picture_ = QImage(kDisplayWidth, kDisplayHeight, QImage::Format_RGB16);
  picture_.fill(Qt::black);
  setFixedSize(picture_.size() * scale_);
}

void PictureWidget::Refresh() {
  const bool landscape = landscapeMode.load() != 0;
  if (landscape != landscape_) {
    landscape_ = landscape;
    picture_ = landscape ? QImage(kDisplayHeight, kDisplayWidth, QImage::Format_RGB16)
                         : QImage(kDisplayWidth, kDisplayHeight, QImage::Format_RGB16);
    picture_.fill(Qt::black);
    setFixedSize(picture_.size() * scale_);
    shownFrame_ = 0;
  }
  // Rows of a QImage are padded to 4 bytes; 240 and 320 pixels of 2 bytes need no padding.
  const uint32_t frame = CopyLatestPicture(landscape_, reinterpret_cast<uint16_t*>(picture_.bits()));
  if (frame != shownFrame_) {
    shownFrame_ = frame;
    update();
  }
}

void PictureWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(rect(), picture_);
}

void PictureWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit tapped();
}
