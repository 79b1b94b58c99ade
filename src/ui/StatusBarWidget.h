#pragma once
// The status bar sb1: six sunken panels of the model's widths and alignments. The panels keep their
// widths; their font is the window's, made smaller where needed so that the usual texts fit (a
// picture size of five digits by five, " Cache 999", "24 bit"). A text that still does not fit ends
// in "…", and the pointer over its panel shows it whole; elsewhere the bar's tooltip is its hint
// (the current file's full path). A press anywhere hands its x position to the core.

#include <QWidget>
#include <array>
#include <functional>

#include "shell/FormControls.h"
#include "shell/InputTypes.h"

namespace mv {

inline constexpr int kStatusBarHeight = 19;

class StatusBarWidget : public QWidget {
 public:
  StatusBarWidget(std::function<void(int x, MouseButton button)> pressed, QWidget* parent);
  void Show(const FormControls& controls);
  const std::array<StatusPanel, 6>& Panels() const { return panels_; }

  // The font of the panels' texts.
  const QFont& PanelFont() const { return panelFont_; }
  // Panel i's text as drawn: whole, or cut short with "…".
  QString ShownText(std::size_t panel) const;
  // What the pointer at `position` shows: a cut panel text whole, otherwise the bar's hint.
  QString ToolTipAt(QPoint position) const;

 protected:
  bool event(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  // The panel's frame and the room for its text, in the bar's coordinates.
  QRect PanelFrame(std::size_t panel) const;
  QRect TextRoom(std::size_t panel) const;
  void ChooseFont();

  std::function<void(int, MouseButton)> pressed_;
  std::array<StatusPanel, 6> panels_;
  QFont panelFont_;
};

}  // namespace mv
