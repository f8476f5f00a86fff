// picture_widget.h: the emulator's picture shown in the desktop window, in one of three views.
#pragma once

#include <QImage>
#include <QWidget>
#include <vector>

enum class PictureView { FullPicture, HandheldPortrait, HandheldRotated };

inline constexpr int kBorderPixels = 32;  // the border shown around the Full picture, each side
inline constexpr int kMinScale = 1;
inline constexpr int kMaxScale = 4;

class PictureWidget : public QWidget {
  Q_OBJECT

 public:
  explicit PictureWidget(int scale, QWidget* parent = nullptr);

  void SetView(PictureView view);
  PictureView View() const { return view_; }
  void SetScale(int scale);  // clamped to 1-4
  int Scale() const { return scale_; }
  // Full screen: the widget takes any size and shows the picture as large as fits, aspect kept,
  // black around it. Otherwise it is the picture's size times the scale.
  void SetFillsScreen(bool fills);

  // Takes the newest frame, if there is one, in the current view, and repaints.
  void Refresh();
  // The current view's picture at the window's scale, as shown.
  QImage ShownImage() const;
  // Where the picture lies inside the widget.
  QRect PictureRect() const;

 signals:
  void tapped();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void Resize();
  bool TakeFullPicture();

  PictureView view_ = PictureView::FullPicture;
  int scale_;
  bool fillsScreen_ = false;
  QImage picture_;
  std::vector<uint8_t> indices_;
  uint32_t shownFrame_ = 0;
};
