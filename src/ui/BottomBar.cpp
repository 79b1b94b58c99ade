#include "ui/BottomBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

#include "ui/BarButtons.h"

namespace mv {

BottomBar::BottomBar(const FormControls& controls, std::function<void(const std::string&)> clicked,
                     QWidget* parent)
    : QWidget(parent) {
  setObjectName("pn1");
  setFixedHeight(kBottomBarHeight);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(6, 0, 1, 0);
  layout->setSpacing(0);

  label1_ = new QLabel(this);
  label1_->setObjectName("Label1");
  label1_->setTextFormat(Qt::PlainText);
  // A long message is cut at the buttons rather than widening the window.
  label1_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  layout->addWidget(label1_, 1);

  for (const BarButton& model : controls.pn1) {
    QToolButton* button = MakeBarButton(model, *this);
    const std::string name = model.name;
    connect(button, &QToolButton::clicked, this, [clicked, name] { clicked(name); });
    layout->addWidget(button);
    buttons_.push_back(button);
  }
  Show(controls);
}

void BottomBar::Show(const FormControls& controls) {
  setVisible(controls.pn1Visible);
  label1_->setText(QString::fromStdString(controls.label1));
  for (std::size_t i = 0; i < buttons_.size() && i < controls.pn1.size(); ++i)
    ShowBarButton(controls.pn1[i], *buttons_[i]);
}

}  // namespace mv
