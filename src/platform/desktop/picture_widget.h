// picture_widget.h: the display surface shown in the desktop window.
#pragma once

#include <QImage>
#include <QWidget>

class PictureWidget : public QWidget {
  Q_OBJECT

 public:
  explicit PictureWidget(int scale, QWidget* parent = nullptr);

  // Takes the newest presented frame, if there is one, in the current layout, and repaints.
  void Refresh();

 signals:
  void tapped();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  int scale_;
  QImage picture_;
  bool landscape_ = false;
  uint32_t shownFrame_ = 0;
};
