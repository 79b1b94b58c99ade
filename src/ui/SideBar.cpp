#include "ui/SideBar.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>

#include "ui/BarButtons.h"

namespace mv {

namespace {

QColor ToQColor(ColorRef color) {
  return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

}  // namespace

ColorPanelWidget::ColorPanelWidget(const ColorPanel& model, std::function<void()> clicked, QWidget* parent)
    : QWidget(parent), color_(ToQColor(model.color)), clicked_(std::move(clicked)) {
  setObjectName(QString::fromStdString(model.name));
  setToolTip(QString::fromStdString(model.hint));
  setGeometry(model.position.x, model.position.y, SideBar::kPanelSize, SideBar::kPanelSize);
}

void ColorPanelWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), color_);
  painter.setPen(QColor(0x80, 0x80, 0x80));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ColorPanelWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && clicked_) clicked_();
}

SideBar::SideBar(const FormControls& controls, std::function<void(const std::string&)> clicked,
                 QWidget* parent)
    : QWidget(parent) {
  setObjectName("pn2");
  setFixedWidth(kSideBarWidth);
  int top = kButtonTop;
  for (const BarButton& model : controls.pn2) {
    QToolButton* button = MakeBarButton(model, *this);
    button->move(kButtonLeft, top);
    top += kButtonPitch;
    const std::string name = model.name;
    connect(button, &QToolButton::clicked, this, [clicked, name] { clicked(name); });
    buttons_.push_back(button);
  }
  label2_ = new QLabel("線", this);
  label2_->setObjectName("Label2");
  label2_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  label2_->setGeometry(0, kLabel2Top, kSideBarWidth, 13);
  for (const ColorPanel& panel : controls.colorPanels) {
    const std::string name = panel.name;
    new ColorPanelWidget(
        panel, [clicked, name] { clicked(name); }, this);
  }
  // The panels and the buttons reach this far; below it the bar is empty.
  setMinimumHeight(controls.colorPanels.back().position.y + kPanelSize + 2);
  Show(controls);
}

void SideBar::Show(const FormControls& controls) {
  setVisible(controls.pn2Visible);
  QPalette palette = label2_->palette();
  palette.setColor(QPalette::WindowText, ToQColor(controls.label2Color));
  label2_->setPalette(palette);
  for (std::size_t i = 0; i < buttons_.size() && i < controls.pn2.size(); ++i)
    ShowBarButton(controls.pn2[i], *buttons_[i]);
}

}  // namespace mv
